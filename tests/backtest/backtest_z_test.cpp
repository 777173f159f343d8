// The backtest's z against the ratio chart's, and the batch against one pair at a time.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "marketdata/pair_series.h"
#include "marketdata/ratio_statistics.h"
#include "screen/backtest_batch.h"
#include "screen/backtest_z.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

// Two related random walks over 200 weekdays. Stock 1 splits 1:2 on slot 90; stock 2 does not
// trade on slot 50; both stand still on slots 120 to 159.
std::vector<DbwStock> walkingPair(uint32_t seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> step(0.0, 0.01);
    DbwStock one{tokyo(1001), "ONE", {}};
    DbwStock two{tokyo(1002), "TWO", {}};
    double common = 1000;
    double spread = 0;
    for (int i = 0; i < 200; ++i) {
        if (i < 120 || i >= 160) {
            common *= std::exp(step(random));
            spread = 0.8 * spread + step(random);
        }
        const double first = common * std::exp(spread) / (i >= 90 ? 2 : 1);
        one.records.push_back(traded(static_cast<int32_t>(std::lround(first))));
        two.records.push_back(i == 50 ? DbwRecord{} : traded(static_cast<int32_t>(common * 0.7)));
    }
    one.records[90].adjustment = 50;
    return {one, two};
}

TEST(BacktestZ, EqualsTheRatioChartsAtEverySlot) {
    TempInstallation dir;
    dir.writeDb("DBW.2024", dbw(weekdays(2024, 1, 1, 200), walkingPair(7)));
    MarketData md;
    md.dataDirectory = dir.paths.dataDirectory;
    ASSERT_EQ(scanPriceDatabases(md), DataError::None);
    ASSERT_EQ(loadPriceDatabases(md), DataError::None);
    PositionRecord record{leg('T', 1001), leg('T', 1002)};
    SpreadSeries series;
    ASSERT_EQ(buildPairSeries(md, CorrectionList{}, record, {}, series).result, 1);
    BacktestLegData a;
    BacktestLegData b;
    ASSERT_EQ(makeBacktestLeg(series.buyBars, series.buyStart, a), 1);
    ASSERT_EQ(makeBacktestLeg(series.sellBars, series.sellStart, b), 1);
    BacktestLegData once;  // as a batch reads the stock alone
    ASSERT_EQ(findStock(md, tokyo(1001)), 0);
    ASSERT_EQ(readStockSeries(md), kSeriesBuilt);
    ASSERT_EQ(makeBacktestLegFromSeries(md.series, 1, md.set.dateCount, once), 1);
    EXPECT_EQ(once.adjustedClose, a.adjustedClose);
    EXPECT_EQ(once.open, a.open);
    const BacktestPair pair{a.view(), b.view(), static_cast<int32_t>(series.buyBars.size())};
    for (const int32_t period : {5, 25}) {
        RatioStatistics chart;
        ASSERT_EQ(computeRatioStatistics(series, period, chart), 1);
        std::vector<double> z(series.buyBars.size());
        computeBacktestZ(pair, period, static_cast<int32_t>(z.size()), z.data());
        int withZ = 0;
        for (size_t i = 0; i < z.size(); ++i) {
            const RatioSlot& slot = chart.slots[i];
            ASSERT_EQ(slot.hasZ, !std::isnan(z[i])) << "period " << period << " slot " << i;
            if (slot.hasZ) {
                ++withZ;
                EXPECT_NEAR(z[i], slot.z, 1e-9 * std::max(1.0, std::abs(slot.z)))
                    << "period " << period << " slot " << i;
            }
        }
        // The gap, the split and the flat stretch leave z where the windows allow it.
        EXPECT_GT(withZ, 100) << period;
        // The legs the other way round: exactly -z at every slot, none where there was none.
        const BacktestPair reversed{pair.b, pair.a, pair.slotCount};
        std::vector<double> mirrored(z.size());
        computeBacktestZ(reversed, period, static_cast<int32_t>(z.size()), mirrored.data());
        for (size_t i = 0; i < z.size(); ++i) {
            ASSERT_EQ(std::isnan(z[i]), std::isnan(mirrored[i])) << period << " slot " << i;
            if (!std::isnan(z[i])) {
                EXPECT_EQ(mirrored[i], -z[i]) << period << " slot " << i;
            }
        }
    }
}

