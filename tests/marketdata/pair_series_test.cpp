// The two legs of a position built from price files, and the weekly bars and moving averages
// they are made of.
#include <gtest/gtest.h>

#include <array>

#include "marketdata/moving_average.h"
#include "marketdata/pair_series.h"
#include "marketdata/position_figures.h"
#include "marketdata/weekly_bars.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

using V = std::vector<int32_t>;
using Lines = std::vector<std::string>;

// "date open high low close volume gain average"
std::string barText(const DayBar& b) {
    std::string out = std::to_string(dateValue(b.date));
    for (int32_t v : {b.open, b.high, b.low, b.close, b.volume, b.gain, b.average}) {
        out += " " + std::to_string(v);
    }
    return out;
}

class PairSeries : public Installation {
  protected:
    PairSeriesResult build(const PositionLeg& buy, const PositionLeg& sell, int buyPeriod = 0,
                           int sellPeriod = 0, int weekly = 0) {
        return buildPairSeries(md_, corrections_, PositionRecord{buy, sell},
                               {weekly, buyPeriod, sellPeriod}, series_);
    }
    V legStarts() const { return {series_.buyStart, series_.sellStart, series_.firstBar}; }
    V entryBars() const { return {series_.buyEntryBar, series_.sellEntryBar}; }
    V closes(const std::vector<DayBar>& bars) const { return column(bars, &DayBar::close); }

    CorrectionList corrections_;
    SpreadSeries series_;
};

TEST_F(PairSeries, LegsAreAlignedAtTheNewestDate) {
    // The sell stock is missing from the middle of three files, so its slots 50..99 hold the
    // first file's dates; the buy leg keeps its own dates there.
    const auto days = weekdays(2019, 1, 7, 300);
    const int bounds[] = {0, 50, 100, 300};
    for (int f = 0; f < 3; ++f) {
        DbwFile file;
        DbwStock b{tokyo(1111), "BUYSTOCKNAME", {}}, s{tokyo(2222), "SELL", {}};
        for (int i = bounds[f]; i < bounds[f + 1]; ++i) {
            file.dates.push_back(days[i]);
            b.records.push_back(traded(1000 + i));
            s.records.push_back(traded(500 + i));
        }
        file.stocks = f == 1 ? std::vector{b} : std::vector{b, s};
        writeDb("DBW." + std::to_string(f + 1), file);
    }
    load();
    const PairSeriesResult r = build(leg('T', 1111), leg('T', 2222, 190805));  // day 150
    ASSERT_EQ(r.result, 1);
    EXPECT_EQ(legStarts(), (V{0, 50, 0}));
    EXPECT_EQ(entryBars(), (V{-1, 150}));
    EXPECT_STREQ(series_.buyStockName, "BUYSTOCK");
    EXPECT_STREQ(series_.sellStockName, "SELL    ");

    // Slot 50 on shows the sell leg's dates in both legs; gains count from the entry bar.
    const auto slots = [](const std::vector<DayBar>& bars) {
        return Lines{barText(bars[49]), barText(bars[50]), barText(bars[299])};
    };
    EXPECT_EQ(slots(series_.buyBars), (Lines{"20190315 1048 1051 1046 1049 1000 0 1049",
                                             "20190107 1049 1052 1047 1050 1000 0 1050",
                                             "20200228 1298 1301 1296 1299 1000 0 1299"}));
    EXPECT_EQ(slots(series_.sellBars),
              (Lines{"19700000 0 0 0 0 0 0 0", "20190107 499 502 497 500 1000 0 500",
                     "20200228 798 801 796 799 1000 -149 799"}));
}

TEST_F(PairSeries, EntryDatesAcrossTheCenturyPivot) {
    // YYMMDD: 70-99 stand for 19xx, 00-69 for 20xx; a weekend date enters on the next bar.
    writeDb("DBW.1", dbw({ymd(1999, 12, 29), ymd(1999, 12, 30), ymd(2000, 1, 4), ymd(2000, 1, 5),
                          ymd(2002, 1, 4), ymd(2002, 1, 7)},
                         {stock(tokyo(1), "S", {10, 20, 30, 40, 50, 60})}));
    load();
    const struct {
        int32_t buyEntry, sellEntry;
        V entries;
    } rows[] = {{991231, 105, {2, 3}}, {20105, 691231, {5, -1}}, {700101, 0, {0, -1}}};
    for (const auto& row : rows) {
        ASSERT_EQ(build(leg('T', 1, row.buyEntry), leg('T', 1, row.sellEntry)).result, 1);
        EXPECT_EQ(entryBars(), row.entries) << row.buyEntry;
    }
}

