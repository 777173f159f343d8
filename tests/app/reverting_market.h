// A small market for screens: stocks 1001 and 1002 whose log closes differ by a reverting AR(1)
// spread, and 1003 and 1004 walking alone, on `dates` weekdays from 2024-01-04. Returns the four
// stocks' closes.
#pragma once

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tests/support/temp_installation.h"

namespace zepa::test {

inline std::vector<std::vector<int32_t>> writeRevertingMarket(const TempInstallation& in,
                                                              int dates) {
    std::mt19937 random(7);
    std::normal_distribution<double> step(0.0, 0.02);
    std::normal_distribution<double> noise(0.0, 0.004);
    std::vector<std::vector<int32_t>> closes(4);
    double x = std::log(2000.0), y = std::log(1500.0), w = std::log(900.0), s = 0.0;
    for (int i = 0; i < dates; ++i) {
        x += step(random);
        s = 0.8 * s + noise(random);
        y += step(random);
        w += step(random);
        closes[0].push_back(static_cast<int32_t>(std::exp(x)));
        closes[1].push_back(static_cast<int32_t>(std::exp(x + s) * 0.6));
        closes[2].push_back(static_cast<int32_t>(std::exp(y)));
        closes[3].push_back(static_cast<int32_t>(std::exp(w)));
    }
    std::vector<DbwStock> stocks;
    for (int k = 0; k < 4; ++k) {
        stocks.push_back(stock(tokyo(1001 + k), "S" + std::to_string(k), closes[k]));
    }
    in.writeDb("DBW.2024", dbw(weekdays(2024, 1, 4, dates), stocks));
    return closes;
}

}  // namespace zepa::test
