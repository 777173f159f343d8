#include "screen/backtest_z.h"

#include <limits>

namespace zepa {

void computeBacktestZ(const BacktestPair& pair, int32_t period, int32_t count, double* z) {
    RatioWindow window(period);
    for (int32_t i = 0; i < count; ++i) {
        z[i] =
            window.push(pair.a, pair.b, i) ? window.z() : std::numeric_limits<double>::quiet_NaN();
    }
}

}  // namespace zepa
