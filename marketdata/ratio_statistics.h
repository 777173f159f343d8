// The pair's price ratio and the statistics a spread trader judges it by: the rolling mean and
// standard deviation of its log, the z-score, the correlation of the legs' returns and the
// half-life of the ratio's mean reversion. Taken on ln r, so that swapping the legs only flips
// the sign of z (ln(b / a) = -ln(a / b)) and leaves the half-life as it is. Computed once per
// series build, read by the chart, the data window and the status bar.
#pragma once

#include <cstdint>
#include <vector>

#include "marketdata/pair_series.h"

namespace zepa {

// One date slot. A value is valid only where its flag says so.
struct RatioSlot {
    double ratio = 0.0;  // buy close / sell close, both split-adjusted
    double mean = 0.0;   // of ln(ratio) over the period ending here
    // Population standard deviation of ln(ratio) over the same slots: the ratio's ±kσ bands
    // stand at exp(mean ± k deviation).
    double deviation = 0.0;
    double z = 0.0;            // (ln(ratio) - mean) / deviation
    double correlation = 0.0;  // of the two legs' log returns over the period
    double halfLife = 0.0;     // bars for a deviation of ln(ratio) from its mean to halve
    bool hasRatio = false;
    bool hasMean = false;  // mean and deviation
    bool hasZ = false;
    bool hasCorrelation = false;
    bool hasHalfLife = false;
};

struct RatioStatistics {
    int32_t period = 0;            // bars of every window
    std::vector<RatioSlot> slots;  // one per date slot of the series
};

// Fills `out` from the two legs of `series` (whose bar arrays are of equal length). A slot's
// statistics need a ratio in all `period` slots ending at it (a period below 2 counts as 2,
// the fewest that hold a return). 1 on success; -1 when memory runs
// short, leaving `out` without slots.
int computeRatioStatistics(const SpreadSeries& series, int32_t period, RatioStatistics& out);

}  // namespace zepa
