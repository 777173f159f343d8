// The backtest of the pairs a screen lists: each pair's ratio a / b (a the regressed stock)
// traded by the rule over the last years up to the screen's end, on the legs the ratio chart
// draws, and the pairs ranked by the statistics.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "marketdata/correction_list.h"
#include "marketdata/price_database.h"
#include "screen/backtest_batch.h"
#include "screen/backtest_rule.h"
#include "screen/backtest_stats.h"
#include "screen/screen_market.h"
#include "screen/screen_run.h"

namespace zepa {

inline constexpr int kMinBacktestYears = 1;
inline constexpr int kMaxBacktestYears = 50;

// The first date of a backtest of `years` years ending at `end` (YYYYMMDD): the same month and
// day that many years before, 29 February taking the 28th in a year without it.
int32_t backtestStartOf(int32_t end, int years);

// Backtests every pair of `result` over the dates from backtestStartOf(the market's end date,
// years) to that end date, with the rule's levels, costs and ratio period (give it the
// screen's); the rule's own dates are ignored. The z of the first dates takes the closes before
// them. The listed stocks are read again from `md` (the installation the market was loaded
// from), each once, as the ratio chart reads them, so each pair's statistics are those of
// runBacktest on the pair's series. `out` gets one entry per pair, in the same order.
// 1; 0 when a listed stock cannot be read (md.dataError says why when the data is at fault);
// -1 when memory runs short.
int backtestScreenPairs(MarketData& md, const CorrectionList& corrections,
                        const ScreenMarket& market, const ScreenResult& result,
                        const BacktestRule& rule, int years, std::vector<BacktestStats>& out);

// The batch that backtestScreenPairs runs once the legs are read: the pairs over the dates from
// backtestStartOf(the date of endSlot, years) to it. Return values as runBacktestBatch's.
int runScreenBacktest(std::span<const BacktestLeg> legs, std::span<const BacktestPairIndex> pairs,
                      const BacktestCalendar& calendar, int32_t endSlot, const BacktestRule& rule,
                      int years, int threads, std::span<BacktestStats> out);

// The statistics a screen can be ranked by, each in the direction that puts the better pair
// first.
enum class BacktestColumn {
    Trades,          // more first
    Wins,            // more first
    WinRate,         // higher first
    Net,             // higher first
    Gross,           // higher first
    Costs,           // lower first
    AverageNet,      // higher first
    ProfitFactor,    // higher first; wins without a loss before every finite one
    AverageHolding,  // shorter first
    MedianHolding,   // shorter first
    LargestWin,      // larger first
    LargestLoss,     // the smaller loss first, no loss best
    MaxDrawdown,     // smaller first
    TargetExits,     // more first
    StopExits,       // fewer first
    TimeExits,       // fewer first
};

// The column's name as the stats spell it ("net", "exits.target"), without "backtest.".
std::string_view backtestColumnName(BacktestColumn column);
std::optional<BacktestColumn> backtestColumnNamed(std::string_view name);
// Every column in the order above.
std::vector<BacktestColumn> backtestColumns();

// -1 when x ranks before y by the column, 1 after, 0 when equal. A pair without closed trades
// ranks after every pair with some, by every column but Trades.
int compareBacktest(BacktestColumn column, const BacktestStats& x, const BacktestStats& y);

// Orders the result's pairs with their statistics by the column, ties by the screen's ranking
// by p, and keeps the best `top`.
void rankByBacktest(const ScreenMarket& market, BacktestColumn column, ScreenResult& result,
                    std::vector<BacktestStats>& stats, size_t top);

}  // namespace zepa
