#include "marketdata/margin_carry.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace zepa {

namespace chr = std::chrono;

int32_t dayNumberOf(int32_t date) {
    const chr::year_month_day ymd{chr::year{date / 10000},
                                  chr::month{static_cast<unsigned>(date / 100 % 100)},
                                  chr::day{static_cast<unsigned>(date % 100)}};
    if (date <= 0 || !ymd.ok()) {
        return -1;
    }
    return static_cast<int32_t>(chr::sys_days{ymd}.time_since_epoch().count());
}

int32_t dateOfDayNumber(int32_t day) {
    const chr::year_month_day ymd{chr::sys_days{chr::days{day}}};
    return static_cast<int32_t>(ymd.year()) * 10000 +
           static_cast<int32_t>(static_cast<unsigned>(ymd.month())) * 100 +
           static_cast<int32_t>(static_cast<unsigned>(ymd.day()));
}

std::vector<int32_t> tradingDayNumbers(const std::vector<int32_t>& dates) {
    std::vector<int32_t> days(dates.size());
    int32_t previous = 0;
    for (size_t i = 0; i < dates.size(); ++i) {
        const int32_t day = dayNumberOf(dates[i]);
        previous = day < 0 ? previous : std::max(day, previous);
        days[i] = previous;
    }
    return days;
}

bool isWeekday(int32_t day) {
    // 1970-01-01 was a Thursday: day d is a weekday when (d + 3) % 7 < 5 (Monday = 0).
    return ((day % 7 + 7 + 3) % 7) < 5;
}

int32_t settlementDayOf(const std::vector<int32_t>& days, int32_t fill) {
    const auto count = static_cast<int32_t>(days.size());
    if (fill + 2 < count) {
        return days[static_cast<size_t>(fill + 2)];
    }
    int32_t day = days.back();
    for (int32_t left = fill + 2 - (count - 1); left > 0;) {
        ++day;
        if (isWeekday(day)) {
            --left;
        }
    }
    return day;
}

int32_t carryDays(int32_t entrySettlement, int32_t exitSettlement) {
    return std::max(0, exitSettlement - entrySettlement + 1);
}

double carryCost(double value, double yearlyRate, int32_t days) {
    const double cost = yearlyRate * value * days / 365.0;
    return std::isfinite(cost) ? cost : 0.0;
}

}  // namespace zepa
