#include "marketdata/weekly_bars.h"

#include <algorithm>

#include "base/wrapping.h"
#include "marketdata/split_adjustment.h"

namespace zepa {
namespace {

constexpr int kDaysBeforeMonth[2][12] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

int weekNumber(PackedDate date) {
    int year = calendarYear(date);
    int y1 = year - 1;
    int c = y1 / 100;
    int y = y1 % 100;
    int w = (y + y / 4 + c / 4 - 2 * c + 29) % 7;
    if (w < 0) {
        w += 7;
    }
    // Months beyond 12 exist only in damaged files; they count as December.
    int month = std::clamp<int>(date.month, 1, 12);
    return (kDaysBeforeMonth[isLeapYear(year) ? 1 : 0][month - 1] + date.day + w) / 7;
}

void aggregateWeekly(StockSeries& s, std::vector<int32_t>* lastDayOfWeek) {
    if (lastDayOfWeek != nullptr) {
        lastDayOfWeek->clear();
    }
    if (s.length <= 0) {
        return;
    }
    int out = -1;
    int previousWeek = weekNumber(s.date[0]) + 1;
    for (int i = 0; i < s.length; ++i) {
        int week = weekNumber(s.date[i]);
        if (week != previousWeek) {
            previousWeek = week;
            ++out;
            s.date[out] = s.date[i];
            s.open[out] = s.open[i];
            s.high[out] = s.high[i];
            s.low[out] = s.low[i];
            s.close[out] = s.close[i];
            s.adjustment[out] = s.adjustment[i];
            s.volume[out] = s.volume[i] / 10;
            if (lastDayOfWeek != nullptr) {
                lastDayOfWeek->push_back(i);
            }
        } else {
            if (isSplit(s.adjustment[i])) {
                // The week so far is carried into the basis the ex-date starts.
                const double f = s.adjustment[i] / 100.0;
                s.open[out] = scaledPrice(s.open[out], f);
                s.high[out] = scaledPrice(s.high[out], f);
                s.low[out] = scaledPrice(s.low[out], f);
                s.volume[out] = scaledPrice(s.volume[out], 1.0 / f);
            }
            s.high[out] = std::max(s.high[out], s.high[i]);
            s.low[out] = std::min(s.low[out], s.low[i]);
            s.close[out] = s.close[i];
            s.volume[out] = wrapAdd(s.volume[out], s.volume[i] / 10);
            s.adjustment[out] = std::max(s.adjustment[out], s.adjustment[i]);
            if (lastDayOfWeek != nullptr) {
                lastDayOfWeek->back() = i;
            }
        }
    }
    s.length = out + 1;
}

}  // namespace zepa