TEST_F(PairSeries, CorrectedLegsAndAverages) {
    writeText(paths.correctionFile, "1234\n");
    loadCorrectionList(paths.correctionFile, corrections_);
    const V corrected = {100, 101, 103, 106, 110, 115, 121, 128},
            plain = {10, 11, 13, 17, 20, 31, 7, 9};
    writeDb("DBW.1", dbw(weekdays(2024, 4, 1, 8),
                         {stock(tokyo(1234), "T", corrected), stock(200001234, "O", corrected),
                          stock(tokyo(5678), "P", plain)}));
    load();

    // Prices and the average times 100, the volume as stored, the gain from the entry close.
    ASSERT_EQ(build(leg('T', 1234, 240402), leg('T', 5678), 2, 3).result, 1);
    EXPECT_EQ((V{series_.buyFactor, series_.sellFactor}), (V{100, 1}));
    EXPECT_EQ(barText(series_.buyBars[7]), "20240410 12700 13000 12500 12800 1000 2700 12450");
    // Means of three closes, truncated: 13.67, 16.67, 22.67, 19.33, 15.67.
    EXPECT_EQ(column(series_.sellBars, &DayBar::average), (V{0, 0, 0, 13, 16, 22, 19, 15}));

    // The market plays no part in correction; a period of 0 or of the whole series gives the
    // close.
    ASSERT_EQ(build(leg('o', 1234), leg('T', 5678), 0, 8).result, 1);
    EXPECT_EQ((V{series_.buyMarketCode, series_.buyFactor}), (V{2, 100}));
    EXPECT_EQ(column(series_.buyBars, &DayBar::average), closes(series_.buyBars));
    EXPECT_EQ(column(series_.sellBars, &DayBar::average), plain);
}

TEST_F(PairSeries, AWeeklyEntryIsTheEntryDaysCloseInTheWeekHoldingIt) {
    // Mon 2025-03-03 to Fri 03-21 without Thursday 03-20, a holiday: weeks of 5, 5 and 4 days.
    std::vector<PackedDate> dates = weekdays(2025, 3, 3, 15);
    dates.erase(dates.begin() + 13);
    V buy(14), sell(14);
    for (int i = 0; i < 14; ++i) {
        buy[i] = 1000 + 10 * i + (i % 3) * 7;
        sell[i] = 700 - 4 * i;
    }
    writeDb("DBW.1", dbw(dates, {stock(tokyo(1), "A", buy), stock(tokyo(2), "B", sell)}));
    load();
    // Entry date (YYMMDD), the entry day's index among the 14 days, its week: a Friday, a
    // Monday, a Saturday (the Monday after), the holiday (the Friday after).
    for (const auto [entry, day, week] : {std::array{250307, 4, 0}, std::array{250310, 5, 1},
                                          std::array{250308, 5, 1}, std::array{250320, 13, 2}}) {
        PositionLeg b = leg('T', 1, entry), s = leg('T', 2, entry);
        b.quantity = 300;
        s.quantity = 500;
        const PositionRecord p{b, s};
        const auto figuresAtNewest = [&] {
            const int32_t newest = static_cast<int32_t>(series_.buyBars.size()) - 1;
            return std::vector<double>{static_cast<double>(positionProfit(series_, p, newest)),
                                       legChangeRate(series_, Leg::Buy, newest),
                                       legChangeRate(series_, Leg::Sell, newest)};
        };
        ASSERT_EQ(build(b, s).result, 1);
        const std::vector<double> daily = figuresAtNewest();
        ASSERT_EQ(build(b, s, 0, 0, 1).result, 1);
        const int32_t first = series_.buyStart;  // three weeks on 14 slots: 11
        EXPECT_EQ(entryBars(), (V{first + week, first + week})) << entry;
        EXPECT_EQ((V{series_.buyEntryClose, series_.sellEntryClose}), (V{buy[day], sell[day]}));
        EXPECT_EQ(figuresAtNewest(), daily) << entry;
        // Every week from the entry's on shows the gain at its last close: 300 x (close - entry)
        // + 500 x (entry - close), directly.
        const int lastDays[] = {4, 9, 13};
        for (int w = week; w < 3; ++w) {
            const int64_t expected = 300 * int64_t{buy[lastDays[w]] - buy[day]} +
                                     500 * int64_t{sell[day] - sell[lastDays[w]]};
            EXPECT_EQ(positionProfit(series_, p, first + w), expected) << entry << " week " << w;
        }
    }
}

