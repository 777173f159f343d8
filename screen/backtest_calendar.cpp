#include "screen/backtest_calendar.h"

#include <algorithm>

#include "marketdata/margin_carry.h"

namespace zepa {

int32_t backtestDayOf(int32_t date) {
    return dayNumberOf(date);
}

BacktestCalendar makeBacktestCalendar(const std::vector<int32_t>& dates) {
    BacktestCalendar c;
    c.dates = dates;
    c.days = tradingDayNumbers(dates);
    return c;
}

BacktestCalendar installationCalendar(const PriceDatabaseSet& set) {
    std::vector<int32_t> dates;
    dates.reserve(static_cast<size_t>(std::max(set.dateCount, 0)));
    for (const PriceDatabase& db : set.files) {
        for (const PackedDate d : db.dates) {
            dates.push_back(dateValue(d));
        }
    }
    return makeBacktestCalendar(dates);
}

int32_t settlementDay(const BacktestCalendar& calendar, int32_t fill) {
    return settlementDayOf(calendar.days, fill);
}

}  // namespace zepa
