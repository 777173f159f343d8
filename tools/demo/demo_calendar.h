// The exchange calendar of the demo: weekdays without the year-end break and the national
// holidays.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "marketdata/packed_date.h"

namespace zepa {

using CivilDay = std::chrono::year_month_day;

// The national holidays of a year (1980..2099) in date order, with substitute holidays and
// the days squeezed between two holidays.
std::vector<std::chrono::sys_days> nationalHolidays(int year);

// The days from first to last (inclusive) on which the exchange trades.
std::vector<CivilDay> tradingDays(CivilDay first, CivilDay last);

PackedDate packDate(CivilDay day);
int32_t yymmdd(CivilDay day);

}  // namespace zepa
