// The ratio-rule backtest of one pair: signals from the z at each close, fills at the next open
// or the same close, the trades' profits as the viewer measures a position across splits, and
// the costs of margin trading. Nothing is allocated per date; a workspace carries the scratch
// arrays from one pair to the next.
#pragma once

#include <cstdint>
#include <vector>

#include "screen/backtest_calendar.h"
#include "screen/backtest_rule.h"
#include "screen/backtest_slots.h"
#include "screen/backtest_stats.h"
#include "screen/backtest_trade.h"
#include "screen/backtest_z.h"

namespace zepa {

struct BacktestWorkspace {
    std::vector<double> z;              // the last run's z per slot, NaN where none
    std::vector<ZParts> parts;          // the batch's z per slot, in parts
    std::vector<BacktestTrade> trades;  // the last run's trades; an open one last
    std::vector<int32_t> holdings;
};

// Sizes the workspace for pairs of up to slotCount slots. 1, or -1 when memory runs short.
int prepareBacktestWorkspace(BacktestWorkspace& ws, int32_t slotCount);

// The slots a run covers: signals from `first` (the first date on or after the rule's start)
// to `last` (the last date on or before its end); last < first when none.
struct BacktestRange {
    int32_t first = 0;
    int32_t last = -1;
};
BacktestRange backtestRange(const BacktestCalendar& calendar, const BacktestRule& rule,
                            int32_t slotCount);

// Simulates the rule over the pair with the given z per slot (NaN: no z), for callers that hold
// the ratio chart's statistics already. Trades go to ws.trades, their statistics to `stats`.
// 1; 0 when the pair has more slots than the calendar; -1 when memory runs short.
int simulateBacktest(const BacktestPair& pair, const double* z, const BacktestCalendar& calendar,
                     const BacktestRule& rule, BacktestWorkspace& ws, BacktestStats& stats);

// The same with the z computed as the ratio chart computes it (into ws.z).
int runBacktest(const BacktestPair& pair, const BacktestCalendar& calendar,
                const BacktestRule& rule, BacktestWorkspace& ws, BacktestStats& stats);

}  // namespace zepa
