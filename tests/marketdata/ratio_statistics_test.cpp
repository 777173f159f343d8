// The ratio statistics against a direct two-pass computation over each window, on the log of
// the ratio; and the legs swapped give exactly -z.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>

#include "marketdata/pair_series.h"
#include "marketdata/ratio_statistics.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

using V = std::vector<int32_t>;

// What one window holds, computed the plain way: sums over the window, then deviations.
struct Expected {
    bool full = false;
    double ratio = 0, mean = 0, deviation = 0;
    std::optional<double> z, correlation, halfLife;
};

// Slot-by-slot reference from the split-adjusted closes (0 = no close).
std::vector<Expected> directStatistics(const std::vector<double>& buy,
                                       const std::vector<double>& sell, int n) {
    std::vector<Expected> out(buy.size());
    for (size_t i = 0; i < buy.size(); ++i) {
        Expected& e = out[i];
        if (buy[i] <= 0 || sell[i] <= 0) {
            continue;
        }
        e.ratio = buy[i] / sell[i];
        if (i + 1 < static_cast<size_t>(n)) {
            continue;
        }
        const size_t from = i + 1 - static_cast<size_t>(n);
        bool full = true;
        for (size_t j = from; j <= i; ++j) {
            full = full && buy[j] > 0 && sell[j] > 0;
        }
        if (!full) {
            continue;
        }
        e.full = true;
        std::vector<double> r, a, b, x, y;
        for (size_t j = from; j <= i; ++j) {
            r.push_back(std::log(buy[j] / sell[j]));
            if (j > from) {
                a.push_back(std::log(buy[j] / buy[j - 1]));
                b.push_back(std::log(sell[j] / sell[j - 1]));
                x.push_back(r[r.size() - 2]);
                y.push_back(r.back() - r[r.size() - 2]);
            }
        }
        const auto mean = [](const std::vector<double>& v) {
            return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
        };
        const auto co = [&](const std::vector<double>& p, const std::vector<double>& q) {
            const double mp = mean(p), mq = mean(q);
            double s = 0;
            for (size_t k = 0; k < p.size(); ++k) {
                s += (p[k] - mp) * (q[k] - mq);
            }
            return s;
        };
        e.mean = mean(r);
        e.deviation = std::sqrt(co(r, r) / n);
        // Rounding of a flat window's logs leaves a deviation far below any price step.
        if (e.deviation > 1e-12) {
            e.z = (std::log(e.ratio) - e.mean) / e.deviation;
        } else {
            e.deviation = 0;
        }
        if (co(a, a) > 1e-20 && co(b, b) > 1e-20) {
            e.correlation = co(a, b) / std::sqrt(co(a, a) * co(b, b));
        }
        if (e.z && co(x, x) > 0 && co(x, y) / co(x, x) < 0) {
            e.halfLife = -std::log(2.0) / (co(x, y) / co(x, x));
        }
    }
    return out;
}

void expectMatches(const RatioStatistics& got, const std::vector<Expected>& want,
                   const std::string& name) {
    ASSERT_EQ(got.slots.size(), want.size()) << name;
    int fullWindows = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        const RatioSlot& g = got.slots[i];
        const Expected& e = want[i];
        SCOPED_TRACE(name + " slot " + std::to_string(i));
        ASSERT_EQ(g.hasRatio, e.ratio > 0);
        if (g.hasRatio) {
            EXPECT_NEAR(g.ratio, e.ratio, 1e-12 * e.ratio);
        }
        ASSERT_EQ(g.hasMean, e.full);
        if (!e.full) {
            EXPECT_FALSE(g.hasZ || g.hasCorrelation || g.hasHalfLife);
            continue;
        }
        ++fullWindows;
        EXPECT_NEAR(g.mean, e.mean, 1e-12);
        EXPECT_NEAR(g.deviation, e.deviation, 1e-7 * e.deviation + 1e-15);
        ASSERT_EQ(g.hasZ, e.z.has_value());
        if (e.z) {
            EXPECT_NEAR(g.z, *e.z, 1e-6);
        }
        ASSERT_EQ(g.hasCorrelation, e.correlation.has_value());
        if (e.correlation) {
            EXPECT_NEAR(g.correlation, *e.correlation, 1e-9);
        }
        ASSERT_EQ(g.hasHalfLife, e.halfLife.has_value());
        if (e.halfLife) {
            EXPECT_NEAR(g.halfLife, *e.halfLife, 1e-6 * *e.halfLife);
        }
    }
    EXPECT_GT(fullWindows, 0) << name;
}

