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
// What the rule leaves out, as the commands say it.
inline constexpr const char* kBacktestNotModelled =
    "計算に入らないもの: 逆日歩と配当の調整 (株価データにないため)";

// "検証  買 T8343 白鷺銀 / 売 T8341 碧浦銀  Z(25本) 仕掛け 2.0 決済 0.0 損切り 3.5 最長 180日
// 翌日始値 1銘柄 1,000,000円  2021/01/04〜2026/12/04": the pair as the chart shows it, the rule
// and the dates it ran over; "検証" alone without trades.
std::string backtestWindowTitle(const ShownBacktest& shown);

// The columns: the dates, the stocks bought and sold, each leg's fill prices and shares, the
// exit, the holding, the gross, each cost, the net and the running sum; UTF-8.
std::vector<std::string> backtestTradeHeaders();
// Whether a column holds figures (aligned right).
bool backtestColumnIsFigure(size_t column);
// The cells of a trade of `shown`'s pair as shown (grouped yen, "24本"), or for spreadsheets
// (`plain`: numbers alone, ISO dates); `cumulative` carries the running sum of the closed
// trades' nets.
std::vector<std::string> backtestTradeCells(const ShownBacktest& shown, const BacktestTrade& trade,
                                            int64_t& cumulative, bool plain = false);
// "取引 8回  勝率 62.5%  純損益 123,456円  PF 1.85  最大DD 45,678円  平均保有 11.3本" and the open
// trade where there is one.
std::string backtestStatsLine(const BacktestStats& stats);

// What the window shows of `shown`: the header and a row a trade (none when there is no
// backtest); `plain` for Ctrl+C and Ctrl+S. The lines above it: the statistics and what the
// rule leaves out.
TextTable backtestTable(const ShownBacktest& shown, bool plain = false);
std::string backtestSummary(const ShownBacktest& shown);

}  // namespace zepa
