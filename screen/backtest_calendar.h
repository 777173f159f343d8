// The installation's trading calendar as the backtest counts days on it: each date slot's date
// and its day number, and the settlement date of a fill.
#pragma once

#include <cstdint>
#include <vector>

#include "marketdata/price_database.h"

namespace zepa {

struct BacktestCalendar {
    std::vector<int32_t> dates;  // YYYYMMDD per date slot, oldest first
    std::vector<int32_t> days;   // days since 1970-01-01 of the same dates
};

// The calendar of these dates. A date that is no calendar date or lies before the slot before it
// (a damaged file) takes that slot's day, so that no day count runs backwards.
BacktestCalendar makeBacktestCalendar(const std::vector<int32_t>& dates);

// The calendar of the installation's date axis: every file's dates in file order, the slots
// that SpreadSeries bars are aligned to.
BacktestCalendar installationCalendar(const PriceDatabaseSet& set);

// The day of YYYYMMDD, or -1 for a value that is no date.
int32_t backtestDayOf(int32_t date);

// The day a fill at slot `fill` settles: the second date after it on the calendar, counted on
// in weekdays past the calendar's last date. The slot must be on the calendar.
int32_t settlementDay(const BacktestCalendar& calendar, int32_t fill);

}  // namespace zepa
