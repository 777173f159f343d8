// What a position made since its entry, measured across stock splits: the shares held at a slot
// are quantity / F(i) and the entry close in that slot's basis is entry close × F(i), F(i) being
// the leg's splits since its entry bar. With no split between the entry and a slot, every figure
// is the one the stored gain gives. The same in both displays: only stored bars are read.
#pragma once

#include <cstdint>

#include "marketdata/pair_series.h"
#include "marketdata/position_file.h"

namespace zepa {

// Profits are kept within this many yen, so that hostile prices give a figure, not overflow.
inline constexpr int64_t kProfitLimit = 1000000000000000;  // 10^15

// The leg's gain per share at slot i in that slot's basis: close - entry close × F(i) for the
// buy leg, the reverse for the sell leg; the stored gain when F(i) is 1. The slot must exist.
double legGainAt(const SpreadSeries& s, Leg leg, int32_t i);

// The change since entry in percent of the close at slot i, rising when the stock rises for the
// buy leg and falling for the sell leg: gain / close × 100, the sell leg × -100. The caller
// makes sure the close is not 0.
double legChangeRate(const SpreadSeries& s, Leg leg, int32_t i);

// The change rate the chart shows at slot i: as legChangeRate, or with `ofEntry` the gain in
// percent of the entry close carried into the slot's basis (entry close × F(i)). False, with
// `rate` untouched, where the divisor is not positive.
bool shownChangeRate(const SpreadSeries& s, Leg leg, int32_t i, bool ofEntry, double& rate);

// The position's profit in yen at slot i: per leg quantity × (close / F(i) - entry close), the
// sell leg's reversed, summed and rounded to the yen once. Both slots must exist.
int64_t positionProfit(const SpreadSeries& s, const PositionRecord& p, int32_t i);

}  // namespace zepa