TEST(BacktestBatch, GivesEachPairWhatItGivesAlone) {
    // Six random walks, every ordered pair of them five times over and one more: chunks for both
    // threads, and a pair that runs beside itself.
    constexpr int32_t kSlots = 300;
    std::mt19937 random(11);
    std::normal_distribution<double> step(0.0, 0.02);
    std::vector<BacktestLegData> data(6);
    std::vector<BacktestLeg> legs;
    for (BacktestLegData& leg : data) {
        double price = 1000;
        std::vector<DayBar> bars(kSlots);
        for (DayBar& bar : bars) {
            price *= std::exp(step(random));
            bar.open = static_cast<int32_t>(price * 1.003);
            bar.close = static_cast<int32_t>(price);
        }
        ASSERT_EQ(makeBacktestLeg(bars, 0, leg), 1);
        legs.push_back(leg.view());
    }
    std::vector<BacktestPairIndex> pairs;
    for (int32_t k = 0; k < 181; ++k) {  // the last chunk odd
        pairs.push_back({k % 6, k / 6 % 6});
    }
    const BacktestCalendar calendar =
        makeBacktestCalendar(column(weekdays(2023, 6, 1, kSlots), dateValue));
    // The batch decides most dates without computing z: rules that put every level on either
    // side of 0 and every exit to work.
    const BacktestRule rules[] = {
        {.ratioPeriod = 10, .startDate = calendar.dates[40]},
        {.ratioPeriod = 5,
         .entry = 1.2,
         .exit = 0.4,
         .stop = 1.9,
         .maxDays = 9,
         .fill = BacktestFill::Close},
        {.ratioPeriod = 7, .entry = 0.5, .exit = -0.6, .stop = 1.1, .maxDays = 5}};
    for (const BacktestRule& rule : rules) {
        std::vector<BacktestStats> batch(pairs.size());
        ASSERT_EQ(runBacktestBatch(legs, pairs, kSlots, calendar, rule, 2, batch), 1);
        int exits[3] = {};
        for (size_t k = 0; k < pairs.size(); ++k) {
            BacktestWorkspace ws;
            BacktestStats alone;
            const BacktestPair pair{legs[size_t(pairs[k].a)], legs[size_t(pairs[k].b)], kSlots};
            ASSERT_EQ(runBacktest(pair, calendar, rule, ws, alone), 1);
            const BacktestStats& b = batch[k];
            EXPECT_EQ((std::vector<int64_t>{b.trades, b.net, b.openNet, b.stopExits, b.timeExits}),
                      (std::vector<int64_t>{alone.trades, alone.net, alone.openNet, alone.stopExits,
                                            alone.timeExits}))
                << k;
            // The same pair the other way round trades the same dates for the same money.
            BacktestStats reversed;
            const BacktestPair other{pair.b, pair.a, kSlots};
            ASSERT_EQ(runBacktest(other, calendar, rule, ws, reversed), 1);
            EXPECT_EQ((std::vector<int64_t>{reversed.trades, reversed.net, reversed.openNet}),
                      (std::vector<int64_t>{alone.trades, alone.net, alone.openNet}))
                << k;
            exits[0] += alone.targetExits;
            exits[1] += alone.stopExits;
            exits[2] += alone.timeExits;
        }
        EXPECT_GT(exits[0] + exits[1] + exits[2], 100);
        EXPECT_TRUE(rule.ratioPeriod == 10 || (exits[1] > 20 && exits[2] > 20)) << exits[1];
    }
    const std::vector<BacktestPairIndex> outside = {{0, 6}};
    std::vector<BacktestStats> batch(1);
    EXPECT_EQ(runBacktestBatch(legs, outside, kSlots, calendar, rules[0], 2, batch), 0);
}

}  // namespace
}  // namespace zepa::test
