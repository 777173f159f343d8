#include "screen/walkforward_periods.h"

#include <algorithm>

namespace zepa {

WalkForwardPlanning planWalkForward(const std::vector<int32_t>& dates, int32_t window,
                                    int32_t tradeDays, int32_t step, int32_t fromDate,
                                    std::vector<WalkForwardPeriod>& periods) {
    periods.clear();
    const auto count = static_cast<int64_t>(dates.size());
    if (window < 1 || count < int64_t{window} + 1) {
        return WalkForwardPlanning::TooFewDates;
    }
    const auto last = static_cast<int32_t>(count - 1);
    // The first date on or after fromDate, by its place: a date off the calendar takes the next.
    const auto from = static_cast<int32_t>(
        std::find_if(dates.begin(), dates.end(), [&](int32_t d) { return d >= fromDate; }) -
        dates.begin());
    const int32_t first = std::max(from, window - 1);
    const int64_t h = std::max(tradeDays, 1);
    const int64_t s = std::max(step, 1);
    for (int64_t e = first; e < last; e += s) {
        WalkForwardPeriod p;
        p.formationEnd = static_cast<int32_t>(e);
        p.tradeFirst = p.formationEnd + 1;
        p.tradeLast = static_cast<int32_t>(std::min<int64_t>(e + h, last));
        p.isShort = e + h > last;
        periods.push_back(p);
    }
    return periods.empty() ? WalkForwardPlanning::NoPeriod : WalkForwardPlanning::Planned;
}

}  // namespace zepa
