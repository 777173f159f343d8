// The screen's fast path against the per-pair definitions.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "tests/screen/screen_market_fixture.h"

namespace zepa {
namespace {

using test::closesOf;
using test::directPair;
using test::randomMarket;

// Both missing, or both there and within the tolerance (relative above 1).
void expectSame(std::optional<double> actual, std::optional<double> expected, double tolerance,
                const char* what) {
    ASSERT_EQ(actual.has_value(), expected.has_value()) << what;
    if (actual) {
        EXPECT_NEAR(*actual, *expected, tolerance * std::max(1.0, std::abs(*expected))) << what;
    }
}

ScreenOptions allPairs(int32_t days, int32_t shortDays) {
    ScreenOptions o;
    o.days = days;
    o.shortDays = shortDays;
    o.ratioPeriod = 25;
    o.top = 1'000'000;
    o.threads = 2;
    return o;
}

// 260 stocks (two tiles, so pairs cross the tile edge) over 50 dates, with the universe's edge
// cases: a stock that never moves and one that moves once, dates missing under and over 2 %, no
// close on the first date; and one planted reverting pair.
TEST(ScreenRun, EveryPairAgreesWithItsDefinition) {
    ScreenMarket m = randomMarket(260, 50, 7);
    std::fill_n(closesOf(m, 3), 50, 321.0);  // never moves
    std::fill_n(closesOf(m, 4), 50, 321.0);  // moves once: kept, never a NaN
    closesOf(m, 4)[40] = 322.0;
    closesOf(m, 5)[30] = 0;                       // 49 of 50 dates, 98 %: kept
    closesOf(m, 6)[30] = closesOf(m, 6)[31] = 0;  // 48 of 50: out
    closesOf(m, 7)[0] = 0;                        // no close on the first date: out
    test::plantReverting(m, 250, 258, 0.2, 11);
    std::transform(closesOf(m, 9), closesOf(m, 9) + 50, closesOf(m, 8),  // a perfect fit: no t
                   [](double c) { return c * c; });
    const ScreenOptions o = allPairs(50, 20);
    ScreenResult r;
    ASSERT_EQ(runScreen(m, o, r), ScreenOutcome::Done);
    ASSERT_EQ(r.universe, 257);  // 3, 6 and 7 left out
    const int64_t formed = 257 * 256 / 2;
    ASSERT_EQ(r.funnel.size(), 7u);
    for (const FunnelStage& s : r.funnel) {
        EXPECT_EQ(s.pairs, formed) << s.stage;
    }
    ASSERT_EQ(static_cast<int64_t>(r.pairs.size()), formed);

    std::vector<double> p;
    int64_t withoutT = 0;
    for (const ScreenPair& pair : r.pairs) {
        withoutT += pair.adfT ? 0 : 1;
        const auto a = static_cast<size_t>(pair.a);
        const auto b = static_cast<size_t>(pair.b);
        const test::DirectPair d = directPair(m, a, b, 50, 20);
        expectSame(pair.correlation, d.correlation, 1e-10, "correlation");
        expectSame(pair.correlationShort, d.correlationShort, 1e-10, "correlation_short");
        expectSame(pair.ssd, d.ssd, 1e-9, "ssd");
        expectSame(pair.beta, d.ab.beta, 1e-9, "beta");
        expectSame(pair.adfT, d.ab.t, 1e-7, "adf_t");
        expectSame(pair.halfLife, d.halfLife, 1e-6, "half_life");
        expectSame(pair.z, ratioZ({closesOf(m, a) + 25, 25}, {closesOf(m, b) + 25, 25}), 1e-9, "z");
        EXPECT_EQ(pair.crossings, d.crossings);
        if (pair.adfT) {
            // a is the regressed stock of the lower t.
            EXPECT_TRUE(!d.ba.t || *d.ab.t <= *d.ba.t + 1e-9);
            EXPECT_EQ(*pair.p, mackinnonP(*pair.adfT));
            p.push_back(*pair.p);
        }
    }
    // q: Benjamini-Hochberg over every pair formed.
    const std::vector<double> q = benjaminiHochberg(p, static_cast<size_t>(formed));
    for (size_t k = 0, i = 0; k < r.pairs.size(); ++k) {
        if (r.pairs[k].p) {
            EXPECT_NEAR(*r.pairs[k].q, q[i++], 1e-12);
        }
    }
    // Ranked by p; the planted pair first but for the step of stock 4, whose residual jumps once
    // (a Dickey-Fuller t as low as any: the turnover filter is what keeps such stocks out).
    const auto planted = std::find_if(r.pairs.begin(), r.pairs.end(),
                                      [](const ScreenPair& p) { return p.a != 4 && p.b != 4; });
    EXPECT_EQ(std::min(planted->a, planted->b), 250);
    EXPECT_EQ(std::max(planted->a, planted->b), 258);
    for (size_t k = 1; k < r.pairs.size(); ++k) {
        EXPECT_FALSE(ranksBefore(m, ScreenColumn::P, r.pairs[k], r.pairs[k - 1]));
    }
    // A p filter that every p passes still drops the pairs without one.
    ScreenOptions anyP = o;
    anyP.maxP = 1.0;
    ASSERT_EQ(runScreen(m, anyP, r), ScreenOutcome::Done);
    EXPECT_GT(withoutT, 0);
    EXPECT_EQ(static_cast<int64_t>(r.pairs.size()), formed - withoutT);
}

// Two stocks at 1 but for one day each (a log close of exactly 0, so both means are exact and
// equal): their spread stands exactly on its mean on every other day, where no side changes.
TEST(ScreenRun, ADayOnTheMeanChangesNoSide) {
    ScreenMarket m = randomMarket(3, 50, 13);
    for (const auto& [stock, day] : {std::pair{1, 16}, {2, 32}}) {
        std::fill_n(closesOf(m, stock), 50, 1.0);
        closesOf(m, stock)[day] = 1.5;
    }
    ScreenResult r;
    ASSERT_EQ(runScreen(m, allPairs(50, 20), r), ScreenOutcome::Done);
    ASSERT_EQ(r.pairs.size(), 3u);
    for (const ScreenPair& pair : r.pairs) {
        const test::DirectPair d =
            directPair(m, static_cast<size_t>(pair.a), static_cast<size_t>(pair.b), 50, 20);
        EXPECT_EQ(pair.crossings, d.crossings) << pair.a << "-" << pair.b;
        if (pair.a + pair.b == 3) {
            EXPECT_EQ(pair.crossings, 250.0 / 50);  // one change of side, from above to below
        }
    }
}

// The funnel of the default filters against the definitions' counts, with thresholds on both
// sides of the single-precision first filter's margin.
TEST(ScreenRun, FunnelCountsWhatTheDefinitionsPass) {
    ScreenMarket m = randomMarket(70, 120, 3);
    for (size_t k = 0; k < 10; ++k) {
        test::plantReverting(m, k, 60 + k, 0.3 + 0.06 * k, 100 + k);
    }
    for (const double minCorrelation : {0.3, 0.5, 0.7, 0.9}) {
        ScreenOptions o = allPairs(120, 30);
        o.minCorrelation = minCorrelation;
        applyDefaultFilters(o);
        o.maxQ = 0.2;
        o.minAbsZ = 0.5;
        ScreenResult r;
        ASSERT_EQ(runScreen(m, o, r), ScreenOutcome::Done);
        int64_t expected[5] = {};
        std::vector<double> p;
        for (size_t a = 0; a < 70; ++a) {
            for (size_t b = a + 1; b < 70; ++b) {
                const test::DirectPair d = directPair(m, a, b, 120, 30);
                ++expected[0];
                if (*d.correlation < minCorrelation) {
                    continue;
                }
                ++expected[1];
                if (!d.correlationShort || *d.correlationShort < 0.5) {
                    continue;
                }
                ++expected[2];
                const EngleGranger& eg = !d.ba.t || (d.ab.t && *d.ab.t <= *d.ba.t) ? d.ab : d.ba;
                p.push_back(mackinnonP(*eg.t));
                if (p.back() > 0.05) {
                    continue;
                }
                ++expected[3];
                expected[4] += d.halfLife && *d.halfLife >= 1 && *d.halfLife <= 60 ? 1 : 0;
            }
        }
        for (int s = 0; s < 5; ++s) {
            EXPECT_EQ(r.funnel[s].pairs, expected[s]) << r.funnel[s].stage << " " << minCorrelation;
        }
        // The q and z stages over what is left: each listed pair passes both.
        EXPECT_EQ(static_cast<int64_t>(r.pairs.size()), r.funnel[6].pairs);
        for (const ScreenPair& pair : r.pairs) {
            EXPECT_LE(*pair.q, 0.2);
            EXPECT_GE(std::abs(*pair.z), 0.5);
        }
    }
}

TEST(ScreenRun, IndustryAndLendingFormOnlyTheirPairs) {
    ScreenMarket m = randomMarket(30, 40, 5);
    for (size_t k = 0; k < m.stocks.size(); ++k) {
        m.stocks[k].sector33 = k % 4 == 3 ? "" : std::to_string(k % 4);
        m.stocks[k].sector17 = "1";
        m.stocks[k].marginCode = k % 2 == 0 ? 2 : 1;
    }
    ScreenOptions o = allPairs(40, 20);
    o.sector = 33;
    ScreenResult r;
    ASSERT_EQ(runScreen(m, o, r), ScreenOutcome::Done);
    EXPECT_EQ(r.universe, 30);
    // Industries 0, 1, 2 of 8, 8 and 7 stocks; the 7 without one pair with nothing.
    EXPECT_EQ(r.funnel[0].pairs, 28 + 28 + 21);
    o.sector = 17;
    o.borrowable = true;
    ASSERT_EQ(runScreen(m, o, r), ScreenOutcome::Done);
    EXPECT_EQ(r.funnel[0].pairs, 15 * 14 / 2);
}

TEST(ScreenRun, CountsItsTilesAndStopsWhenCancelled) {
    const ScreenMarket m = randomMarket(300, 40, 5);
    ScreenOptions o = allPairs(40, 20);
    std::atomic<bool> cancel{false};
    std::atomic<int64_t> done{0};
    std::atomic<int64_t> count{0};
    o.cancel = &cancel;
    o.tilesDone = &done;
    o.tileCount = &count;
    ScreenResult r;
    ASSERT_EQ(runScreen(m, o, r), ScreenOutcome::Done);
    EXPECT_EQ(count.load(), 3);  // 300 columns: two tiles a side, three tile pairs
    EXPECT_EQ(done.load(), 3);
    EXPECT_FALSE(r.pairs.empty());
    cancel = true;
    EXPECT_EQ(runScreen(m, o, r), ScreenOutcome::Cancelled);
    EXPECT_TRUE(r.pairs.empty() && r.funnel.empty() && r.universe == 0);
}

TEST(ScreenRun, SortsEachColumnBestFirst) {
    const ScreenMarket m = randomMarket(25, 80, 9);
    // Each column's value, lower for the better pair (a missing one worst).
    const std::pair<ScreenColumn, double (*)(const ScreenPair&)> table[] = {
        {ScreenColumn::Q, [](const ScreenPair& p) { return *p.q; }},
        {ScreenColumn::AdfT, [](const ScreenPair& p) { return *p.adfT; }},
        {ScreenColumn::Ssd, [](const ScreenPair& p) { return p.ssd; }},
        {ScreenColumn::HalfLife, [](const ScreenPair& p) { return p.halfLife.value_or(1e300); }},
        {ScreenColumn::Correlation, [](const ScreenPair& p) { return -p.correlation; }},
        {ScreenColumn::CorrelationShort, [](const ScreenPair& p) { return -*p.correlationShort; }},
        {ScreenColumn::Crossings, [](const ScreenPair& p) { return -p.crossings; }},
        {ScreenColumn::Z, [](const ScreenPair& p) { return -std::abs(p.z.value_or(0.0)); }},
    };
    ScreenOptions o = allPairs(80, 20);
    ScreenResult all;
    ASSERT_EQ(runScreen(m, o, all), ScreenOutcome::Done);
    o.top = 20;
    for (const auto& [column, value] : table) {
        o.sort = column;
        ScreenResult r;
        ASSERT_EQ(runScreen(m, o, r), ScreenOutcome::Done);
        ASSERT_EQ(r.pairs.size(), 20u);
        for (size_t k = 1; k < r.pairs.size(); ++k) {
            EXPECT_LE(value(r.pairs[k - 1]), value(r.pairs[k])) << screenColumnName(column);
        }
        for (const ScreenPair& p : all.pairs) {
            EXPECT_LE(value(r.pairs[0]), value(p)) << screenColumnName(column);
        }
    }
}

}  // namespace
}  // namespace zepa
