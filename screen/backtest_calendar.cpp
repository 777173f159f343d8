#include "screen/backtest_calendar.h"

#include <algorithm>
#include <chrono>

namespace zepa {

namespace chr = std::chrono;

int32_t backtestDayOf(int32_t date) {
    const chr::year_month_day ymd{chr::year{date / 10000},
                                  chr::month{static_cast<unsigned>(date / 100 % 100)},
                                  chr::day{static_cast<unsigned>(date % 100)}};
    if (date <= 0 || !ymd.ok()) {
        return -1;
    }
    return static_cast<int32_t>(chr::sys_days{ymd}.time_since_epoch().count());
}

BacktestCalendar makeBacktestCalendar(const std::vector<int32_t>& dates) {
    BacktestCalendar c;
    c.dates = dates;
    c.days.resize(dates.size());
    int32_t previous = 0;
    for (size_t i = 0; i < dates.size(); ++i) {
        const int32_t day = backtestDayOf(dates[i]);
        previous = day < 0 ? previous : std::max(day, previous);
        c.days[i] = previous;
    }
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
    const auto count = static_cast<int32_t>(calendar.days.size());
    if (fill + 2 < count) {
        return calendar.days[static_cast<size_t>(fill + 2)];
    }
    // 1970-01-01 was a Thursday: day d is a weekday when (d + 3) % 7 < 5 (Monday = 0).
    int32_t day = calendar.days.back();
    for (int32_t left = fill + 2 - (count - 1); left > 0;) {
        ++day;
        if ((day + 3) % 7 < 5) {
            --left;
        }
    }
    return day;
}

}  // namespace zepa
