// Adding, changing and removing one line of the trader's position file while every other line
// keeps its bytes: comments, blank lines, lines the reader skips, their order and line ends.
// A write goes through a temporary file and a rename, and only when the file is still the one
// that was read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "marketdata/position_file.h"

namespace zepa {

// What the file was when it was read: its size, time and bytes.
struct PositionFileSnapshot {
    std::string path;
    bool exists = false;
    uint64_t size = 0;
    int64_t time = 0;  // last write time, in the file system's own ticks
    std::string bytes;
};

// A position file is a few kilobytes; one beyond this is not read, so that a hostile file
// cannot take the memory.
inline constexpr uint64_t kMaxPositionFileBytes = uint64_t{64} << 20;

// Reads the file whole; false (and exists = false) when it cannot be read or is beyond the
// limit.
bool takePositionSnapshot(const std::string& path, PositionFileSnapshot& snapshot);

// True when the file on disk still has the snapshot's size, time and bytes.
bool positionFileUnchanged(const PositionFileSnapshot& snapshot);

// A position the reader takes from the bytes, with the physical line (counted from 0, LF
// ending a line) it starts on.
struct ScannedPosition {
    PositionRecord record;
    size_t line = 0;
};

// The positions the reader would take from these bytes, in order, as readPositionFile reads a
// file: CR LF as LF, Ctrl+Z ends the text, pieces of at most 199 characters, 5,000 at most.
std::vector<ScannedPosition> scanPositionBytes(std::string_view bytes);

enum class PositionEditKind { Add, Change, Remove };

struct PositionEdit {
    PositionEditKind kind = PositionEditKind::Add;
    int position = -1;      // Change and Remove: the position's number, from 0
    PositionRecord record;  // Add and Change: the new position; its legs must fit a line
};

struct PositionEditOutcome {
    bool ok = false;
    std::string message;  // UTF-8, why it was refused
    std::string bytes;    // the new file, when ok
    int position = -1;    // the number of the added or changed position in the new file
};

// The file's new bytes: only the edited line differs (an added line also gives a last line
// without a line end the file's own line end). Refused when the result would not read back as
// the edit says, for instance a position on a line longer than the reader's pieces.
PositionEditOutcome editPositionBytes(std::string_view bytes, const PositionEdit& edit);

// The edit written over the snapshot's file, durably, when the file is unchanged since the
// snapshot; the message says why nothing was written otherwise.
PositionEditOutcome writePositionEdit(const PositionFileSnapshot& snapshot,
                                      const PositionEdit& edit);

// "建玉 7 はありません（建玉は 3 件です）", UTF-8.
std::string noSuchPositionMessage(int position, size_t count);

// The message when the file on disk is no longer the one that was read, UTF-8.
std::string positionFileChangedMessage();

}  // namespace zepa
