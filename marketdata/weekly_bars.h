// Daily entries of a stock series turned into weekly entries, Saturday to Friday.
#pragma once

#include "marketdata/packed_date.h"
#include "marketdata/price_database.h"

namespace zepa {

// Week of the year of a date: changes between Friday and Saturday, restarts every year.
int weekNumber(PackedDate date);

// Rewrites the series in place: date and open of the first day, highest high, lowest low,
// close of the last day, volumes in tens, largest adjustment.
void aggregateWeekly(StockSeries& series);

}  // namespace zepa
