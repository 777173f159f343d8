#include "screen/backtest_z.h"

#include <limits>

namespace zepa {

void computeBacktestZ(const BacktestPair& pair, int32_t period, int32_t count, double* z,
                      double* ratios) {
    RatioWindow window(period, ratios);
    for (int32_t i = 0; i < count; ++i) {
        z[i] = window.push(i, pair.a.adjustedClose[i], pair.b.adjustedClose[i])
                   ? window.z()
                   : std::numeric_limits<double>::quiet_NaN();
    }
}

}  // namespace zepa
