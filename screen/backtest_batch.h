// The backtest of many pairs over one universe of legs, on all cores: each thread runs whole
// pairs with its own workspace, so the pairs' results are those of runBacktest one by one.
#pragma once

#include <cstdint>
#include <span>

#include "screen/backtest_engine.h"

namespace zepa {

struct BacktestPairIndex {
    int32_t a = 0;  // indices into the legs; the ratio is a / b
    int32_t b = 0;
};

// Runs every pair over the first slotCount slots of its legs and writes its statistics to the
// same index of `out` (sized like `pairs`). threads <= 0 uses every core. 1; 0 when an index is
// outside `legs`, `out` is too small or the calendar is shorter than slotCount; -1 when memory
// runs short.
int runBacktestBatch(std::span<const BacktestLeg> legs, std::span<const BacktestPairIndex> pairs,
                     int32_t slotCount, const BacktestCalendar& calendar, const BacktestRule& rule,
                     int threads, std::span<BacktestStats> out);

}  // namespace zepa
