// Daily entries of a stock series turned into weekly entries, Saturday to Friday.
#pragma once

#include <cstdint>
#include <vector>

#include "marketdata/packed_date.h"
#include "marketdata/price_database.h"

namespace zepa {

// Week of the year of a date: changes between Friday and Saturday, restarts every year.
int weekNumber(PackedDate date);

// Rewrites the series in place: date and open of the first day, highest high, lowest low,
// close of the last day, volumes in tens, largest adjustment. A week with an ex-date after its
// first day is formed in the basis of its last day: the days before the ex-date count at their
// prices times the adjustment (and their volumes divided by it), so that its high and its close
// never mix the two bases. With lastDayOfWeek, that vector receives, per week, the index of its
// last daily entry.
void aggregateWeekly(StockSeries& series, std::vector<int32_t>* lastDayOfWeek = nullptr);

}  // namespace zepa
