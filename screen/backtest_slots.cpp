#include "screen/backtest_slots.h"

#include <cmath>
#include <new>

#include "base/wrapping.h"
#include "marketdata/split_adjustment.h"

namespace zepa {

int makeBacktestLeg(const std::vector<DayBar>& bars, int32_t start, BacktestLegData& out) {
    try {
        const std::vector<double> factors = splitBasisFactors(bars, start);
        const size_t n = bars.size();
        out.open.resize(n);
        out.close.resize(n);
        out.adjustment.resize(n);
        out.adjustedClose.resize(n);
        out.logAdjustedClose.resize(n);
        for (size_t i = 0; i < n; ++i) {
            out.open[i] = bars[i].open;
            out.close[i] = bars[i].close;
            out.adjustment[i] = bars[i].adjustment;
            out.adjustedClose[i] = bars[i].close * factors[i];
            const double c = out.adjustedClose[i];
            out.logAdjustedClose[i] = c > 0.0 && std::isfinite(c) ? std::log(c) : 0.0;
        }
    } catch (const std::bad_alloc&) {
        out = BacktestLegData{};
        return -1;
    }
    return 1;
}

int makeBacktestLegFromSeries(const StockSeries& series, int32_t correctionFactor,
                              int32_t dateCount, BacktestLegData& out) {
    const int32_t start = dateCount - series.length;
    if (series.length < 0 || start < 0) {
        return 0;
    }
    std::vector<DayBar> bars;
    try {
        bars.resize(static_cast<size_t>(dateCount));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    for (int32_t k = 0; k < series.length; ++k) {
        DayBar& bar = bars[static_cast<size_t>(start + k)];
        const auto at = static_cast<size_t>(k);
        bar.open = wrapMul(series.open[at], correctionFactor);
        bar.close = wrapMul(series.close[at], correctionFactor);
        bar.adjustment = series.adjustment[at];
    }
    return makeBacktestLeg(bars, start, out);
}

}  // namespace zepa
