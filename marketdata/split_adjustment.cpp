#include "marketdata/split_adjustment.h"

#include <cstddef>

namespace zepa {

std::vector<double> splitBasisFactors(const std::vector<DayBar>& bars, int32_t start) {
    std::vector<double> factors(bars.size(), 1.0);
    double later = 1.0;
    for (std::size_t i = bars.size(); i-- > 0;) {
        if (static_cast<int64_t>(i) < start) {
            break;
        }
        factors[i] = later;
        const int32_t adjustment = bars[i].adjustment;
        if (adjustment != 0 && adjustment != 100) {
            later *= adjustment / 100.0;
        }
    }
    return factors;
}

}  // namespace zepa
