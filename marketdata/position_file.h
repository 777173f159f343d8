// The trader's hand-edited position file: one spread position per line in fixed columns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zepa {

inline constexpr int kMaxPositions = 5000;

struct PositionLeg {
    char marketLetter[2] = {};  // as written, case kept
    int32_t stockCode = 0;
    // CP932 bytes: spaces removed, cut to 6 bytes, padded with full-width spaces to 5 or 6.
    std::string shortName;
    int32_t entryDate = 0;  // YYMMDD, or 0 when missing or not above 100
    int32_t quantity = 0;   // never negative
};

struct PositionRecord {
    PositionLeg buy;
    PositionLeg sell;
};

struct PositionTable {
    std::vector<PositionRecord> records;  // the first positionCount entries are valid
    int positionCount = 0;
};

// Reads the file into the table from index 0 and returns positionCount. When the file cannot
// be opened it returns 0, sets *missing and leaves the table as it was; the caller shows
// positionFileMissingMessage.
int readPositionFile(const std::string& path, PositionTable& table, bool* missing);

// Parses one line (without its line feed) into a record; false when the line is a comment or
// lacks a leg.
bool parsePositionLine(std::string_view line, PositionRecord& record);

// "<path>  が、ありません"
std::string positionFileMissingMessage(const std::string& path);

}  // namespace zepa
