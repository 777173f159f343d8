// Generated in-memory markets, and every per-pair statistic by its definition.
#pragma once

#include <cmath>
#include <optional>
#include <random>
#include <span>
#include <vector>

#include "screen/screen_market.h"
#include "screen/screen_run.h"
#include "screen/screen_statistics.h"
#include "screen/screen_universe.h"

namespace zepa::test {

// Random walks of `stocks` stocks over `dates` dates sharing a market factor.
inline ScreenMarket randomMarket(int stocks, int dates, uint64_t seed) {
    ScreenMarket m;
    std::mt19937_64 random(seed);
    std::normal_distribution<double> normal(0.0, 1.0);
    for (int d = 0; d < dates; ++d) {
        m.dates.push_back(20240101 + d);
    }
    m.window = dates;
    std::vector<double> factor(static_cast<size_t>(dates));
    for (double& f : factor) {
        f = normal(random);
    }
    for (int s = 0; s < stocks; ++s) {
        ScreenStock stock;
        stock.code = 1301 + s;
        stock.marketCode = 1;
        double log = std::log(500.0 + 10 * s);
        for (int d = 0; d < dates; ++d) {
            log += 0.01 * (0.8 * factor[static_cast<size_t>(d)] + 0.6 * normal(random));
            m.closes.push_back(std::round(std::exp(log) * 10) / 10);
        }
        stock.storedCloseAtEnd = m.closes.back();
        m.stocks.push_back(stock);
    }
    return m;
}

inline double* closesOf(ScreenMarket& m, size_t stock) {
    return m.closes.data() + stock * m.dates.size();
}

// Makes stock b revert to stock a: b = a x exp(AR(1) noise with coefficient phi).
inline void plantReverting(ScreenMarket& m, size_t a, size_t b, double phi, uint64_t seed) {
    std::mt19937_64 random(seed);
    std::normal_distribution<double> normal(0.0, 0.01);
    double e = 0.0;
    for (size_t d = 0; d < m.dates.size(); ++d) {
        e = phi * e + normal(random);
        closesOf(m, b)[d] = closesOf(m, a)[d] * 1.5 * std::exp(e);
    }
}

// Every statistic of the pair (a regressed on b) by its definition.
struct DirectPair {
    std::optional<double> correlation;
    std::optional<double> correlationShort;
    double ssd = 0.0;
    EngleGranger ab;
    EngleGranger ba;
    std::optional<double> halfLife;
    double crossings = 0.0;
};

inline DirectPair directPair(const ScreenMarket& m, size_t a, size_t b, int32_t window,
                             int32_t shortDays) {
    std::vector<double> pa;
    std::vector<double> pb;
    windowCloses(m, a, window, pa);
    windowCloses(m, b, window, pb);
    std::vector<double> x;
    std::vector<double> y;
    for (size_t t = 0; t < pa.size(); ++t) {
        x.push_back(std::log(pa[t]));
        y.push_back(std::log(pb[t]));
    }
    DirectPair d;
    d.correlation = returnCorrelation(x, y);
    const size_t from = x.size() - static_cast<size_t>(shortDays);
    d.correlationShort = returnCorrelation(std::span(x).subspan(from), std::span(y).subspan(from));
    d.ssd = sumSquaredDeviation(pa, pb);
    d.ab = engleGranger(x, y);
    d.ba = engleGranger(y, x);
    d.halfLife = spreadHalfLife(x, y);
    d.crossings = meanCrossings(x, y) * 250.0 / window;
    return d;
}

}  // namespace zepa::test
