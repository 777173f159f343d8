// What holding a margin position costs, and the trading calendar it is counted on: margin
// interest on the bought leg and 貸株料 on the sold leg, a yearly rate on the entry value for
// every calendar day from the entry's settlement to the exit's, both ends included. The backtest
// and the held positions count with these same functions.
#pragma once

#include <cstdint>
#include <vector>

namespace zepa {

// The day of YYYYMMDD counted from 1970-01-01, or -1 for a value that is no date.
int32_t dayNumberOf(int32_t date);
// YYYYMMDD of such a day.
int32_t dateOfDayNumber(int32_t day);
// The day numbers of a trading calendar's dates (YYYYMMDD, oldest first). A date that is no
// calendar date or lies before the one before it (a damaged file) takes that one's day, so that
// no day count runs backwards.
std::vector<int32_t> tradingDayNumbers(const std::vector<int32_t>& dates);
// Monday to Friday.
bool isWeekday(int32_t day);

// The day a fill at slot `fill` of `days` (a trading calendar's day numbers, oldest first)
// settles: the second trading date after it, counted on in weekdays past the calendar's last
// date. `fill` must be a slot of the calendar.
int32_t settlementDayOf(const std::vector<int32_t>& days, int32_t fill);

// Calendar days of carry between two settlement days, both ends included; 0 when the exit
// settles before the entry.
int32_t carryDays(int32_t entrySettlement, int32_t exitSettlement);

// `value` yen held `days` days at `yearlyRate` (0.028 is 2.8 % a year): value × rate × days /
// 365, unrounded; 0 where the product is no finite number.
double carryCost(double value, double yearlyRate, int32_t days);

}  // namespace zepa
