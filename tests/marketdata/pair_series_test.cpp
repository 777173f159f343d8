// The two legs of a position built from price files: alignment, entry bars, correction,
// averages, weekly bars, and what a failed build leaves behind.
#include <gtest/gtest.h>

#include "marketdata/pair_series.h"
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

int32_t yymmdd(PackedDate d) {
    return (calendarYear(d) % 100) * 10000 + d.month * 100 + d.day;
}

class PairSeries : public Installation {
  protected:
    PairSeriesResult build(const PositionLeg& buy, const PositionLeg& sell, int buyPeriod = 0,
                           int sellPeriod = 0, int weekly = 0) {
        return buildPairSeries(md_, corrections_, PositionRecord{buy, sell},
                               {weekly, buyPeriod, sellPeriod}, series_);
    }
    Lines buyText() const { return column(series_.buyBars, barText); }
    Lines sellText() const { return column(series_.sellBars, barText); }
    V legStarts() const { return {series_.buyStart, series_.sellStart, series_.firstBar}; }
    V entryBars() const { return {series_.buyEntryBar, series_.sellEntryBar}; }

    CorrectionList corrections_;
    SpreadSeries series_;
};

TEST_F(PairSeries, LegsAreAlignedAtTheNewestDate) {
    // Buy stock in all three files (300 dates); sell stock missing from the middle file
    // (250 dates), so its slots 50..99 hold the first file's dates.
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
    const PairSeriesResult r = build(leg('T', 1111, 0), leg('T', 2222, yymmdd(days[150])));
    ASSERT_EQ(r.result, 1);
    EXPECT_EQ(r.message, PairSeriesMessage::None);
    EXPECT_EQ(legStarts(), (V{0, 50, 0}));
    EXPECT_EQ(entryBars(), (V{-1, 150}));
    EXPECT_EQ((V{series_.buyMarketCode, series_.buyStockCode}), (V{1, 1111}));
    EXPECT_STREQ(series_.buyStockName, "BUYSTOCK");
    EXPECT_STREQ(series_.sellStockName, "SELL    ");

    // Slots 0..49 keep the buy leg's dates; from 50 on the sell leg's date stands in both.
    // Days written as traded(close), with the close as average.
    const auto text = [&](int day, int32_t c, int32_t gain) {
        return barText(DayBar{days[day], c - 1, c + 2, c - 3, c, 1000, gain, c});
    };
    Lines buy, sell(50, "19700000 0 0 0 0 0 0 0");
    for (int b = 0; b < 300; ++b) {
        const int day = b < 50 || b >= 100 ? b : b - 50;
        buy.push_back(text(day, 1000 + b, 0));
        if (b >= 50) {
            sell.push_back(text(day, 500 + day, b < 150 ? 0 : 150 - b));
        }
    }
    EXPECT_EQ(buyText(), buy);
    EXPECT_EQ(sellText(), sell);
}

TEST_F(PairSeries, EntryDatesAcrossTheCenturyPivot) {
    // Entry dates are YYMMDD: 70-99 stand for 19xx, 00-69 for 20xx.
    writeDb("DBW.1", dbw({ymd(1999, 12, 29), ymd(1999, 12, 30), ymd(2000, 1, 4), ymd(2000, 1, 5),
                          ymd(2002, 1, 4), ymd(2002, 1, 7)},
                         {stock(tokyo(1), "S", {10, 20, 30, 40, 50, 60})}));
    load();
    ASSERT_EQ(build(leg('T', 1, 991231), leg('T', 1, 105)).result, 1);
    EXPECT_EQ(entryBars(), (V{2, 3}));
    EXPECT_EQ(column(series_.buyBars, &DayBar::gain), (V{0, 0, 0, 10, 20, 30}));
    // A rising sell stock loses.
    EXPECT_EQ(column(series_.sellBars, &DayBar::gain), (V{0, 0, 0, 0, -10, -20}));

    // 2002-01-05 is a Saturday: the next bar is the entry bar.
    ASSERT_EQ(build(leg('T', 1, 20105), leg('T', 1, 691231)).result, 1);
    EXPECT_EQ(entryBars(), (V{5, -1}));
    EXPECT_EQ(column(series_.sellBars, &DayBar::gain), V(6, 0));
    ASSERT_EQ(build(leg('T', 1, 700101), leg('T', 1, 0)).result, 1);
    EXPECT_EQ(entryBars(), (V{0, -1}));
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

    // Prices and the average (of two closes) times 100, the volume as stored; the gain from
    // the entry on 2 April (close 10100).
    ASSERT_EQ(build(leg('T', 1234, 240402), leg('T', 5678), 2, 3).result, 1);
    EXPECT_EQ((V{series_.buyFactor, series_.sellFactor}), (V{100, 1}));
    EXPECT_EQ(buyText(), (Lines{"20240401 9900 10200 9700 10000 1000 0 0",
                                "20240402 10000 10300 9800 10100 1000 0 0",
                                "20240403 10200 10500 10000 10300 1000 200 10200",
                                "20240404 10500 10800 10300 10600 1000 500 10450",
                                "20240405 10900 11200 10700 11000 1000 900 10800",
                                "20240408 11400 11700 11200 11500 1000 1400 11250",
                                "20240409 12000 12300 11800 12100 1000 2000 11800",
                                "20240410 12700 13000 12500 12800 1000 2700 12450"}));
    // Means of three closes, truncated: 13.67, 16.67, 22.67, 19.33, 15.67.
    EXPECT_EQ(column(series_.sellBars, &DayBar::average), (V{0, 0, 0, 13, 16, 22, 19, 15}));

    // The market plays no part; a period of 0 or of the whole series gives the close.
    ASSERT_EQ(build(leg('o', 1234), leg('T', 5678), 0, 8).result, 1);
    EXPECT_EQ((V{series_.buyMarketCode, series_.buyFactor}), (V{2, 100}));
    EXPECT_EQ(column(series_.buyBars, &DayBar::average), column(series_.buyBars, &DayBar::close));
    EXPECT_EQ(column(series_.sellBars, &DayBar::average), plain);
}

