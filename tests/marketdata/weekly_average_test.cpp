// Weekly entries from daily ones, and the moving average across price adjustments. The
// expected values are worked out by hand in the comments.
#include <gtest/gtest.h>

#include "marketdata/moving_average.h"
#include "marketdata/weekly_bars.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

void add(StockSeries& s, PackedDate date, int32_t open, int32_t high, int32_t low, int32_t close,
         int32_t volume = 0, uint16_t adjustment = 0) {
    s.date.push_back(date);
    s.open.push_back(open);
    s.high.push_back(high);
    s.low.push_back(low);
    s.close.push_back(close);
    s.volume.push_back(volume);
    s.adjustment.push_back(adjustment);
    s.length += 1;
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

using Lines = std::vector<std::string>;

TEST(WeeklyBars, MondayToFridayWeeksAreDatedOnTheirMondays) {
    StockSeries s;
    const auto days = weekdays(2023, 6, 5, 15);  // Monday 5 June to Friday 23 June
    const int32_t volumes[] = {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 15, 15, 9, 0, 0};
    for (int i = 0; i < 15; ++i) {
        // Each Wednesday has the week's high, each Thursday its low.
        add(s, days[i], 100 + i, (i % 5 == 2 ? 300 : 200) + i, (i % 5 == 3 ? 10 : 50) + i, 150 + i,
            volumes[i], i == 6 ? 40000 : (i == 7 ? 100 : 0));
    }
    aggregateWeekly(s);
    // Volumes count in tens with each day's remainder dropped: 15 + 15 + 9 gives 2.
    EXPECT_EQ(entries(s), (Lines{"20230605 100 302 13 154 50 0", "20230612 105 307 18 159 50 40000",
                                 "20230619 110 312 23 164 2 0"}));
}

TEST(WeeklyBars, SaturdayOpensAWeekAndYearEndClosesOne) {
    StockSeries s;
    add(s, ymd(2023, 6, 8), 10, 12, 9, 11);    // Thursday
    add(s, ymd(2023, 6, 9), 11, 13, 10, 12);   // Friday
    add(s, ymd(2023, 6, 10), 20, 22, 19, 21);  // Saturday
    add(s, ymd(2023, 6, 12), 21, 30, 18, 22);  // Monday
    add(s, ymd(2023, 6, 13), 22, 24, 20, 23);  // Tuesday
    aggregateWeekly(s);
    EXPECT_EQ(entries(s), (Lines{"20230608 10 13 9 12 0 0", "20230610 20 30 18 23 0 0"}));

    // Wednesday 30 December 2020 to Friday 1 January 2021 is one Saturday-to-Friday week.
    StockSeries y;
    add(y, ymd(2020, 12, 30), 1, 1, 1, 1);
    add(y, ymd(2020, 12, 31), 2, 2, 2, 2);
    add(y, ymd(2021, 1, 1), 3, 3, 3, 3);
    add(y, ymd(2021, 1, 4), 4, 4, 4, 4);
    aggregateWeekly(y);
    EXPECT_EQ(entries(y),
              (Lines{"20201230 1 2 1 2 0 0", "20210101 3 3 3 3 0 0", "20210104 4 4 4 4 0 0"}));
}

StockSeries closes(const std::vector<int32_t>& values,
                   std::initializer_list<std::pair<int, uint16_t>> adjustments = {}) {
    StockSeries s;
    for (int32_t v : values) {
        add(s, ymd(2020, 1, 6), v, v, v, v);
    }
    for (auto [at, adj] : adjustments) {
        s.adjustment[at] = adj;
    }
    return s;
}

using Floats = std::vector<float>;

// Plain means without adjustments are checked through the pair series.
TEST(MovingAverage, NeedsMoreEntriesThanThePeriod) {
    Floats work(5, 7.0f);
    EXPECT_EQ(movingAverage(closes({1, 2, 3, 4, 5}), 5, work), -1);
    EXPECT_EQ(movingAverage(closes({1, 2, 3, 4, 5}), 0, work), -1);
    EXPECT_EQ(work, Floats(5, 7.0f));
    work.assign(6, 0.0f);
    ASSERT_EQ(movingAverage(closes({10, 20, 30, 40, 50, 61}), 5, work), 1);
    EXPECT_EQ(work, (Floats{0, 0, 0, 0, 0, 201.0f / 5}));
}

TEST(MovingAverage, AdjustmentsRescaleTheWindowAndCompound) {
    // A 1:2 split on entry 7, period 5. From entry 7 the window is halved; the closes of
    // entries 2..7 are halved as they leave it (entry 7's at entry 12), so from entry 12 on
    // the sum keeps 25 too much: 50 + 25 / 5 = 55.
    std::vector<int32_t> c(15, 50);
    std::fill(c.begin(), c.begin() + 7, 100);
    Floats work(15, 0.0f);
    ASSERT_EQ(movingAverage(closes(c, {{7, 50}}), 5, work), 1);
    EXPECT_EQ(work, (Floats{0, 0, 0, 0, 0, 100, 100, 50, 50, 50, 50, 50, 55, 55, 55}));

    // Halved on entry 7 and again on entry 13, period 5. On entry 13 the countdown of the first
    // has just run out but the factor is still 0.5, so it becomes 0.25:
    //   12: 200 * 4 + 400 / 2 = 1000 + 100 (entry 7 left halved) -> 1100 / 5 = 220
    //   13: 1100 * 0.25 + 100 - 200 * 0.25 = 325 -> 65, then + 100 - 50 each entry: 75, 85, 95,
    //   105; 18: 525 + 100 - 100 * 0.25 = 600 -> 120; 19: factor 1 again, 600 -> 120.
    c.assign(20, 100);
    std::fill(c.begin(), c.begin() + 7, 400);
    std::fill(c.begin() + 7, c.begin() + 13, 200);
    work.assign(20, 0.0f);
    ASSERT_EQ(movingAverage(closes(c, {{7, 50}, {13, 50}}), 5, work), 1);
    EXPECT_EQ(work, (Floats{0,   0,   0,   0,  0,  400, 400, 200, 200, 200,
                            200, 200, 220, 65, 75, 85,  95,  105, 120, 120}));
}

}  // namespace
}  // namespace zepa::test
