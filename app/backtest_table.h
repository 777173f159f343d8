// The 検証 data window's rows: the trades the chart marks, one a row, and their statistics in
// one line, as plain text both shells show.
#pragma once

#include <string>
#include <vector>

#include "app/pair_candidate.h"
#include "positions/closed_trades_table.h"
#include "screen/backtest_stats.h"
#include "screen/backtest_trade.h"

namespace zepa {

inline constexpr const char* kBacktestTitle = "検証";
inline constexpr const char* kBacktestFileName = "検証.csv";
// The stats line when the chart shows no trades.
inline constexpr const char* kNoBacktestText =
    "検証なし (ペア検索で「検証も計算」、または設定で「検証を表示」にして日足で表示)";

// "仕掛け日", "決済日", "方向", "決済", "保有", "純損益", "累計", UTF-8.
std::vector<std::string> backtestTradeHeaders();
// The cells of each trade; `cumulative` carries the running sum of the closed trades' nets.
// Direction: "買い" when the chart's buy leg was bought, else "売り".
std::vector<std::string> backtestTradeCells(const BacktestTrade& trade, int64_t& cumulative);
// "取引 8回  勝率 62.5%  純損益 123,456円  PF 1.85  最大DD 45,678円  平均保有 11.3本" and the open
// trade where there is one.
std::string backtestStatsLine(const BacktestStats& stats);

// What the window shows of `shown`: the header and a row a trade (none when there is no
// backtest), copied as tab-separated text and saved as CSV; the line above it.
TextTable backtestTable(const ShownBacktest& shown);
std::string backtestSummary(const ShownBacktest& shown);

}  // namespace zepa
