// The z of a pair as the viewer's ratio chart shows it: the viewer's own series build and ratio
// statistics, for the few pairs a screen lists.
#pragma once

#include <cstdint>
#include <optional>

#include "marketdata/correction_list.h"
#include "marketdata/price_database.h"
#include "screen/screen_market.h"

namespace zepa {

// The ratio chart's z of a / b (a bought, b sold) for `period` at slot `slot` of the date axis;
// none where the chart shows none or the pair's series cannot be built.
std::optional<double> chartRatioZ(MarketData& md, const CorrectionList& corrections,
                                  const ScreenStock& a, const ScreenStock& b, int32_t period,
                                  int32_t slot);

}  // namespace zepa
