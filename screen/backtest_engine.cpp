#include "screen/backtest_engine.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "screen/backtest_machine.h"
#include "screen/backtest_z.h"

namespace zepa {

int prepareBacktestWorkspace(BacktestWorkspace& ws, int32_t slotCount) {
    const auto n = static_cast<size_t>(std::max(slotCount, 0));
    try {
        if (ws.z.size() < n) {
            ws.z.resize(n);
            ws.parts.resize(n);
        }
        // A trade takes two slots at least: this many never have to grow.
        ws.trades.reserve(n / 2 + 1);
        ws.holdings.reserve(n / 2 + 1);
    } catch (const std::bad_alloc&) {
        ws = BacktestWorkspace{};
        return -1;
    }
    return 1;
}

BacktestRange backtestRange(const BacktestCalendar& calendar, const BacktestRule& rule,
                            int32_t slotCount) {
    BacktestRange range;
    const int32_t count = std::min(slotCount, static_cast<int32_t>(calendar.dates.size()));
    range.first = count;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t date = calendar.dates[static_cast<size_t>(i)];
        if (date >= rule.startDate && range.first == count) {
            range.first = i;
        }
        if (date <= rule.endDate) {
            range.last = i;
        }
    }
    return range;
}

namespace {

// What both runs check first: 1 with the workspace ready for the pair; 0 when the pair has more
// slots than the calendar; -1 when memory runs short.
int prepareRun(const BacktestPair& pair, const BacktestCalendar& calendar, BacktestWorkspace& ws,
               BacktestStats& stats) {
    stats = BacktestStats{};
    ws.trades.clear();
    if (pair.slotCount > static_cast<int32_t>(calendar.dates.size()) ||
        calendar.days.size() != calendar.dates.size()) {
        return 0;
    }
    return prepareBacktestWorkspace(ws, pair.slotCount);
}

// The rule over the range, with the workspace prepared and nothing checked.
void simulateBacktestRange(const BacktestPair& pair, const double* z,
                           const BacktestCalendar& calendar, const BacktestRule& rule,
                           BacktestRange range, BacktestWorkspace& ws, BacktestStats& stats) {
    ws.trades.clear();
    RuleMachine machine(pair, calendar, rule, ws.trades);
    for (int32_t i = range.first; i <= range.last; ++i) {
        machine.step(i, !std::isnan(z[i]), KnownZ{z[i]});
    }
    machine.finish(range.last);
    computeBacktestStats(ws.trades.data(), ws.trades.size(), ws.holdings, stats);
}

}  // namespace

int simulateBacktest(const BacktestPair& pair, const double* z, const BacktestCalendar& calendar,
                     const BacktestRule& rule, BacktestWorkspace& ws, BacktestStats& stats) {
    if (const int ready = prepareRun(pair, calendar, ws, stats); ready != 1) {
        return ready;
    }
    simulateBacktestRange(pair, z, calendar, rule, backtestRange(calendar, rule, pair.slotCount),
                          ws, stats);
    return 1;
}

int runBacktest(const BacktestPair& pair, const BacktestCalendar& calendar,
                const BacktestRule& rule, BacktestWorkspace& ws, BacktestStats& stats) {
    if (const int ready = prepareRun(pair, calendar, ws, stats); ready != 1) {
        return ready;
    }
    const BacktestRange range = backtestRange(calendar, rule, pair.slotCount);
    computeBacktestZ(pair, rule.ratioPeriod, range.last + 1, ws.z.data());
    simulateBacktestRange(pair, ws.z.data(), calendar, rule, range, ws, stats);
    return 1;
}

}  // namespace zepa
