// The data windows' rows, scrolling and placement, on a hand-made series.
#include <gtest/gtest.h>

#include "base/codepage.h"
#include "datawindow/data_table.h"
#include "settings/chart_values.h"
#include "settings/memory_value_store.h"
#include "tests/chart/chart_fixture.h"

namespace zepa::test {
namespace {

constexpr const char* kNone = "      -- ";

// Twelve daily slots from 1 January 2024, buy close 1000 and sell close 800, 1000 shares each.
struct DataTableTest : ChartFixture, ::testing::Test {
    DataTableTest() : ChartFixture(12) {
        for (int i = 0; i < 12; ++i) {
            series.buyBars[i].date = PackedDate{54, 1, static_cast<uint8_t>(i + 1)};
            series.buyBars[i].close = 1000;
            series.sellBars[i].close = 800;
        }
        position.buy.quantity = position.sell.quantity = 1000;
    }
    std::string cell(int kind, int32_t row, int column) {
        return utf8FromCp932(formatDataRow(c, kind, row)[column]);
    }
};

TEST_F(DataTableTest, ProfitKeepsOneDecimalBelowTenAndUsesSixtyFourBits) {
    series.buyEntryBar = 2;
    series.sellEntryBar = 3;
    position.sell.quantity = 100;
    const auto profitOf = [&](int32_t buyGain, int32_t sellGain) {
        series.buyBars[5].gain = buyGain;
        series.sellBars[5].gain = sellGain;
        return cell(kSpreadDataKind, 5, 4);
    };
    // Ten (10,000 yen units) and above lose the decimal; 9.96 is below ten and keeps it.
    struct Case {
        int32_t buyGain, sellGain;  // x 1000 and x 100 shares
        const char* text;
    };
    for (const Case& k :
         {Case{99, 6, "    +10.0"}, Case{100, 0, "      +10"}, Case{94, 60, "      +10"},
          Case{100, 1, "      +10"}, Case{-2505, 0, "   -250.5"}, Case{0, 0, "     +0.0"}}) {
        EXPECT_EQ(profitOf(k.buyGain, k.sellGain), k.text) << k.buyGain << " " << k.sellGain;
    }
    position.buy.quantity = 100000;  // 3,000,000,000 yen wraps in 32 bits
    EXPECT_EQ(profitOf(30000, 0), "  +300000");
    EXPECT_EQ(cell(kSpreadDataKind, 1, 4), kNone);        // before the earlier entry
    EXPECT_EQ(cell(kSpreadDataKind, 2, 4), "     +0.0");  // from the earlier entry on
    series.sellEntryBar = -1;                             // one leg never entered
    EXPECT_EQ(profitOf(100, 0), kNone);
}

TEST_F(DataTableTest, RatesAndSpreadsNeverUseAMissingCloseOrAverage) {
    series.sellEntryBar = 4;
    series.sellBars[6].gain = 40;  // sell close 800: the price fell 5 %
    EXPECT_EQ(cell(kSpreadDataKind, 3, 3), kNone);
    EXPECT_EQ(cell(kSpreadDataKind, 4, 3), "     -0.0");  // 0 x -100 keeps its sign
    EXPECT_EQ(cell(kSpreadDataKind, 6, 3), "     -5.0");
    series.buyBars[7].close = 0;
    EXPECT_EQ(cell(kSpreadDataKind, 7, 2), kNone);

    settings.spreadSource = 1;
    series.sellAverageStart = 8;  // the sell leg starts later on the axis
    series.buyBars[8].average = 990;
    series.sellBars[8].average = 700;
    EXPECT_EQ(cell(kSpreadDataKind, 7, 1), kNone);
    EXPECT_EQ(cell(kSpreadDataKind, 8, 1), "     -290");
}

TEST_F(DataTableTest, StockRowsFromFirstBarWithCenturyDatesVolumesAndBlanks) {
    series.firstBar = 1;
    series.sellStart = 3;
    series.buyBars[1].volume = 12345;
    series.buyBars[1].date = PackedDate{29, 12, 31};  // 1999
    series.buyBars[2].date = PackedDate{30, 1, 1};    // 2000
    EXPECT_EQ(dataRowCount(c), 11);
    EXPECT_EQ(cell(kStockDataKind, 0, 0), "99/12/31");
    EXPECT_EQ(cell(kStockDataKind, 1, 0), " 0/ 1/ 1");
    EXPECT_EQ(cell(kStockDataKind, 0, 2), "   12.345");
    EXPECT_EQ(cell(kStockDataKind, 1, 3), kNone);  // before the sell leg's listing
    view.weeklyBars = 1;                           // weekly volumes in hundreds
    EXPECT_EQ(cell(kStockDataKind, 0, 2), "   123.45");
    EXPECT_EQ(formatDataRow(c, kStockDataKind, 11)[0], std::string(10, ' '));
    series.buyBars.clear();  // never built: no rows
    EXPECT_EQ(dataRowCount(c), 0);
}

TEST_F(DataTableTest, RatioColumnsOnlyWithTheRatioChart) {
    RatioStatistics stats;
    stats.slots.resize(12);
    stats.slots[5] = RatioSlot{1.25, 1.2, 0.02, -1.234, 0, 0, true, true, true, false, false};
    stats.slots[4].hasRatio = true;
    stats.slots[4].ratio = 1.23456;
    c.ratio = &stats;
    const auto row = [&](int kind, int32_t r) {
        Strings out;
        for (const std::string& cell : formatDataRow(c, kind, r)) {
            out.push_back(utf8FromCp932(cell));
        }
        return out;
    };
    EXPECT_EQ(row(kSpreadDataKind, 5).size(), 5u);
    settings.ratioChart = 1;
    EXPECT_EQ(row(kSpreadDataKind, 5).at(5), "   1.2500");
    EXPECT_EQ(row(kSpreadDataKind, 5).at(6), "    -1.23");
    EXPECT_EQ(row(kSpreadDataKind, 4).at(5), "   1.2346");
    EXPECT_EQ(row(kSpreadDataKind, 4).at(6), kNone);
    EXPECT_EQ(row(kSpreadDataKind, 12).size(), 7u);  // blank rows have seven cells too
    EXPECT_EQ(row(kStockDataKind, 5).size(), 5u);    // the stock data stay as they are
    c.ratio = nullptr;
    EXPECT_EQ(row(kSpreadDataKind, 5).at(6), kNone);

    // Two more columns of eleven cells each, and the window as wide as all seven.
    DataWindowState s;
    s.columnCount = dataColumnCount(c, kSpreadDataKind);
    layoutDataColumns(s, 8, 16, 15);
    EXPECT_EQ(utf8FromCp932(dataHeaderTexts(kSpreadDataKind, 7).at(5)), "  レシオ   ");
    EXPECT_EQ((Ints{s.headerChars, s.columnX[5], s.columnX[7]}), (Ints{78, 56 * 8, 78 * 8}));
    MemoryValueStore store;
    EXPECT_EQ(dataWindowPlacement(store, s).width, 78 * 8 + 27);
}

TEST(DataWindowState, ScrollRangesKeysAndTheBlankLastRow) {
    DataWindowState s;
    layoutDataColumns(s, 8, 16, 15);  // rows 20 pixels apart
    s.rowCount = 10;
    // Body 176 rounded up to 12 text lines = 180: 9 rows a page; the last page ends blank.
    resizeDataWindow(s, 200, 56 * 8 + 27);
    EXPECT_EQ((Ints{s.bodyHeight, s.visibleRows, s.topRowMax, s.leftCharMax}),
              (Ints{180, 9, 2, 0}));
    EXPECT_FALSE(dataWindowKey(s, DataKey::B, false));
    EXPECT_EQ(scrollDataRows(s, ScrollAction::PageBack), -2);
    resizeDataWindow(s, 200, 40 * 8);  // 16 cells to scroll, 8 a page
    dataWindowKey(s, DataKey::Right, true);
    EXPECT_EQ(scrollDataColumns(s, ScrollAction::PageBack), -8);
    EXPECT_FALSE(dataWindowKey(s, DataKey::Home, false));
    EXPECT_EQ((Ints{s.leftChar, s.topRow}), (Ints{0, 0}));
    EXPECT_TRUE(dataWindowKey(s, DataKey::Escape, false));
}

TEST(DataWindowState, OpensOnTheNewestRowsAndKeepsThemThroughSizeChanges) {
    DataWindowState s;
    layoutDataColumns(s, 8, 16, 15);
    s.rowCount = 100;
    resizeDataWindow(s, 200, 400);  // 9 rows a page, the last page ending blank
    EXPECT_EQ(s.topRow, 92);
    resizeDataWindow(s, 400, 400);  // taller: still the newest rows
    EXPECT_EQ(s.topRow, 82);
    dataWindowKey(s, DataKey::Up, false);  // scrolled back, a size change keeps the rows
    resizeDataWindow(s, 200, 400);
    EXPECT_EQ(s.topRow, 81);
}

TEST(DataWindowState, StoredPlacementIsClampedAndMalformedOnesGiveTheDefaults) {
    MemoryValueStore store;
    DataWindowState s;
    s.kind = kStockDataKind;
    layoutDataColumns(s, 8, 16, 15);
    const auto placed = [&](const char* stored) {
        store.set(kChartSubkey, "ChildPos_SY1", stored);
        const DataWindowRect r = dataWindowPlacement(store, s);
        return Ints{r.left, r.top, r.width, r.height};
    };
    EXPECT_EQ(placed("-5,-7,1,90"), (Ints{0, 0, 56 * 8 + 27, 90}));  // width from the columns
    EXPECT_EQ(placed("10,20,30"), (Ints{50, 50, 56 * 8 + 27, 300}));
}

}  // namespace
}  // namespace zepa::test
