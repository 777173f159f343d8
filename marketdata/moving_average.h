// Moving average of the close over p entries, rescaled across price adjustments.
#pragma once

#include <vector>

#include "marketdata/price_database.h"

namespace zepa {

// Fills work[p..length-1] (work holds length zeros on entry) and returns 1; returns -1 and
// leaves work untouched when p <= 0 or the series has p entries or fewer.
int movingAverage(const StockSeries& series, int p, std::vector<float>& work);

}  // namespace zepa
