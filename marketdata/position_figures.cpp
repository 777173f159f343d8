#include "marketdata/position_figures.h"

#include <algorithm>
#include <cmath>

#include "marketdata/split_adjustment.h"

namespace zepa {
namespace {

const std::vector<double>& splitsOf(const SpreadSeries& s, Leg leg) {
    return leg == Leg::Buy ? s.buySplitSinceEntry : s.sellSplitSinceEntry;
}

const DayBar& barAt(const SpreadSeries& s, Leg leg, int32_t i) {
    return storedBars(s, leg)[static_cast<size_t>(i)];
}

double sign(Leg leg) {
    return leg == Leg::Buy ? 1.0 : -1.0;
}

// Whose shares a gain is counted per: the shares held at the slot, in the slot's basis, or the
// shares bought at the entry (quantity of the position file).
enum class PerShare { Held, Entered };

// The leg's gain since its entry at slot i, the one formula behind every figure: the stored gain
// while no split lies between the entry and the slot; else the close against the entry close
// carried into the slot's basis, per share held (close - entry × F) or per share entered
// (close / F - entry); the sell leg's reversed.
double gainSinceEntry(const SpreadSeries& s, Leg leg, int32_t i, PerShare per) {
    const double f = splitFactorAt(splitsOf(s, leg), i);
    const DayBar& bar = barAt(s, leg, i);
    if (f == 1.0) {
        return bar.gain;
    }
    const double entry = storedEntryClose(s, leg);
    return sign(leg) * (per == PerShare::Held ? bar.close - entry * f : bar.close / f - entry);
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
    return gainSinceEntry(s, leg, i, PerShare::Held);
}

double legChangeRate(const SpreadSeries& s, Leg leg, int32_t i) {
    return legGainAt(s, leg, i) / barAt(s, leg, i).close * (100.0 * sign(leg));
}

bool shownChangeRate(const SpreadSeries& s, Leg leg, int32_t i, bool ofEntry, double& rate) {
    if (!ofEntry) {
        if (barAt(s, leg, i).close == 0) {
            return false;
        }
        rate = legChangeRate(s, leg, i);
        return true;
    }
    const double entry = storedEntryClose(s, leg) * splitFactorAt(splitsOf(s, leg), i);
    if (!(entry > 0.0) || !std::isfinite(entry)) {
        return false;
    }
    rate = legGainAt(s, leg, i) / entry * (100.0 * sign(leg));
    return true;
}

int64_t positionProfit(const SpreadSeries& s, const PositionRecord& p, int32_t i) {
    const int64_t buyQuantity = p.buy.quantity;
    const int64_t sellQuantity = p.sell.quantity;
    if (splitFactorAt(s.buySplitSinceEntry, i) == 1.0 &&
        splitFactorAt(s.sellSplitSinceEntry, i) == 1.0) {
        // Exact, in 64 bits: the 32-bit products of large positions would wrap and flip sign.
        return saturatingAdd(barAt(s, Leg::Buy, i).gain * buyQuantity,
                             barAt(s, Leg::Sell, i).gain * sellQuantity);
    }
    // The shares bought at the entry, whatever they became: quantity × the gain per such share.
    const auto legYen = [&](Leg leg, int64_t quantity) {
        return static_cast<double>(quantity) * gainSinceEntry(s, leg, i, PerShare::Entered);
    };
    const double yen = legYen(Leg::Buy, buyQuantity) + legYen(Leg::Sell, sellQuantity);
    constexpr auto kLimit = static_cast<double>(kProfitLimit);
    return std::llround(std::clamp(yen, -kLimit, kLimit));
}

}  // namespace zepa
