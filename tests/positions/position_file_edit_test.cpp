// Editing one line of the position file: everything else kept byte for byte, a file changed
// meanwhile left alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "positions/position_file_edit.h"
#include "positions/position_line.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

PositionRecord pair(int32_t buyCode, int32_t sellCode, int32_t quantity = 100) {
    PositionLeg b = leg('T', buyCode, 250401);
    PositionLeg s = leg('T', sellCode, 250401);
    b.quantity = s.quantity = quantity;
    return recordAsRead(PositionRecord{b, s});
}

PositionEdit add(const PositionRecord& r) {
    return PositionEdit{PositionEditKind::Add, -1, r};
}
PositionEdit change(int n, const PositionRecord& r) {
    return PositionEdit{PositionEditKind::Change, n, r};
}
PositionEdit removal(int n) {
    return PositionEdit{PositionEditKind::Remove, n, {}};
}

std::string edited(std::string_view bytes, const PositionEdit& e) {
    const PositionEditOutcome out = editPositionBytes(bytes, e);
    EXPECT_TRUE(out.ok) << out.message;
    return out.bytes;
}

const std::string kA = "T1111    A         250401    100       T2222    B         250401    100";
const std::string kC = "T3333    C         250401    100       T4444    D         250401    100";

TEST(PositionFileEdit, EveryOtherLineKeepsItsBytesAndLineEnd) {
    // Comments, a blank line, a skipped line, a line of spaces, mixed line ends, no final line
    // end.
    const std::string before = "# header\r\n\r\n" + kA + "\r\n   \n  skipped\r\n" + kC;
    const std::string line = formatPositionLine(pair(5555, 6666));
    EXPECT_EQ(edited(before, change(1, pair(5555, 6666))),
              "# header\r\n\r\n" + kA + "\r\n   \n  skipped\r\n" + line);
    EXPECT_EQ(edited(before, change(0, pair(5555, 6666))),
              "# header\r\n\r\n" + line + "\r\n   \n  skipped\r\n" + kC);
    EXPECT_EQ(edited(before, removal(0)), "# header\r\n\r\n   \n  skipped\r\n" + kC);
    EXPECT_EQ(edited(before, removal(1)), "# header\r\n\r\n" + kA + "\r\n   \n  skipped\r\n");
    // An added line ends the last line first, with the file's own line end.
    EXPECT_EQ(edited(before, add(pair(5555, 6666))), before + "\r\n" + line + "\r\n");
    EXPECT_EQ(edited("# x\n" + kA + "\n", add(pair(5555, 6666))),
              "# x\n" + kA + "\n" + line + "\n");
    EXPECT_EQ(edited("", add(pair(5555, 6666))), line + "\r\n");
    // Ctrl+Z ends what is read: the new line goes before it.
    EXPECT_EQ(edited(kA + "\r\n\x1A", add(pair(5555, 6666))), kA + "\r\n" + line + "\r\n\x1A");
}

TEST(PositionFileEdit, ScanningFindsThePositionsTheReaderReads) {
    TempInstallation t;
    const std::string bytes = "#c\r\n" + kA + "\r\n\r\n" + kA + std::string(199 - kA.size(), ' ') +
                              kC + "\n" + kC + "\n" + std::string(250, 'x') + "\n\x1A" + kA;
    TempInstallation::writeText(t.paths.positionFile, bytes);
    PositionTable table;
    readPositionFile(t.paths.positionFile, table, nullptr);
    const std::vector<ScannedPosition> scanned = scanPositionBytes(bytes);
    ASSERT_EQ(static_cast<int>(scanned.size()), table.positionCount);
    for (size_t k = 0; k < scanned.size(); ++k) {
        EXPECT_TRUE(samePosition(scanned[k].record, table.records[k]));
    }
    EXPECT_EQ(column(scanned, &ScannedPosition::line), (std::vector<size_t>{1, 3, 3, 4}));
}

TEST(PositionFileEdit, NumbersThatDoNotExistFullFilesAndAmbiguousLinesAreRefused) {
    // 250 characters: the reader takes pieces of 199, the second of which is a position too.
    const PositionEditOutcome out =
        editPositionBytes(kA + std::string(199 - kA.size(), ' ') + kC + "\n", removal(0));
    EXPECT_NE(out.message.find("テキストエディタ"), std::string::npos);
    EXPECT_FALSE(editPositionBytes(kA, removal(1)).ok);
    EXPECT_FALSE(editPositionBytes(kA, change(-1, pair(1, 2))).ok);
    std::string full;
    for (int i = 0; i < kMaxPositions; ++i) {
        full += kA + "\n";
    }
    EXPECT_FALSE(editPositionBytes(full, add(pair(1, 2))).ok);
    EXPECT_TRUE(editPositionBytes(full, removal(kMaxPositions - 1)).ok);
}

TEST(PositionFileEdit, AFileChangedSinceItWasReadIsNotWritten) {
    TempInstallation t;
    const std::string path = t.paths.positionFile;
    const std::string before = kA + "\n";
    const struct {
        const char* what;
        std::string after;
        bool touchOnly;
    } cases[] = {
        {"content of the same size", kC + "\n", false},
        {"time only", kA + "\n", true},
    };
    for (const auto& c : cases) {
        TempInstallation::writeText(path, before);
        PositionFileSnapshot snapshot;
        ASSERT_TRUE(takePositionSnapshot(path, snapshot));
        if (c.touchOnly) {
            std::filesystem::last_write_time(
                path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
        } else {
            TempInstallation::writeText(path, c.after);
            using Time = std::filesystem::file_time_type;
            std::filesystem::last_write_time(path, Time(Time::duration(snapshot.time)));
        }
        const PositionEditOutcome out = writePositionEdit(snapshot, removal(0));
        EXPECT_FALSE(out.ok) << c.what;
        EXPECT_EQ(out.message, positionFileChangedMessage()) << c.what;
        EXPECT_EQ(TempInstallation::readText(path), c.after) << c.what;
    }
    // Unchanged: written, and nothing left beside it; a write that cannot finish (here no room
    // for the temporary file) leaves the file as it was.
    TempInstallation::writeText(path, before);
    PositionFileSnapshot snapshot;
    ASSERT_TRUE(takePositionSnapshot(path, snapshot));
    std::filesystem::create_directory(path + ".tmp");
    EXPECT_FALSE(writePositionEdit(snapshot, removal(0)).ok);
    EXPECT_EQ(std::filesystem::file_size(path), before.size());
    std::filesystem::remove(path + ".tmp");
    EXPECT_TRUE(writePositionEdit(snapshot, removal(0)).ok);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    // A file beyond any position file's size is not read at all.
    std::filesystem::resize_file(path, kMaxPositionFileBytes + 1);
    EXPECT_FALSE(takePositionSnapshot(path, snapshot));
}

}  // namespace
}  // namespace zepa::test
