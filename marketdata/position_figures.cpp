#include "marketdata/position_figures.h"

#include <algorithm>
#include <cmath>

#include "marketdata/split_adjustment.h"

namespace zepa {
namespace {

const std::vector<double>& splitsOf(const SpreadSeries& s, Leg leg) {
    return leg == Leg::Buy ? s.buySplitSinceEntry : s.sellSplitSinceEntry;
}

int32_t entryBarOf(const SpreadSeries& s, Leg leg) {
    return leg == Leg::Buy ? s.buyEntryBar : s.sellEntryBar;
}

const DayBar& barAt(const SpreadSeries& s, Leg leg, int32_t i) {
    return storedBars(s, leg)[static_cast<size_t>(i)];
}

// The entry close of a leg whose splits are known (so its entry bar exists).
double entryClose(const SpreadSeries& s, Leg leg) {
    return barAt(s, leg, entryBarOf(s, leg)).close;
}

double sign(Leg leg) {
    return leg == Leg::Buy ? 1.0 : -1.0;
}

// a + b, pinned to the 64-bit range instead of overflowing.
int64_t saturatingAdd(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return a > 0 ? INT64_MAX : INT64_MIN;
    }
    return sum;
}

}  // namespace

double legGainAt(const SpreadSeries& s, Leg leg, int32_t i) {
    const double f = splitFactorAt(splitsOf(s, leg), i);
    const DayBar& bar = barAt(s, leg, i);
    if (f == 1.0) {
        return bar.gain;
    }
    return sign(leg) * (bar.close - entryClose(s, leg) * f);
}

double legChangeRate(const SpreadSeries& s, Leg leg, int32_t i) {
    return legGainAt(s, leg, i) / barAt(s, leg, i).close * (100.0 * sign(leg));
}

int64_t positionProfit(const SpreadSeries& s, const PositionRecord& p, int32_t i) {
    const double buyF = splitFactorAt(s.buySplitSinceEntry, i);
    const double sellF = splitFactorAt(s.sellSplitSinceEntry, i);
    const int64_t buyQuantity = p.buy.quantity;
    const int64_t sellQuantity = p.sell.quantity;
    if (buyF == 1.0 && sellF == 1.0) {
        // Exact, in 64 bits: the 32-bit products of large positions would wrap and flip sign.
        return saturatingAdd(barAt(s, Leg::Buy, i).gain * buyQuantity,
                             barAt(s, Leg::Sell, i).gain * sellQuantity);
    }
    // The shares held now are quantity / F: their value in today's basis against what they
    // cost.
    const auto legYen = [&](Leg leg, double f, int64_t quantity) {
        if (f == 1.0) {
            return static_cast<double>(barAt(s, leg, i).gain * quantity);
        }
        return sign(leg) * static_cast<double>(quantity) *
               (barAt(s, leg, i).close / f - entryClose(s, leg));
    };
    const double yen = legYen(Leg::Buy, buyF, buyQuantity) + legYen(Leg::Sell, sellF, sellQuantity);
    constexpr auto kLimit = static_cast<double>(kProfitLimit);
    return std::llround(std::clamp(yen, -kLimit, kLimit));
}

}  // namespace zepa
