#include "marketdata/split_adjustment.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/wrapping.h"

namespace zepa {

double timesAdjustment(double factor, int32_t adjustment) {
    if (!isSplit(adjustment)) {
        return factor;
    }
    return std::clamp(factor * (adjustment / 100.0), kMinSplitFactor, kMaxSplitFactor);
}

std::vector<double> splitBasisFactors(const std::vector<DayBar>& bars, int32_t start) {
    std::vector<double> factors(bars.size(), 1.0);
    const auto first = static_cast<int64_t>(std::max(start, 0));
    double product = 1.0;
    for (auto i = static_cast<int64_t>(bars.size()) - 1; i >= first; --i) {
        factors[static_cast<size_t>(i)] = product;
        product = timesAdjustment(product, bars[static_cast<size_t>(i)].adjustment);
    }
    return factors;
}

std::vector<double> splitFactorsSinceEntry(const StockSeries& series, int32_t entryDay) {
    const int32_t length = std::max(series.length, 0);
    if (entryDay < 0 || entryDay >= length) {
        return {};
    }
    const auto after = series.adjustment.begin() + entryDay + 1;
    if (std::none_of(after, series.adjustment.begin() + length,
                     [](uint16_t a) { return isSplit(a); })) {
        return {};
    }
    std::vector<double> factors(static_cast<size_t>(length), 1.0);
    double product = 1.0;
    for (auto k = static_cast<size_t>(entryDay) + 1; k < factors.size(); ++k) {
        product = timesAdjustment(product, series.adjustment[k]);
        factors[k] = product;
    }
    return factors;
}

bool seriesHasSplit(const StockSeries& series) {
    const auto end = series.adjustment.begin() + std::max(series.length, 0);
    return std::any_of(series.adjustment.begin(), end, [](uint16_t a) { return isSplit(a); });
}

int32_t scaledPrice(int32_t value, double factor) {
    const double scaled = std::round(static_cast<double>(value) * factor);
    constexpr double kLow = std::numeric_limits<int32_t>::min();
    constexpr double kHigh = std::numeric_limits<int32_t>::max();
    const auto v = static_cast<int32_t>(std::clamp(scaled, kLow, kHigh));
    return value > 0 && v < 1 ? 1 : v;
}

StockSeries displayedSeries(const StockSeries& series, int32_t correctionFactor) {
    StockSeries out;
    const auto length = static_cast<size_t>(std::max(series.length, 0));
    out.length = series.length;
    out.date.assign(series.date.begin(), series.date.begin() + length);
    out.adjustment.assign(length, 0);
    out.open.resize(length);
    out.high.resize(length);
    out.low.resize(length);
    out.close.resize(length);
    out.volume.resize(length);
    double product = 1.0;
    for (size_t k = length; k-- > 0;) {
        const auto price = [&](const std::vector<int32_t>& v) {
            return scaledPrice(wrapMul(v[k], correctionFactor), product);
        };
        out.open[k] = price(series.open);
        out.high[k] = price(series.high);
        out.low[k] = price(series.low);
        out.close[k] = price(series.close);
        out.volume[k] = scaledPrice(series.volume[k], 1.0 / product);
        product = timesAdjustment(product, series.adjustment[k]);
    }
    return out;
}

}  // namespace zepa