// The legs swapped: every z exactly negated, the log mean too, the deviation and the
// half-life exactly the same, and a z exactly where there was one.
void expectMirrored(const SpreadSeries& series, int32_t period, const std::string& name) {
    SpreadSeries swapped = series;
    std::swap(swapped.buyBars, swapped.sellBars);
    std::swap(swapped.buyStart, swapped.sellStart);
    RatioStatistics ab, ba;
    ASSERT_EQ(computeRatioStatistics(series, period, ab), 1);
    ASSERT_EQ(computeRatioStatistics(swapped, period, ba), 1);
    ASSERT_EQ(ab.slots.size(), ba.slots.size());
    int zs = 0;
    for (size_t i = 0; i < ab.slots.size(); ++i) {
        const RatioSlot& x = ab.slots[i];
        const RatioSlot& y = ba.slots[i];
        SCOPED_TRACE(name + " slot " + std::to_string(i));
        ASSERT_EQ(x.hasRatio, y.hasRatio);
        ASSERT_EQ(x.hasMean, y.hasMean);
        ASSERT_EQ(x.hasZ, y.hasZ);
        ASSERT_EQ(x.hasHalfLife, y.hasHalfLife);
        ASSERT_EQ(x.hasCorrelation, y.hasCorrelation);
        if (x.hasRatio) {
            EXPECT_NEAR(x.ratio * y.ratio, 1.0, 1e-15);
        }
        if (x.hasMean) {
            EXPECT_EQ(x.mean, -y.mean);
            EXPECT_EQ(x.deviation, y.deviation);
        }
        if (x.hasZ) {
            EXPECT_EQ(x.z, -y.z);
            zs += x.z != 0.0;
        }
        if (x.hasHalfLife) {
            EXPECT_EQ(x.halfLife, y.halfLife);
        }
        if (x.hasCorrelation) {
            EXPECT_NEAR(x.correlation, y.correlation, 1e-12);
        }
    }
    EXPECT_GT(zs, 0) << name;
}

// A repeatable walk of integer prices.
struct Walk {
    uint64_t state;
    int32_t step(int32_t spread) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int32_t>((state >> 33) % static_cast<uint64_t>(2 * spread + 1)) - spread;
    }
};

SpreadSeries seriesOf(const V& buy, const V& sell) {
    SpreadSeries s;
    s.buyBars.resize(buy.size());
    s.sellBars.resize(sell.size());
    for (size_t i = 0; i < buy.size(); ++i) {
        s.buyBars[i].close = buy[i];
        s.sellBars[i].close = sell[i];
    }
    const auto start = [](const V& v) {
        return static_cast<int32_t>(
            std::find_if(v.begin(), v.end(), [](int32_t c) { return c > 0; }) - v.begin());
    };
    s.buyStart = start(buy);
    s.sellStart = start(sell);
    return s;
}

std::vector<double> asDouble(const V& v) {
    return std::vector<double>(v.begin(), v.end());
}

