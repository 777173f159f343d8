// The window "建玉一覧" as a table of texts: one row a position, in the order the header's sort
// asks for, then the totals; which cells are losses; which position a row shows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "positions/closed_trades_table.h"
#include "positions/position_overview.h"

namespace zepa {

enum class OverviewColumn {
    Buy,
    Sell,
    EntryDate,
    DaysHeld,
    Deadline,
    DaysLeft,
    Profit,
    DayChange,
    ProfitRate,
    Carry,
    Net,
    Z,
    Correlation,
    HalfLife,
    Signals,
};
inline constexpr int kOverviewColumnCount = 15;

// The rows' order: file order for column -1; else by the column's value, ascending or
// descending, rows without a value last either way, ties in file order.
std::vector<size_t> overviewOrder(const PositionOverview& overview, int column, bool descending);

// The rows in `order`, then the totals row.
TextTable overviewTable(const PositionOverview& overview, const std::vector<size_t>& order);

// True where the cell shows a loss (a negative profit, change or rate): drawn in the falling
// candle's colour. `row` indexes the table: past the positions it is the totals row.
bool overviewLossCell(const PositionOverview& overview, const std::vector<size_t>& order,
                      size_t row, int column);

// Figures line up on the right.
bool overviewRightAligned(int column);

// A cell of overviewTable as the window shows it: the yen figures (損益, 前日比, 金利・貸株料,
// 実質損益, the totals' too) grouped by thousands as in the other tables ("-12,345"); copied
// and saved, the table keeps them plain for spreadsheets.
std::string overviewShownCell(const std::string& cell, size_t column);

// The position (index into the position table) a table row shows; -1 for the totals row.
int overviewPositionOfRow(const std::vector<size_t>& order, size_t row);

// Losses are drawn in the buy leg's falling-candle colour.
inline constexpr int kOverviewLossColor = 90;

inline constexpr const char* kOverviewTitle = "建玉一覧";
inline constexpr const char* kOverviewFileName = "建玉一覧.csv";

}  // namespace zepa
