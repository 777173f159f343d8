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

// Why a line of the position file that holds both legs cannot be a position. The fields stand
// in fixed columns, so a tab inside one means the line was written for another layout (its
// names would come out garbled); a date or quantity field that is not a plain number (spaces
// aside), such as 2025/01/04 or 1,000, would read as a wrong number (2025, 1). Blank fields,
// signs and the characters between the fields are read as ever.
enum class PositionLineFault { Tab, BuyDate, BuyQuantity, SellDate, SellQuantity };

struct PositionLineProblem {
    int32_t line = 0;  // in the file, from 1
    PositionLineFault fault = PositionLineFault::Tab;
};

struct PositionTable {
    std::vector<PositionRecord> records;  // the first positionCount entries are valid
    int positionCount = 0;
    std::vector<int32_t> lines;  // the file line (from 1) of each of those records
    // The lines left out because they cannot be a position, in file order.
    std::vector<PositionLineProblem> problems;
};

// Reads the file into the table from index 0 and returns positionCount. When the file cannot
// be opened it returns 0, sets *missing and leaves the table as it was; the caller shows
// positionFileMissingMessage.
int readPositionFile(const std::string& path, PositionTable& table, bool* missing);

enum class PositionLineKind { Position, Skipped, Faulty };

// Parses one line (without its line feed). Skipped: a comment, a blank line or a line that
// lacks a leg, as ever without a word; Faulty: *fault says why. The record is written only for
// a position.
PositionLineKind parsePositionLine(std::string_view line, PositionRecord& record,
                                   PositionLineFault* fault = nullptr);

// The lines left out, for the user (UTF-8): one line per problem, at most kListedProblems, then
// how many more; empty when there is none.
inline constexpr size_t kListedProblems = 20;
std::string positionProblemsMessage(const std::vector<PositionLineProblem>& problems);

// "<path>  が、ありません"
std::string positionFileMissingMessage(const std::string& path);

}  // namespace zepa
