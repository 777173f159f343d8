#include "screen/backtest_z.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zepa {
namespace {

bool usable(double price) {
    return price > 0.0 && std::isfinite(price);
}

}  // namespace

// The ratio half of computeRatioStatistics, step for step: Welford's mean and squared
// deviations of the window, a gap restarting it, and an exactly flat run giving no z. Any
// change there must be made here too; the tests compare the two at every slot.
void computeBacktestZ(const BacktestPair& pair, int32_t period, int32_t count, double* z,
                      double* ratios) {
    const int32_t n = std::max(period, 2);
    const double none = std::numeric_limits<double>::quiet_NaN();
    int32_t windowCount = 0;
    double mean = 0.0;
    double squares = 0.0;
    bool flatStarted = false;
    double flatLast = 0.0;
    int32_t flatLength = 0;
    int32_t run = 0;
    for (int32_t i = 0; i < count; ++i) {
        z[i] = none;
        const double a = pair.a.adjustedClose[i];
        const double b = pair.b.adjustedClose[i];
        if (!usable(a) || !usable(b) || !usable(a / b)) {
            run = 0;
            windowCount = 0;
            mean = 0.0;
            squares = 0.0;
            flatStarted = false;
            flatLast = 0.0;
            flatLength = 0;
            continue;
        }
        const double ratio = a / b;
        ratios[i] = ratio;
        flatLength = flatStarted && ratio == flatLast ? flatLength + 1 : 1;
        flatStarted = true;
        flatLast = ratio;

        ++windowCount;
        const double dx = ratio - mean;
        mean += dx / windowCount;
        squares += dx * (ratio - mean);
        ++run;
        if (run > n) {
            const double gone = ratios[i - n];
            const double dg = gone - mean;
            --windowCount;
            mean -= dg / windowCount;
            squares = std::max(0.0, squares - dg * (gone - mean));
        }
        if (run < n || flatLength >= n) {
            continue;
        }
        const double deviation = std::sqrt(squares / n);
        if (deviation > 0.0) {
            z[i] = (ratio - mean) / deviation;
        }
    }
}

}  // namespace zepa
