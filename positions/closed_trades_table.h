// The window of closed trades as a table of texts: one row per trade, then the totals per
// month, per year and overall; copied as tab-separated text and saved as CSV like the data
// windows.
#pragma once

#include <string>
#include <vector>

#include "positions/closed_trades.h"

namespace zepa {

struct TextTable {
    std::vector<std::string> header;  // UTF-8
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> totalRows;  // per row: a total rather than a trade
};

TextTable closedTradesTable(const std::vector<ClosedTrade>& trades);

// What the window shows of the record at `path`: its table, and what could not be read (a line
// each, naming the file and the line; empty when all was read).
struct ClosedTradesView {
    TextTable table;
    std::string problems;
};
ClosedTradesView readClosedTradesView(const std::string& path);

// A cell of closedTradesTable as the window shows it: the figures grouped by thousands as in
// the other tables ("-12,345"); copied and saved, the table keeps them plain.
std::string closedTradesShownCell(const std::string& cell, size_t column);

// Tab-separated, LF line ends, UTF-8.
std::string textTableTsv(const TextTable& table);
// UTF-8 with a byte-order mark, CR LF, cells quoted where needed.
std::string textTableCsv(const TextTable& table);

inline constexpr const char* kClosedTradesTitle = "決済済み";
inline constexpr const char* kClosedTradesFileName = "決済済み.csv";

}  // namespace zepa