TEST_F(PairSeries, FailedBuildsLeaveWhatTheyHadNotReached) {
    writeDb("DBW.1", dbw(weekdays(2024, 4, 1, 5),
                         {stock(tokyo(1), "A", {10, 11, 12, 13, 14}),
                          stock(tokyo(2), "B", {0, 21, 22, 23, 24}),
                          stock(tokyo(3), "C", {30, 31, 32, 33, 34}), stock(tokyo(4), "N", {})}));
    load();
    ASSERT_EQ(build(leg('T', 1), leg('T', 2)).result, 1);
    const Lines buyBefore = column(series_.buyBars, barText),
                sellBefore = column(series_.sellBars, barText);
    // A failing buy leg changes nothing.
    PairSeriesResult r = build(leg('T', 9), leg('T', 2));
    EXPECT_EQ((V{r.result, static_cast<int32_t>(r.message)}),
              (V{-1, static_cast<int32_t>(PairSeriesMessage::StockNotRegistered)}));
    r = build(leg('T', 4), leg('T', 2));
    EXPECT_EQ((V{r.result, static_cast<int32_t>(r.message)}),
              (V{-2, static_cast<int32_t>(PairSeriesMessage::NoTradedDate)}));
    EXPECT_EQ(column(series_.buyBars, barText), buyBefore);

    // A failing sell leg leaves the new buy leg beside the old sell leg.
    EXPECT_EQ(build(leg('T', 3), leg('K', 2)).result, -1);
    EXPECT_EQ(closes(series_.buyBars), (V{30, 31, 32, 33, 34}));
    EXPECT_EQ((V{series_.buyStockCode, series_.sellStockCode, series_.sellStart}), (V{3, 2, 1}));
    EXPECT_EQ(column(series_.sellBars, barText), sellBefore);
}

// "date open high low close volume adjustment" of every entry.
std::vector<std::string> entries(const StockSeries& s) {
    std::vector<std::string> out;
    for (int i = 0; i < s.length; ++i) {
        out.push_back(std::to_string(dateValue(s.date[i])));
        for (int v : {s.open[i], s.high[i], s.low[i], s.close[i], s.volume[i], +s.adjustment[i]}) {
            out.back() += " " + std::to_string(v);
        }
    }
    return out;
}

TEST(WeeklyBars, WeeksEndOnFridaysAtYearsEndAndBeforeSaturdays) {
    // Volumes count in tens with each day's remainder dropped (15 + 15 + 9 gives 2); an
    // adjustment inside a week stays with it, and the days before it count at 400 times their
    // prices, the week's last day's basis (a positive volume stays at least 1).
    StockSeries s{8,
                  {ymd(2020, 12, 31), ymd(2021, 1, 1), ymd(2021, 1, 4), ymd(2023, 6, 8),
                   ymd(2023, 6, 9), ymd(2023, 6, 10), ymd(2023, 6, 12), ymd(2023, 6, 13)},
                  {6, 7, 8, 1, 2, 3, 4, 5},
                  {13, 14, 15, 10, 30, 11, 40, 12},
                  {5, 6, 7, 0, 1, 2, 3, 0},
                  {10, 11, 12, 5, 6, 7, 8, 9},
                  {0, 0, 0, 100, 100, 15, 15, 9},
                  {0, 0, 0, 0, 0, 0, 40000, 0}};
    aggregateWeekly(s);
    EXPECT_EQ(entries(s),
              (std::vector<std::string>{"20201231 6 13 5 10 0 0", "20210101 7 14 6 11 0 0",
                                        "20210104 8 15 7 12 0 0", "20230608 1 30 0 6 20 0",
                                        "20230610 1200 4400 0 9 2 40000"}));
}

TEST(MovingAverage, NeedsMoreEntriesThanThePeriodAndCompoundsAdjustments) {
    const auto closes = [](const V& c, std::vector<uint16_t> adjustment) {
        const int n = static_cast<int>(c.size());
        adjustment.resize(c.size());
        return StockSeries{n, std::vector(c.size(), ymd(2020, 1, 6)), c, c, c, c, V(n), adjustment};
    };
    std::vector<float> work(5, 7.0f);
    EXPECT_EQ(movingAverage(closes({1, 2, 3, 4, 5}, {}), 5, work), -1);
    EXPECT_EQ(movingAverage(closes({1, 2, 3, 4, 5, 6}, {}), 0, work), -1);
    EXPECT_EQ(work, std::vector<float>(5, 7.0f));

    // Halved on entry 7 and again on entry 13, period 5. On entry 13 the countdown of the first
    // has just run out but the factor is still 0.5, so it becomes 0.25:
    //   12: 200 * 4 + 400 / 2 = 1000 + 100 (entry 7 left halved) -> 1100 / 5 = 220
    //   13: 1100 * 0.25 + 100 - 200 * 0.25 = 325 -> 65, then + 100 - 50 each entry: 75, 85, 95,
    //   105; 18: 525 + 100 - 100 * 0.25 = 600 -> 120; 19: factor 1 again, 600 -> 120.
    V c(20, 100);
    std::fill(c.begin(), c.begin() + 7, 400);
    std::fill(c.begin() + 7, c.begin() + 13, 200);
    std::vector<uint16_t> adjustment(20);
    adjustment[7] = adjustment[13] = 50;
    work.assign(20, 0.0f);
    ASSERT_EQ(movingAverage(closes(c, adjustment), 5, work), 1);
    EXPECT_EQ(work, (std::vector<float>{0,   0,   0,   0,  0,  400, 400, 200, 200, 200,
                                        200, 200, 220, 65, 75, 85,  95,  105, 120, 120}));
}

}  // namespace
}  // namespace zepa::test
