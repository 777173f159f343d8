// The figures of a position whose legs split: the shares held and the entry close carried into
// each slot's basis; and the bars of the split-adjusted display.
#include <gtest/gtest.h>

#include <cmath>

#include "marketdata/split_adjustment.h"
#include "tests/splits/split_fixture.h"

namespace zepa::test {
namespace {

using I64 = std::vector<int64_t>;
using V = std::vector<int32_t>;
using D = std::vector<double>;

const std::vector<PackedDate> kTenDays = weekdays(2025, 3, 3, 10);  // 3/3 .. 3/14

std::vector<double> rates(const SpreadSeries& s, Leg leg) {
    std::vector<double> out;
    for (size_t i = 0; i < s.buyBars.size(); ++i) {
        out.push_back(std::round(legChangeRate(s, leg, static_cast<int32_t>(i)) * 1000) / 1000);
    }
    return out;
}

TEST_F(SplitSeries, ABuySplitAfterTheEntryKeepsWhatTheTraderMade) {
    write(kTenDays, buySplitOnSlot5(), records({500, 499, 498, 497, 496, 495, 494, 493, 492, 491}));
    build(250303);
    // 100 shares bought at 1000 are 200 shares from the ex-date on: 200 x 520 - 100,000 = 4,000,
    // as on the day before; the stored gains alone would show -48,000. The sell leg, unsplit,
    // adds 100 a day as it falls.
    EXPECT_EQ(profits(), (I64{0, 1100, 2200, 3300, 4400, 4500, 5600, 6700, 7800, 8900}));
    // The change rate against the current close in the same basis: 40 / 1040 and 20 / 520.
    EXPECT_EQ(rates(series_, Leg::Buy),
              (D{0, 0.990, 1.961, 2.913, 3.846, 3.846, 4.762, 5.660, 6.542, 7.407}));
    // Of the entry close instead: 40 / 1000, and after the split 20 / (1000 x 0.5); each leg's
    // own move, as with the current close. Without the option the rate is legChangeRate's.
    for (const Leg leg : {Leg::Buy, Leg::Sell}) {
        const DayBar* bars = storedBars(series_, leg).data();
        const double entry = storedEntryClose(series_, leg);
        for (int32_t i = 0; i < 10; ++i) {
            const double f = i >= 5 && leg == Leg::Buy ? 0.5 : 1.0;
            const double expected = (bars[i].close - entry * f) / (entry * f) * 100.0;
            double rate = 0.0;
            ASSERT_TRUE(shownChangeRate(series_, leg, i, true, rate));
            EXPECT_NEAR(rate, expected, 1e-9) << i;
            ASSERT_TRUE(shownChangeRate(series_, leg, i, false, rate));
            EXPECT_EQ(rate, legChangeRate(series_, leg, i));
        }
    }
    double rate = 0.0;
    series_.buyEntryClose = 0;  // no entry close: no rate of it
    EXPECT_FALSE(shownChangeRate(series_, Leg::Buy, 9, true, rate));
}

TEST_F(SplitSeries, SplitsBeforeTheEntryOrWithoutAnEntryChangeNothing) {
    write(kTenDays, buySplitOnSlot5(), records(V(10, 500)));
    for (const int32_t entry : {250311, 250310, 0}) {  // after, on and without an entry
        build(entry);
        EXPECT_TRUE(series_.buySplitSinceEntry.empty()) << entry;
        EXPECT_EQ(profits(), storedGainProfits()) << entry;
    }
}

TEST_F(SplitSeries, ASplitOnTheNewestBarAdjustsEveryOlderBar) {
    std::vector<DbwRecord> buy =
        records({1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 500});
    buy[9].adjustment = 50;
    write(kTenDays, buy, records(V(10, 500)));
    build(250303, {0, 0, 0, 1});
    EXPECT_EQ(column(series_.buyShownBars, &DayBar::close), V(10, 500));
}

TEST_F(SplitSeries, AMidWeekSplitInWeeklyBars) {
    // Three weeks; the stock splits 1:2 on the Wednesday of the second.
    std::vector<DbwRecord> buy =
        records({1000, 1010, 1020, 1030, 1040, 1050, 1060, 535, 540, 545, 550, 555, 560, 565, 570});
    buy[7].adjustment = 50;
    write(weekdays(2025, 3, 3, 15), buy, records(V(15, 500)));
    for (const int adjusted : {0, 1}) {
        build(250303, {1, 0, 0, adjusted});
        const std::vector<DayBar>& weeks = series_.buyBars;
        ASSERT_EQ(weeks.size() - series_.buyStart, 3u);
        const auto week = [&](int w) { return static_cast<int32_t>(series_.buyStart + w); };
        // The week carries its adjustment; its close is after the split. Entered on Monday at
        // its close of 1000: 100 x (1040 - 1000) in the first week, 100 x (545 / 0.5 - 1000) in
        // the second.
        EXPECT_EQ((V{weeks[week(1)].close, weeks[week(1)].adjustment}), (V{545, 50}));
        EXPECT_EQ((V{series_.buyEntryBar, series_.buyEntryClose}), (V{week(0), 1000}));
        EXPECT_EQ((I64{positionProfit(series_, position_, week(0)),
                       positionProfit(series_, position_, week(1)),
                       positionProfit(series_, position_, week(2))}),
                  (I64{4000, 9000, 14000}));
        // Stored or adjusted, the ex-week is formed in the basis of its last day: it opens at
        // Monday's 1049 / 2 and rises to Friday's high, without the pre-split prices of its first
        // days (stored, they made its high 1062).
        const DayBar& ex = (adjusted == 1 ? series_.buyShownBars : weeks)[week(1)];
        EXPECT_EQ((V{ex.open, ex.high, ex.low, ex.close}), (V{525, 547, 524, 545}));
        if (adjusted == 1) {
            EXPECT_EQ(series_.buyShownBars[week(0)].close, 520);
        }
    }
}

TEST_F(SplitSeries, AdjustedDisplayRunsOnWithTheNewestBarAndTheAverageOnTheCandles) {
    write(kTenDays, buySplitOnSlot5(), records(V(10, 500)));
    build(250303, {0, 3, 3, 1});
    const std::vector<DayBar>& shown = series_.buyShownBars;
    ASSERT_EQ(shown.size(), 10u);
    EXPECT_EQ(column(shown, &DayBar::close), (V{500, 505, 510, 515, 520, 520, 525, 530, 535, 540}));
    // Shares before the split count twice: the stored 1000 becomes 2000.
    EXPECT_EQ(column(shown, &DayBar::volume, 4, 6), (V{2000, 1000}));
    // The newest bar keeps its real prices; a leg without a split is shown as stored. (Not its
    // stored average: that one still holds the ex-date's close halved once it left the window.)
    const auto prices = [](const DayBar& b) { return V{b.open, b.high, b.low, b.close, b.volume}; };
    EXPECT_EQ(prices(shown[9]), prices(series_.buyBars[9]));
    EXPECT_TRUE(series_.sellShownBars.empty());
    // The average lies on the adjusted closes: the mean of the last three, truncated, also once
    // the ex-date has left its window.
    for (size_t i = 3; i < shown.size(); ++i) {
        const double mean = (shown[i - 2].close + shown[i - 1].close + shown[i].close) / 3.0;
        EXPECT_NEAR(shown[i].average, mean, 1.0) << i;
    }
}

TEST(SplitFactors, ProductsOfTheLaterAdjustmentsWithinBounds) {
    std::vector<DayBar> bars(6);
    bars[2].adjustment = 50;
    bars[3].adjustment = 100;  // a ratio of one
    bars[4].adjustment = 20;
    bars[0].adjustment = 50;  // before the leg's start: ignored
    EXPECT_EQ(splitBasisFactors(bars, 1), (D{1, 0.1, 0.2, 0.2, 1, 1}));
    StockSeries days{6,    std::vector(6, ymd(2025, 3, 3)), V(6), V(6), V(6), V(6),
                     V(6), {50, 0, 50, 100, 20, 0}};
    EXPECT_EQ(splitFactorsSinceEntry(days, 2), (D{1, 1, 1, 1, 0.2, 0.2}));
    EXPECT_TRUE(splitFactorsSinceEntry(days, 4).empty());
    EXPECT_TRUE(splitFactorsSinceEntry(days, -1).empty());

    // Hostile files: many extreme adjustments in a row stay finite and positive.
    std::vector<DayBar> hostile(400);
    for (size_t i = 0; i < hostile.size(); ++i) {
        hostile[i].adjustment = i < 200 ? 1 : 65535;
    }
    for (const double f : splitBasisFactors(hostile, 0)) {
        EXPECT_TRUE(f >= kMinSplitFactor && f <= kMaxSplitFactor) << f;
    }
    StockSeries hostileDays{
        400,    std::vector(400, ymd(2025, 3, 3)), V(400), V(400), V(400), V(400),
        V(400), std::vector<uint16_t>(400, 1)};
    EXPECT_EQ(splitFactorsSinceEntry(hostileDays, 0)[150], kMinSplitFactor);
    EXPECT_EQ((V{scaledPrice(2000000000, 1e9), scaledPrice(-2000000000, 1e9), scaledPrice(1, 1e-9),
                 scaledPrice(0, 1e-9), scaledPrice(5, 0.5)}),
              (V{INT32_MAX, INT32_MIN, 1, 0, 3}));
}

}  // namespace
}  // namespace zepa::test
