// The ratio chart's z of a / b without building its statistics: the same sliding moments in the
// same order, so each z is the one the chart shows, at a fraction of the work and no allocation.
#pragma once

#include <cstdint>

#include "screen/backtest_slots.h"

namespace zepa {

// z of slots [0, count) of the pair into `z`, NaN where the chart has none (fewer than
// max(period, 2) ratios in a row, or a flat window). `ratios` holds count values of scratch.
void computeBacktestZ(const BacktestPair& pair, int32_t period, int32_t count, double* z,
                      double* ratios);

}  // namespace zepa
