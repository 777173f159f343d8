// What the importer reads, decides and reports: its options, one price row, the messages of a
// run and the summary of what it wrote.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zepa {

inline constexpr int kExitImported = 0;
inline constexpr int kExitInputError = 1;  // a bad row, a refusal, a failed write
inline constexpr int kExitUsage = 2;

// --split CODE:DATE:RATIO, a 1:RATIO split on DATE.
struct SplitOption {
    int32_t code = 0;
    int32_t date = 0;  // YYYYMMDD
    uint16_t adjustment = 0;
    std::string text;  // as given, for messages
};

// An input already in memory (a page the web client fetched), named in messages by `name`.
struct InputText {
    std::string name;
    std::string text;
};

struct ImportOptions {
    std::string root = ".";  // holds ZEPAWIN/
    char market = 'T';
    std::string namesFile;
    std::optional<int32_t> code;
    std::vector<SplitOption> splits;
    bool skipBadRows = false;
    bool dryRun = false;
    bool json = false;
    std::vector<std::string> files;
    // Price inputs read after the files, and names given as text instead of namesFile.
    std::vector<InputText> texts;
    std::optional<InputText> namesText;
};

// One traded day of one stock, as it will be stored.
struct PriceRow {
    int32_t code = 0;  // 1..99,999
    int32_t date = 0;  // YYYYMMDD
    int32_t open = 0;
    int32_t high = 0;
    int32_t low = 0;
    int32_t close = 0;
    int64_t volume = 0;
    uint16_t adjustment = 0;  // percent; 0 = none
    uint32_t source = 0;      // index of the input file
    uint32_t line = 0;        // 1-based
};

// Counts kept per calendar year, and for the run as a whole.
struct RowCounts {
    int64_t added = 0;
    int64_t replaced = 0;
    int64_t pricesRounded = 0;
    int64_t volumesCapped = 0;
    int64_t skippedNoPrices = 0;  // holidays, suspensions: empty or null prices
    int64_t skippedCode = 0;      // codes the position file cannot hold
    int64_t skippedBad = 0;       // bad rows let through by --skip-bad-rows
    int64_t duplicates = 0;       // the same row given twice
};

struct WrittenFile {
    std::string name;  // DBW.YYYY
    int year = 0;
    bool existed = false;
    int stocks = 0;
    int dates = 0;
    RowCounts counts;
};

struct ImportReport {
    std::vector<std::string> errors;    // "FILE:LINE: what"
    std::vector<std::string> warnings;  // the same form
    int64_t suppressedErrors = 0;       // beyond the ones kept
    std::vector<WrittenFile> files;     // in year order
    RowCounts total;
    int64_t rowsRead = 0;
    std::map<std::string, int64_t> skippedCodes;  // code text -> rows
    bool positionTemplateWritten = false;
    // ZEPAWIN/LISTING.CSV, when the names file has listing columns: written (or, on a dry run,
    // would be), with this many stocks, this many of them from the names file.
    bool listingWritten = false;
    int64_t listingStocks = 0;
    int64_t listingGiven = 0;
    bool dryRun = false;
};

inline constexpr size_t kMaxReportedErrors = 50;

}  // namespace zepa
