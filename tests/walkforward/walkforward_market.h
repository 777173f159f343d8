// A generated market written as an installation; prices after a date, or one, can be altered.
#pragma once

#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/temp_installation.h"

namespace zepa::test {

inline constexpr int kMarketDates = 330;
inline constexpr int32_t kFirstCode = 2001;

struct MarketChange {
    int from = kMarketDates;  // every close from this date on scaled by a random factor
    int oneDate = -1;         // with oneCode: that close alone raised by a tenth
    int32_t oneCode = 0;
};

inline void writeWalkMarket(const TempInstallation& at, const MarketChange& change = {}) {
    const std::vector<PackedDate> dates = weekdays(2023, 1, 2, kMarketDates);
    std::mt19937_64 random(7);
    std::mt19937_64 other(99);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::vector<double> factor(kMarketDates);
    for (double& f : factor) {
        f = normal(random);
    }
    std::vector<DbwStock> stocks;
    std::vector<double> leader;
    for (int s = 0; s < 12; ++s) {
        const int32_t code = kFirstCode + s;
        std::vector<int32_t> closes;
        double log = std::log(800.0 + 150 * s);
        double e = 0.0;
        for (int d = 0; d < kMarketDates; ++d) {
            log += 0.01 * (0.7 * factor[static_cast<size_t>(d)] + 0.7 * normal(random)) +
                   (s % 3 - 1) * 0.001;
            e = 0.6 * e + 0.015 * normal(random);
            // Stocks 1, 5 and 9 follow 0, 4 and 8 with a reverting ratio.
            const double price =
                s % 4 == 1 ? leader[static_cast<size_t>(d)] * 1.3 * std::exp(e) : std::exp(log);
            if (s % 4 == 0) {
                if (d == 0) {
                    leader.clear();
                }
                leader.push_back(price);
            }
            double shown = price;
            if (d >= change.from) {
                shown *= std::exp(0.05 * std::normal_distribution<double>(0.0, 1.0)(other));
            }
            if (d == change.oneDate && code == change.oneCode) {
                shown *= 1.1;
            }
            closes.push_back(static_cast<int32_t>(std::lround(shown)));
        }
        DbwStock stock = test::stock(tokyo(code), "W" + std::to_string(code), closes);
        for (int d = 0; d < kMarketDates; ++d) {
            // Volume rising for the even stocks, falling for the odd: the turnover rule
            // changes its mind through the dates.
            stock.records[static_cast<size_t>(d)].volume = s % 2 == 0 ? 500 + 5 * d : 3000 - 8 * d;
        }
        if (s == 2) {
            // A 1:2 split on date 150: stored prices halve from there.
            for (int d = 150; d < kMarketDates; ++d) {
                DbwRecord& r = stock.records[static_cast<size_t>(d)];
                r = traded(r.close / 2);
                r.volume = 1000;
            }
            stock.records[150].adjustment = 50;
        }
        stocks.push_back(std::move(stock));
    }
    // Two files, split at date 200.
    for (const auto& [name, from, to] :
         {std::tuple{"DBW.2023", 0, 200}, std::tuple{"DBW.2024", 200, kMarketDates}}) {
        std::vector<DbwStock> part = stocks;
        for (DbwStock& s : part) {
            s.records = {s.records.begin() + from, s.records.begin() + to};
        }
        at.writeDb(name, dbw({dates.begin() + from, dates.begin() + to}, part));
    }
}

}  // namespace zepa::test
