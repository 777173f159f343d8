#include "marketdata/moving_average.h"

namespace zepa {

int movingAverage(const StockSeries& series, int p, std::vector<float>& work) {
    const int length = series.length;
    if (p <= 0 || p >= length || work.size() < static_cast<size_t>(length)) {
        return -1;
    }
    // The float and double steps are kept as they are: the averages users compare with
    // depend on exactly this rounding.
    double sum = 0;
    float c = 1.0f;
    int n = 0;
    for (int i = 0; i < length; ++i) {
        const int adj = series.adjustment[i];
        if (adj != 0) {
            c = static_cast<float>(static_cast<float>(adj) * c * 0.01);
            n = p + 1;
            sum = sum * c;
        }
        if (n > 0) {
            --n;
        } else {
            c = 1.0f;
        }
        const int close = series.close[i];
        if (i < p) {
            sum = sum + close;
        } else {
            sum = (close + sum) - static_cast<float>(series.close[i - p]) * c;
            work[i] = static_cast<float>(sum / p);
        }
    }
    return 1;
}

}  // namespace zepa
