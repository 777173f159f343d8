// The held positions' table against the chart's own series and against figures worked out by
// hand on small installations.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "marketdata/margin_carry.h"
#include "marketdata/pair_series.h"
#include "marketdata/position_figures.h"
#include "marketdata/ratio_statistics.h"
#include "positions/position_overview.h"
#include "tests/positions/positions_fixture.h"

namespace zepa::test {
namespace {

TEST(MarginDeadline, SixMonthsOnClampedToTheMonthAndBackToATradingDay) {
    // 2026-02-27 is a holiday of this calendar: the deadline moves back to the 26th.
    const std::vector<int32_t> holiday = {20260224, 20260225, 20260226, 20260302, 20260303};
    const struct {
        int32_t entry;
        std::vector<int32_t> dates;
        int32_t deadline;
    } cases[] = {
        {20230831, {}, 20240229},          // leap year: February's last day, a Thursday
        {20250831, {}, 20260227},          // 2026-02-28 is a Saturday: back to Friday
        {20250831, holiday, 20260226},     // on the calendar: its last date on or before
        {20250331, {}, 20250930},          // September has 30 days
        {20241229, {}, 20250627},          // 2025-06-29 is a Sunday
        {20250103, {20250701}, 20250703},  // beyond the calendar: weekdays
        {20250230, {}, 0},                 // no date
        {0, {}, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(marginDeadline(c.entry, c.dates), c.deadline) << c.entry;
    }
}

TEST(MarginCarry, DayNumbersNeverRunBackAndCostsStayFinite) {
    const int32_t d0303 = dayNumberOf(20250303);
    EXPECT_EQ(tradingDayNumbers({20250303, 20250228, 20250230, 20250305}),
              (std::vector<int32_t>{d0303, d0303, d0303, d0303 + 2}));
    EXPECT_EQ(carryCost(1e308, 10.0, 365), 0.0);
    EXPECT_EQ(carryCost(std::numeric_limits<double>::infinity(), 0.0, 1), 0.0);
}

TEST(OverviewTexts, SignalsJoinedInTheirOrderAndCountedForTheStatusBar) {
    EXPECT_EQ(signalsText(0), "");
    EXPECT_EQ(signalsText(kSignalDeadline | kSignalTakeProfit), "利確・期日");
    EXPECT_EQ(signalsText(kSignalStop | kSignalDeadline), "損切・期日");
    OverviewTotals totals;
    EXPECT_EQ(overviewStatusText(totals), "");
    totals.takeProfit = 2;
    totals.deadline = 1;
    EXPECT_EQ(overviewStatusText(totals), "合図: 利確 2・期日 1 — 建玉一覧 (Ctrl+L)");
}

// Ten weekdays 2025-03-03 .. 2025-03-14; T1111 splits 1:2 on 2025-03-10.
class OverviewTest : public PositionsFixture {
  protected:
    static PositionRecord pair(int32_t buyCode, int32_t sellCode, int32_t entry, int32_t quantity,
                               int32_t sellEntry = 0) {
        PositionRecord p{leg('T', buyCode, entry),
                         leg('T', sellCode, sellEntry ? sellEntry : entry)};
        p.buy.quantity = quantity;
        p.sell.quantity = quantity;
        return p;
    }
    PositionOverview overview(const std::vector<PositionRecord>& records,
                              const OverviewSettings& settings = {}) {
        PositionTable table;
        table.records = records;
        table.positionCount = static_cast<int>(records.size());
        for (size_t i = 0; i < records.size(); ++i) {
            table.lines.push_back(static_cast<int32_t>(i) + 2);
        }
        PositionOverview out;
        EXPECT_EQ(computePositionOverview(md_, {}, table, settings, out), OverviewResult::Ok);
        return out;
    }
};

TEST_F(OverviewTest, SplitInsideTheHoldingGivesTheChartsProfitAndEntryValue) {
    const PositionRecord p = pair(1111, 2222, 250303, 100);
    OverviewSettings settings;
    settings.ratioPeriod = 5;
    const OverviewRow row = overview({p}, settings).rows.at(0);
    ASSERT_EQ(row.problem, "");

    // By hand: 1000 -> 540 after a 1:2 split is 1080 per share entered; the sell leg 500 -> 545.
    EXPECT_EQ(row.profit, 100 * (1080 - 1000) - 100 * (545 - 500));
    EXPECT_EQ(row.dayChange, 100 * (1080 - 1070) - 100 * (545 - 540));
    ASSERT_TRUE(row.profitRate);
    EXPECT_NEAR(*row.profitRate, 3500.0 / (100 * 1000 + 100 * 500), 1e-12);

    // And as the chart has them: its series, its profit, its ratio figures at the newest date.
    SpreadSeries chart;
    ASSERT_EQ(buildPairSeries(md_, {}, p, PairSeriesOptions{}, chart).result, 1);
    const auto last = static_cast<int32_t>(chart.buyBars.size()) - 1;
    EXPECT_EQ(row.profit, positionProfit(chart, p, last));
    EXPECT_EQ(row.dayChange, positionProfit(chart, p, last) - positionProfit(chart, p, last - 1));
    RatioStatistics ratio;
    ASSERT_EQ(computeRatioStatistics(chart, 5, ratio), 1);
    const RatioSlot& at = ratio.slots.back();
    ASSERT_TRUE(at.hasZ && row.z);
    // The same windows, slid over fewer slots: equal but for the last digits.
    const auto near = [](double a, double b) {
        return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b));
    };
    EXPECT_PRED2(near, *row.z, at.z);
    ASSERT_EQ(at.hasCorrelation, row.correlation.has_value());
    if (at.hasCorrelation) {
        EXPECT_PRED2(near, *row.correlation, at.correlation);
    }
    ASSERT_EQ(at.hasHalfLife, row.halfLife.has_value());
    if (at.hasHalfLife) {
        EXPECT_PRED2(near, *row.halfLife, at.halfLife);
    }
}

TEST_F(OverviewTest, CarryCountsSettlementDaysAcrossTheWeekendAndPastTheData) {
    OverviewSettings settings;
    settings.buyRate = 0.03;
    settings.borrowRate = 0.01;
    // Entered Thursday 2025-03-06: settles Monday 03-10. The newest date, Friday 03-14, settles
    // Tuesday 03-18, two weekdays past the data: 9 days, both ends counted.
    const OverviewRow row = overview({pair(2222, 4444, 250306, 200)}, settings).rows.at(0);
    ASSERT_EQ(row.problem, "");
    const double buyValue = 200.0 * 515;
    const double sellValue = 200.0 * 100;
    const double carry = (buyValue * 0.03 + sellValue * 0.01) * 9 / 365;
    ASSERT_TRUE(row.carry);
    EXPECT_NEAR(*row.carry, carry, 1e-9);
    EXPECT_EQ(row.profit, 200 * (545 - 515));
    EXPECT_EQ(row.net, std::llround(200 * (545 - 515) - carry));

    // Entered on a Sunday: the fill is Monday 03-10, settling Wednesday 03-12: 7 days.
    const OverviewRow sunday = overview({pair(2222, 4444, 250309, 200)}, settings).rows.at(0);
    EXPECT_NEAR(sunday.carry.value_or(-1), (200.0 * 525 * 0.03 + sellValue * 0.01) * 7 / 365, 1e-9);
}

TEST_F(OverviewTest, DaysHeldAndLeftCountFromTheLaterAndTheEarlierEntry) {
    const OverviewRow row = overview({pair(2222, 4444, 250304, 100, 250307)}).rows.at(0);
    EXPECT_EQ(row.daysHeld, 7);         // 03-07 .. 03-14
    EXPECT_EQ(row.deadline, 20250904);  // from the earlier entry, 03-04 + six months
    EXPECT_EQ(row.daysLeft, 174);       // 03-14 .. 09-04
}

TEST_F(OverviewTest, EachSignalAtExactlyItsLevel) {
    OverviewSettings base;
    base.ratioPeriod = 5;
    const PositionRecord p = pair(1111, 2222, 250303, 100);
    const OverviewRow probe = overview({p}, base).rows.at(0);
    ASSERT_TRUE(probe.z && probe.daysLeft);
    const double z = *probe.z;
    constexpr double kOff = 99.0;  // a z level no ratio here reaches
    const struct {
        const char* name;
        double exit;
        double stop;
        int32_t deadlineDays;
        unsigned signals;
    } cases[] = {
        {"at the exit level", -z, kOff, 0, kSignalTakeProfit},
        {"just short of it", std::nextafter(-z, -100.0), kOff, 0, 0},
        {"at the stop level", -kOff, -z, 0, kSignalStop},
        {"just short of it", -kOff, std::nextafter(-z, 100.0), 0, 0},
        {"at the deadline", -kOff, kOff, *probe.daysLeft, kSignalDeadline},
        {"a day before it", -kOff, kOff, *probe.daysLeft - 1, 0},
        {"all three", -z, -z, *probe.daysLeft, kSignalTakeProfit | kSignalStop | kSignalDeadline},
    };
    for (const auto& c : cases) {
        OverviewSettings s = base;
        s.exit = c.exit;
        s.stop = c.stop;
        s.deadlineDays = c.deadlineDays;
        const PositionOverview o = overview({p}, s);
        EXPECT_EQ(o.rows.at(0).signals, c.signals) << c.name;
        // The status line counts each signal apart.
        const auto has = [&](unsigned signal) { return (c.signals & signal) != 0 ? 1 : 0; };
        EXPECT_EQ((std::vector{o.totals.takeProfit, o.totals.stop, o.totals.deadline}),
                  (std::vector{has(kSignalTakeProfit), has(kSignalStop), has(kSignalDeadline)}))
            << c.name;
    }
}

TEST_F(OverviewTest, ProblemRowsSayWhyAndTheTotalsLeaveThemOut) {
    OverviewSettings settings;
    settings.ratioPeriod = 5;
    settings.deadlineDays = 400;  // every row with figures calls 期日
    const PositionOverview o =
        overview({pair(1111, 2222, 250303, 100), pair(2222, 9999, 250303, 100),
                  pair(2222, 4444, 250310, 300), pair(2222, 4444, 250401, 100)},
                 settings);
    ASSERT_EQ(o.rows.size(), 4U);
    EXPECT_EQ(o.rows[1].problem,
              "指定銘柄は登録されていません\n売りの銘柄 T9999 が株価データにありません"
              "（建玉ファイル 3 行目）");
    EXPECT_FALSE(o.rows[1].profit);
    EXPECT_EQ(o.rows[3].problem, kNoPriceSinceEntry);

    const OverviewTotals& t = o.totals;
    EXPECT_EQ(t.counted, 2);
    EXPECT_EQ(t.leftOut, 2);
    EXPECT_EQ(t.profit, 3500 + 300 * (545 - 525));
    EXPECT_EQ(t.dayChange, *o.rows[0].dayChange + 300 * (545 - 540));
    EXPECT_NEAR(t.carry, *o.rows[0].carry + *o.rows[2].carry, 1e-9);
    EXPECT_EQ(t.net, *o.rows[0].net + *o.rows[2].net);
    EXPECT_EQ(t.deadline, 2);
}

}  // namespace
}  // namespace zepa::test
