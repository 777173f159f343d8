// The record of closed trades beside the position file: a CSV file in UTF-8 with a byte-order
// mark and a header line, so that a spreadsheet opens it, one closed position per line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "marketdata/installation_paths.h"

namespace zepa {

struct ClosedLeg {
    char marketLetter = 0;
    int32_t stockCode = 0;
    std::string name;       // UTF-8
    int32_t entryDate = 0;  // YYYYMMDD
    int64_t quantity = 0;
    int64_t entryPrice = 0;  // yen per share
    int64_t exitPrice = 0;
    int64_t profit = 0;  // yen
};

struct ClosedTrade {
    int32_t closeDate = 0;  // YYYYMMDD
    ClosedLeg buy;
    ClosedLeg sell;
    int64_t profit = 0;  // yen, the position's realised profit
    std::string note;    // UTF-8
    // Margin interest and 貸株料 to the exit, and the profit after them, in yen; absent in the
    // lines recorded before they were kept.
    std::optional<int64_t> carry;
    std::optional<int64_t> net;
};

// <ZEPAWIN>/CLOSED.CSV
std::string closedTradesPath(const InstallationPaths& paths);

// The header line's cells, UTF-8.
const std::vector<std::string>& closedTradeHeader();

// One line of the file, CR LF at its end.
std::string closedTradeLine(const ClosedTrade& trade);

// Same legs, entry dates, quantities and close date: the same trade recorded twice.
bool sameClosedTrade(const ClosedTrade& a, const ClosedTrade& b);

struct ClosedTradesFile {
    std::vector<ClosedTrade> trades;
    std::vector<int> badLines;  // line numbers (from 1) that could not be read
};

// Reads the file's text; a line that is not a record is listed, never fatal.
ClosedTradesFile parseClosedTrades(std::string_view bytes);

// Reads the file; a missing file is an empty record. False when it exists and cannot be read.
bool readClosedTrades(const std::string& path, ClosedTradesFile& file,
                      std::string* bytes = nullptr);

// Appends the trade, durably (the whole file written anew beside it and renamed over it),
// unless the same trade is already there. False with a message when it could not write.
bool appendClosedTrade(const std::string& path, const ClosedTrade& trade, bool* alreadyThere,
                       std::string& message);

// Totals per month (YYYYMM), per year (YYYY) and overall, by close date.
struct ProfitTotal {
    int32_t period = 0;  // YYYYMM, YYYY, or 0 for the whole
    int64_t profit = 0;
    int trades = 0;
};
struct ClosedTotals {
    std::vector<ProfitTotal> months;  // oldest first
    std::vector<ProfitTotal> years;
    ProfitTotal overall;
};
ClosedTotals closedTotals(const std::vector<ClosedTrade>& trades);

}  // namespace zepa
