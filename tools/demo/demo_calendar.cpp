#include "tools/demo/demo_calendar.h"

#include <algorithm>

namespace zepa {
namespace {

using namespace std::chrono;

sys_days on(int y, unsigned m, unsigned d) {
    return sys_days{year{y} / month{m} / day{d}};
}

sys_days nthMonday(int y, unsigned m, unsigned n) {
    return sys_days{year{y} / month{m} / Monday[n]};
}

bool contains(const std::vector<sys_days>& list, sys_days d) {
    return std::find(list.begin(), list.end(), d) != list.end();
}

// Equinox days by the usual approximation, in fixed point so that no rounding differs.
unsigned equinoxDay(int y, int64_t base) {
    const int64_t n = y - 1980;
    return static_cast<unsigned>((base + 242194 * n) / 1000000 - n / 4);
}

}  // namespace

std::vector<sys_days> nationalHolidays(int y) {
    std::vector<sys_days> result = {
        on(y, 1, 1),
        nthMonday(y, 1, 2),
        on(y, 2, 11),
        on(y, 2, 23),
        on(y, 3, equinoxDay(y, 20843100)),
        on(y, 4, 29),
        on(y, 5, 3),
        on(y, 5, 4),
        on(y, 5, 5),
        nthMonday(y, 7, 3),
        on(y, 8, 11),
        nthMonday(y, 9, 3),
        on(y, 9, equinoxDay(y, 23248800)),
        nthMonday(y, 10, 2),
        on(y, 11, 3),
        on(y, 11, 23),
    };
    std::sort(result.begin(), result.end());
    const std::vector<sys_days> named = result;
    // A weekday between two holidays is a holiday too (as in some Septembers).
    for (size_t i = 0; i + 1 < named.size(); ++i) {
        const sys_days between = named[i] + days{1};
        if (named[i + 1] == named[i] + days{2} && weekday{between} != Sunday) {
            result.push_back(between);
        }
    }
    // A holiday on a Sunday moves to the next day that is not a holiday itself.
    for (sys_days d : named) {
        if (weekday{d} == Sunday) {
            sys_days substitute = d + days{1};
            while (contains(result, substitute)) {
                substitute += days{1};
            }
            result.push_back(substitute);
        }
    }
    std::sort(result.begin(), result.end());
    return result;
}

std::vector<CivilDay> tradingDays(CivilDay first, CivilDay last) {
    std::vector<CivilDay> out;
    int holidayYear = 0;
    std::vector<sys_days> holidays;
    for (sys_days d = sys_days{first}; d <= sys_days{last}; d += days{1}) {
        const CivilDay c{d};
        const weekday w{d};
        if (w == Saturday || w == Sunday) {
            continue;
        }
        // The exchange closes from 31 December to 3 January.
        const unsigned m = static_cast<unsigned>(c.month());
        const unsigned dd = static_cast<unsigned>(c.day());
        if ((m == 1 && dd <= 3) || (m == 12 && dd == 31)) {
            continue;
        }
        if (static_cast<int>(c.year()) != holidayYear) {
            holidayYear = static_cast<int>(c.year());
            holidays = nationalHolidays(holidayYear);
        }
        if (!contains(holidays, d)) {
            out.push_back(c);
        }
    }
    return out;
}

PackedDate packDate(CivilDay day) {
    return PackedDate{static_cast<uint8_t>(static_cast<int>(day.year()) - 1970),
                      static_cast<uint8_t>(static_cast<unsigned>(day.month())),
                      static_cast<uint8_t>(static_cast<unsigned>(day.day()))};
}

int32_t yymmdd(CivilDay day) {
    return (static_cast<int>(day.year()) % 100) * 10000 +
           static_cast<int>(static_cast<unsigned>(day.month())) * 100 +
           static_cast<int>(static_cast<unsigned>(day.day()));
}

}  // namespace zepa
