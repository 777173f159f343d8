// Stock splits as the price files record them: the adjustment percent on the ex-date bar.
#pragma once

#include <cstdint>
#include <vector>

#include "marketdata/day_bar.h"

namespace zepa {

// One factor per bar: the product of adjustment / 100 over the bars after it, so that
// close(i) * factor(i) is close(i) in the basis of the newest bar. 1.0 where no later bar
// carries a split (an adjustment of 0 or 100 is none) and for the bars before `start`.
std::vector<double> splitBasisFactors(const std::vector<DayBar>& bars, int32_t start);

}  // namespace zepa