TEST_F(PairSeries, WeeklyBarsStartLater) {
    V a, b;
    for (int i = 0; i < 15; ++i) {  // three Monday-to-Friday weeks
        a.push_back(100 + i);
        b.push_back(200 + i);
    }
    writeDb("DBW.1",
            dbw(weekdays(2023, 6, 5, 15), {stock(tokyo(1), "A", a), stock(tokyo(2), "B", b)}));
    load();
    ASSERT_EQ(build(leg('T', 1), leg('T', 2), 0, 0, 1).result, 1);
    EXPECT_EQ(legStarts(), (V{12, 12, 12}));
    EXPECT_EQ(barText(series_.buyBars[11]), "19700000 0 0 0 0 0 0 0");
    EXPECT_EQ(barText(series_.buyBars[12]), "20230605 99 106 97 104 500 0 104");
    EXPECT_EQ(column(series_.buyBars, &DayBar::close, 12), (V{104, 109, 114}));
    EXPECT_EQ(column(series_.sellBars, &DayBar::close, 12), (V{204, 209, 214}));
}

TEST_F(PairSeries, FailedBuildsLeaveWhatTheyHadNotReached) {
    writeDb("DBW.1", dbw(weekdays(2024, 4, 1, 5),
                         {stock(tokyo(1), "A", {10, 11, 12, 13, 14}),
                          stock(tokyo(2), "B", {0, 21, 22, 23, 24}),
                          stock(tokyo(3), "C", {30, 31, 32, 33, 34}), stock(tokyo(4), "N", {})}));
    load();
    // The sell leg starting first still writes its dates where the buy leg has no data.
    ASSERT_EQ(build(leg('T', 2), leg('T', 1)).result, 1);
    EXPECT_EQ(legStarts(), (V{1, 0, 0}));
    EXPECT_EQ(barText(series_.buyBars[0]), "20240401 0 0 0 0 0 0 0");

    ASSERT_EQ(build(leg('T', 1), leg('T', 2)).result, 1);
    const Lines buyBefore = buyText(), sellBefore = sellText();
    // A failing buy leg changes nothing.
    PairSeriesResult r = build(leg('T', 9), leg('T', 2));
    EXPECT_EQ(r.result, -1);
    EXPECT_EQ(r.message, PairSeriesMessage::StockNotRegistered);
    r = build(leg('T', 4), leg('T', 2));
    EXPECT_EQ(r.result, -2);
    EXPECT_EQ(r.message, PairSeriesMessage::NoTradedDate);
    EXPECT_EQ(series_.buyStockCode, 1);
    EXPECT_EQ(buyText(), buyBefore);

    // A failing sell leg leaves the new buy leg beside the old sell leg.
    EXPECT_EQ(build(leg('T', 3), leg('K', 2)).result, -1);
    EXPECT_EQ(column(series_.buyBars, &DayBar::close), (V{30, 31, 32, 33, 34}));
    EXPECT_EQ((V{series_.buyStockCode, series_.sellStockCode, series_.sellStart}), (V{3, 2, 1}));
    EXPECT_EQ(sellText(), sellBefore);
    EXPECT_EQ(build(leg('T', 1), leg('T', 4)).result, -2);
    EXPECT_EQ(pairSeriesMessageText(PairSeriesMessage::NoTradedDate), "データが登録されていません");
    EXPECT_EQ(pairSeriesMessageText(PairSeriesMessage::OutOfMemory), "メモリが確保できません");
}

}  // namespace
}  // namespace zepa::test
