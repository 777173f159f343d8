// Stock splits as the price files record them: on the ex-date, the price ratio in percent
// (50 for 1:2). Everything measured across an ex-date is carried into one basis with these
// factors.
#pragma once

#include <cstdint>
#include <vector>

#include "marketdata/day_bar.h"
#include "marketdata/price_database.h"

namespace zepa {

// True for an adjustment that changes the basis: 0 marks none and 100 is a ratio of one.
constexpr bool isSplit(int32_t adjustment) {
    return adjustment != 0 && adjustment != 100;
}

// Products of adjustments are kept within these bounds, so that a file with many hostile
// adjustments in a row yields absurd but finite prices instead of 0 or infinity. No real
// series comes near them.
inline constexpr double kMinSplitFactor = 1.0e-9;
inline constexpr double kMaxSplitFactor = 1.0e9;

// A running product of adjustments times one more, kept within the bounds.
double timesAdjustment(double factor, int32_t adjustment);

// One factor per bar: the product of adjustment / 100 over the bars after slot i up to the end
// (1.0 where no later bar has an adjustment, and before start). close(i) times factor(i) is
// close(i) in the basis of the newest bar.
std::vector<double> splitBasisFactors(const std::vector<DayBar>& bars, int32_t start);

// F(k) of a daily series: the product of adjustment / 100 over its entries after the entry
// day up to and including entry k, 1.0 up to the entry day. Empty when there is no entry day
// or no split after it, which means 1.0 everywhere. Taken from the days, so that a weekly bar
// counts a split of its own week that came after the entry.
std::vector<double> splitFactorsSinceEntry(const StockSeries& series, int32_t entryDay);

// F(i) from such a vector.
inline double splitFactorAt(const std::vector<double>& factors, int32_t i) {
    return factors.empty() || i < 0 || static_cast<size_t>(i) >= factors.size()
               ? 1.0
               : factors[static_cast<size_t>(i)];
}

// True when any entry of the series is a split.
bool seriesHasSplit(const StockSeries& series);

// The series as the split-adjusted display shows it: prices times the correction factor and the
// product of the later adjustments (rounded; a positive price stays at least 1), volumes divided
// by that product. Taken from the daily entries, so that a weekly bar formed from it has no
// jump inside its week. All its prices are in the newest basis, so it has no adjustments left
// and its moving average is the plain mean of the closes on show.
StockSeries displayedSeries(const StockSeries& series, int32_t correctionFactor);

// A price or volume times a factor, rounded to the nearest integer and kept in the 32-bit range;
// a positive value stays positive.
int32_t scaledPrice(int32_t value, double factor);

}  // namespace zepa