TEST(RatioStatistics, MatchTheDirectComputation) {
    constexpr int kSlots = 600;
    struct Case {
        std::string name;
        int period;
        std::function<void(V& buy, V& sell, Walk& w)> make;
    };
    const std::vector<Case> cases = {
        {"mean-reverting pair", 25,
         [](V& buy, V& sell, Walk& w) {
             int32_t b = 3000, gap = 0;
             for (int i = 0; i < kSlots; ++i) {
                 b += w.step(20);
                 gap = gap * 9 / 10 + w.step(15);
                 buy.push_back(b);
                 sell.push_back(b / 2 + gap);
             }
         }},
        // A ratio a hair from 1: sums of squares would lose every digit of the spread.
        {"ratio near one", 20,
         [](V& buy, V& sell, Walk& w) {
             int32_t b = 5'000'000;
             for (int i = 0; i < kSlots; ++i) {
                 b += w.step(3000);
                 buy.push_back(b);
                 sell.push_back(b + w.step(1));
             }
         }},
        // Exactly twice the sell close from slot 300 on: no deviation, no z, no half-life,
        // however varied the windows before were.
        {"constant ratio after a varied one", 25,
         [](V& buy, V& sell, Walk& w) {
             int32_t s = 1200;
             for (int i = 0; i < kSlots; ++i) {
                 s += w.step(10);
                 sell.push_back(s);
                 buy.push_back(i < 300 ? 2 * s + w.step(30) : 2 * s);
             }
         }},
        // The sell stock starts trading at slot 100, and stops moving for 40 slots later on.
        {"late leg and a still one", 10,
         [](V& buy, V& sell, Walk& w) {
             int32_t b = 800, s = 950;
             for (int i = 0; i < kSlots; ++i) {
                 b += w.step(8);
                 if (i < 400 || i >= 440) {
                     s += w.step(8);
                 }
                 buy.push_back(b);
                 sell.push_back(i < 100 ? 0 : s);
             }
         }},
    };
    for (const Case& c : cases) {
        V buy, sell;
        Walk w{42};
        c.make(buy, sell, w);
        RatioStatistics got;
        ASSERT_EQ(computeRatioStatistics(seriesOf(buy, sell), c.period, got), 1);
        EXPECT_EQ(got.period, c.period);
        expectMatches(got, directStatistics(asDouble(buy), asDouble(sell), c.period), c.name);
        expectMirrored(seriesOf(buy, sell), c.period, c.name);
    }
}

// Weekly bars from a price file with a 1:2 split of the buy stock in mid-week: the week
// keeps the split, and the ratio over it stays smooth.
class RatioFromPriceFile : public Installation {};

TEST_F(RatioFromPriceFile, WeeklyBarsWithASplit) {
    constexpr int kDays = 400;
    const auto days = weekdays(2021, 1, 4, kDays);
    DbwStock b{tokyo(1), "BUY", {}}, s{tokyo(2), "SELL", {}};
    Walk w{3};
    int32_t bp = 4000, sp = 1500;
    for (int i = 0; i < kDays; ++i) {
        bp += w.step(40);
        sp += w.step(15);
        const bool afterSplit = i >= 202;  // a Wednesday
        DbwRecord rb = traded(afterSplit ? bp / 2 : bp);
        if (i == 202) {
            rb.adjustment = 50;
        }
        b.records.push_back(rb);
        s.records.push_back(traded(sp));
    }
    writeDb("DBW.1", dbw(days, {b, s}));
    load();
    SpreadSeries series;
    ASSERT_EQ(buildPairSeries(md_, {}, PositionRecord{leg('T', 1), leg('T', 2)}, {1, 0, 0}, series)
                  .result,
              1);
    // Every weekly close before the split's week is in the old basis.
    size_t splitWeek = 0;
    for (size_t i = 0; i < series.buyBars.size(); ++i) {
        if (series.buyBars[i].adjustment == 50) {
            splitWeek = i;
        }
    }
    ASSERT_GT(splitWeek, 0u);
    std::vector<double> buy, sell;
    for (size_t i = 0; i < series.buyBars.size(); ++i) {
        const double c = series.buyBars[i].close;
        buy.push_back(i < splitWeek ? c / 2 : c);
        sell.push_back(series.sellBars[i].close);
    }
    RatioStatistics got;
    ASSERT_EQ(computeRatioStatistics(series, 8, got), 1);
    expectMatches(got, directStatistics(buy, sell, 8), "weekly");
    expectMirrored(series, 8, "weekly");
    // The split week is no outlier.
    EXPECT_LT(std::fabs(got.slots[splitWeek].z), 3.0);
}

}  // namespace
}  // namespace zepa::test
