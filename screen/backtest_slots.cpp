#include "screen/backtest_slots.h"

#include <new>

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
        for (size_t i = 0; i < n; ++i) {
            out.open[i] = bars[i].open;
            out.close[i] = bars[i].close;
            out.adjustment[i] = bars[i].adjustment;
            out.adjustedClose[i] = bars[i].close * factors[i];
        }
    } catch (const std::bad_alloc&) {
        out = BacktestLegData{};
        return -1;
    }
    return 1;
}

}  // namespace zepa
