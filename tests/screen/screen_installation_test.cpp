// The screen on an installation written by the price-database writer.
#include <gtest/gtest.h>
#include <atomic>

#include <cmath>

#include "screen/screen_chart_z.h"
#include "screen/screen_load.h"
#include "screen/screen_run.h"
#include "tests/support/temp_installation.h"

namespace zepa {
namespace {

using test::tokyo;

class ScreenInstallation : public test::Installation {
  protected:
    // 80 weekdays in two files; stock 1001 halves by a 1:2 split on date 60, 1002 is corrected,
    // 1003 has no trade on date 70, 1004 none at all after date 10.
    void SetUp() override {
        const std::vector<PackedDate> dates = test::weekdays(2025, 1, 6, 80);
        std::vector<DbwStock> first;
        std::vector<DbwStock> second;
        for (int32_t code = 1001; code <= 1004; ++code) {
            std::vector<int32_t> closes;
            for (int d = 0; d < 80; ++d) {
                const double wave = 1000 + 50 * std::sin(d * 0.3 + code) + 3 * d * (code % 3);
                int32_t close = static_cast<int32_t>(wave);
                close = code == 1001 && d >= 60 ? close / 2 : close;
                close = (code == 1003 && d == 70) || (code == 1004 && d > 10) ? 0 : close;
                closes.push_back(close);
            }
            DbwStock s = test::stock(tokyo(code), "S" + std::to_string(code),
                                     {closes.begin(), closes.begin() + 40});
            DbwStock t = test::stock(tokyo(code), "S" + std::to_string(code),
                                     {closes.begin() + 40, closes.end()});
            if (code == 1001) {
                t.records[20].adjustment = 50;
            }
            first.push_back(s);
            second.push_back(t);
        }
        writeDb("DBW.2025A", test::dbw({dates.begin(), dates.begin() + 40}, first));
        writeDb("DBW.2025B", test::dbw({dates.begin() + 40, dates.end()}, second));
        writeText(paths.correctionFile, "1002\n");
        Installation::load();
        loadCorrectionList(paths.correctionFile, corrections_);
        dates_ = dates;
    }

    ScreenLoad load(int32_t endDate, int32_t days, ScreenMarket& m) {
        ScreenLoadRequest request;
        request.endDate = endDate;
        request.days = days;
        request.rows = days;
        return loadScreenMarket(md_, corrections_, ListingTable{}, request, m);
    }

    CorrectionList corrections_;
    std::vector<PackedDate> dates_;
};

TEST_F(ScreenInstallation, ClosesAsTheRatioChartTakesThem) {
    ScreenMarket m;
    ASSERT_EQ(load(0, 50, m), ScreenLoad::Loaded);
    ASSERT_EQ(m.stocks.size(), 4u);
    EXPECT_EQ(m.dates.back(), dateValue(dates_.back()));
    EXPECT_EQ(m.endSlot, 79);
    const double* split = m.closesOf(0);
    // Rows 0..49 are dates 30..79; before the ex-date (row 30) the closes are halved.
    for (int r = 0; r < 50; ++r) {
        const double raw = static_cast<int32_t>(1000 + 50 * std::sin((30 + r) * 0.3 + 1001) +
                                                3 * (30 + r) * (1001 % 3));
        EXPECT_NEAR(split[r], r < 30 ? raw * 0.5 : static_cast<int32_t>(raw) / 2, 1e-9) << r;
    }
    EXPECT_NEAR(m.closesOf(1)[49] / m.stocks[1].storedCloseAtEnd, 100.0, 1e-12);
    // A date without trade carries the close before it, as the viewer's series does.
    EXPECT_FALSE(m.tradedAt(2, 40));
    EXPECT_EQ(m.closesOf(2)[40], m.closesOf(2)[39]);
    double turnover = 0.0;  // stored close x volume (1,000) over the window, 0 when untraded
    for (int r = 0; r < 50; ++r) {
        turnover += m.tradedAt(2, r) ? m.closesOf(2)[r] * 1000.0 / 50 : 0.0;
    }
    EXPECT_NEAR(m.stocks[2].turnover, turnover, 1e-6);
}

TEST_F(ScreenInstallation, ZIsTheRatioChartsZ) {
    ScreenOptions o;
    o.days = 60;
    o.shortDays = 20;
    o.ratioPeriod = 25;
    o.minCorrelation = -1.0;
    // At the newest date and 15 dates back: every pair's z is the chart's at that slot (1003's
    // date without trade carries its close, so its pairs have one too).
    for (const int32_t end : {0, dateValue(dates_[64])}) {
        ScreenMarket m;
        ScreenResult r;
        ASSERT_EQ(load(end, 60, m), ScreenLoad::Loaded);
        ASSERT_EQ(runScreen(m, o, r), ScreenOutcome::Done);
        ASSERT_EQ(r.pairs.size(), 3u);
        for (const ScreenPair& p : r.pairs) {
            const std::optional<double> chart =
                chartRatioZ(md_, corrections_, m.stocks[p.a], m.stocks[p.b], 25, m.endSlot);
            ASSERT_TRUE(chart && p.z) << p.a << "/" << p.b << " to " << end;
            EXPECT_NEAR(*p.z, *chart, 1e-9);
        }
    }
}

TEST_F(ScreenInstallation, EndDateIsTheLastDateOnOrBeforeIt) {
    ScreenMarket m;
    // A Saturday after date 50 takes that Friday.
    const int32_t friday = dateValue(dates_[54]);
    ASSERT_EQ(load(friday + 1, 30, m), ScreenLoad::Loaded);
    EXPECT_EQ(m.dates.back(), friday);
    EXPECT_EQ(load(dateValue(dates_[0]) - 1, 30, m), ScreenLoad::EndBeforeFirstDate);
    EXPECT_EQ(load(dateValue(dates_[20]), 30, m), ScreenLoad::TooFewDates);
    EXPECT_EQ(load(dateValue(dates_[29]), 30, m), ScreenLoad::Loaded);
}

TEST_F(ScreenInstallation, CountsItsStocksAndStopsWhenCancelled) {
    std::atomic<bool> cancel{false};
    std::atomic<int64_t> done{0};
    std::atomic<int64_t> count{0};
    ScreenLoadRequest request;
    request.days = request.rows = 30;
    request.cancel = &cancel;
    request.stocksDone = &done;
    request.stockCount = &count;
    ScreenMarket m;
    ASSERT_EQ(loadScreenMarket(md_, corrections_, ListingTable{}, request, m), ScreenLoad::Loaded);
    EXPECT_EQ(count.load(), 4);
    EXPECT_EQ(done.load(), 4);
    cancel = true;
    EXPECT_EQ(loadScreenMarket(md_, corrections_, ListingTable{}, request, m),
              ScreenLoad::Cancelled);
    EXPECT_TRUE(m.stocks.empty() && m.closes.empty());
    // The reader is left as it was: the next load reads every stock again.
    ASSERT_EQ(load(0, 30, m), ScreenLoad::Loaded);
    EXPECT_EQ(m.stocks.size(), 4u);
}

}  // namespace
}  // namespace zepa
