// The data windows' rows, layout, scrolling and placement, on a hand-made series.
#include <gtest/gtest.h>

#include <string>

#include "datawindow/data_table.h"
#include "platform/codepage.h"
#include "settings/chart_values.h"
#include "settings/memory_value_store.h"
#include "tests/chart/chart_fixture.h"

namespace zepa::test {
namespace {

// Twelve daily slots from 1 January 2024, buy close 1000 and sell close 800, 1000 shares each.
struct DataTableTest : ChartFixture, ::testing::Test {
    DataTableTest() : ChartFixture(kSlots) {
        for (int i = 0; i < kSlots; ++i) {
            series.buyBars[i].date = PackedDate{54, 1, static_cast<uint8_t>(i + 1)};
            series.buyBars[i].close = 1000;
            series.sellBars[i].close = 800;
        }
        position.buy.quantity = position.sell.quantity = 1000;
    }
    std::string cell(int kind, int32_t row, int column) {
        return utf8FromCp932(formatDataRow(c, kind, row)[column]);
    }

    static constexpr int kSlots = 12;
};

constexpr const char* kNone = "      -- ";

TEST_F(DataTableTest, HeadersFillFiftySixCellsInBothKinds) {
    for (int kind : {kSpreadDataKind, kStockDataKind}) {
        DataWindowState s;
        s.kind = kind;
        layoutDataColumns(s, 8, 16, 15);
        EXPECT_EQ((Ints{s.headerChars, s.columnX[0], s.columnX[1], s.columnX[5], s.headerHeight}),
                  (Ints{56, 0, 12 * 8, 56 * 8, 24}));
    }
    EXPECT_EQ(utf8FromCp932(dataHeaderTexts(kStockDataKind)[2]), " 買 出来高 ");
    EXPECT_EQ(dataWindowTitle(kSpreadDataKind), "さやデータ");
}

TEST_F(DataTableTest, ProfitKeepsOneDecimalBelowTenAndUsesSixtyFourBits) {
    series.buyEntryBar = 2;
    series.sellEntryBar = 3;
    position.sell.quantity = 100;
    const auto profitOf = [&](int32_t buyGain, int32_t sellGain) {
        series.buyBars[5].gain = buyGain;
        series.sellBars[5].gain = sellGain;
        return cell(kSpreadDataKind, 5, 4);
    };
    EXPECT_EQ(profitOf(100, 0), "      +10");
    EXPECT_EQ(profitOf(99, 6), "    +10.0");  // 9.96 is below ten: one decimal
    EXPECT_EQ(profitOf(99, 0), "     +9.9");
    EXPECT_EQ(profitOf(-2500, -50), "   -250.5");
    // 3,000,000,000 yen wraps in 32 bits.
    position.buy.quantity = 100000;
    EXPECT_EQ(profitOf(30000, 0), "  +300000");
    // Before the earlier entry, and with one leg never entered: no profit.
    EXPECT_EQ(cell(kSpreadDataKind, 1, 4), kNone);
    EXPECT_NE(cell(kSpreadDataKind, 2, 4), kNone);
    series.sellEntryBar = -1;
    EXPECT_EQ(profitOf(100, 0), kNone);
}

TEST_F(DataTableTest, ChangeRatesFromTheEntryOnAndNeverAgainstAZeroClose) {
    series.buyEntryBar = -1;  // entry date later than all data: the rate shows 0.0 throughout
    series.sellEntryBar = 4;
    series.sellBars[6].gain = 40;  // sell close 800: the price fell 5 %
    EXPECT_EQ(cell(kSpreadDataKind, 0, 2), "      0.0");
    EXPECT_EQ(cell(kSpreadDataKind, 3, 3), kNone);
    EXPECT_EQ(cell(kSpreadDataKind, 4, 3), "     -0.0");  // 0 x -100 keeps its sign
    EXPECT_EQ(cell(kSpreadDataKind, 6, 3), "     -5.0");
    series.buyBars[7].close = 0;
    EXPECT_EQ(cell(kSpreadDataKind, 7, 2), kNone);
}

TEST_F(DataTableTest, SpreadFromClosesOrFromAveragesWhereBothLegsHaveOne) {
    EXPECT_EQ(cell(kSpreadDataKind, 0, 1), "     -200");
    settings.spreadBase = 1;
    EXPECT_EQ(cell(kSpreadDataKind, 0, 1), "      200");
    series.sellBars[1].close = 0;
    EXPECT_EQ(cell(kSpreadDataKind, 1, 1), kNone);

    settings.spreadSource = 1;
    series.buyAverageStart = 5;
    series.sellAverageStart = 8;  // the sell leg starts later on the axis
    series.buyBars[8].average = 990;
    series.sellBars[8].average = 700;
    EXPECT_EQ(cell(kSpreadDataKind, 7, 1), kNone);
    EXPECT_EQ(cell(kSpreadDataKind, 8, 1), "      290");
}

TEST_F(DataTableTest, StockRowsWithDatesClosesAndVolumes) {
    series.sellStart = 3;
    series.buyBars[0].volume = 12000;
    series.buyBars[1].volume = 12345;
    series.buyBars[1].date = PackedDate{29, 12, 31};  // 1999
    series.buyBars[2].date = PackedDate{30, 1, 1};    // 2000
    EXPECT_EQ(cell(kStockDataKind, 0, 0), "24/ 1/ 1");
    EXPECT_EQ(cell(kStockDataKind, 1, 0), "99/12/31");
    EXPECT_EQ(cell(kStockDataKind, 2, 0), " 0/ 1/ 1");
    EXPECT_EQ(cell(kStockDataKind, 0, 1), "     1000");
    EXPECT_EQ(cell(kStockDataKind, 0, 2), "       12");
    EXPECT_EQ(cell(kStockDataKind, 1, 2), "   12.345");
    EXPECT_EQ(cell(kStockDataKind, 2, 3), kNone);
    EXPECT_EQ(cell(kStockDataKind, 2, 4), kNone);
    EXPECT_EQ(cell(kStockDataKind, 3, 3), "      800");
    view.weeklyBars = 1;
    series.buyBars[0].volume = 12300;
    EXPECT_EQ(cell(kStockDataKind, 0, 2), "      123");
    EXPECT_EQ(cell(kStockDataKind, 1, 2), "   123.45");
}

TEST_F(DataTableTest, RowsStartAtFirstBarAndEndInBlanks) {
    series.firstBar = 4;
    EXPECT_EQ(dataRowCount(c), kSlots - 4);
    EXPECT_EQ(cell(kStockDataKind, 0, 0), "24/ 1/ 5");
    const DataRowTexts blank = formatDataRow(c, kStockDataKind, kSlots - 4);
    EXPECT_EQ(blank[0], std::string(10, ' '));
    EXPECT_EQ(blank[4], std::string(9, ' '));
    // A series that was never built has no rows.
    series.buyBars.clear();
    EXPECT_EQ(dataRowCount(c), 0);
}

TEST(DataScrollTest, RangesKeysAndTheBlankLastRow) {
    DataWindowState s;
    layoutDataColumns(s, 8, 16, 15);  // rows 20 pixels apart
    s.rowCount = 10;
    // Body 200 - 24 = 176, rounded up to 12 text lines = 180: 9 rows a page.
    resizeDataWindow(s, 200, 56 * 8 + 27);
    // The last page is rows 2..10, row 10 blank.
    EXPECT_EQ((Ints{s.bodyHeight, s.visibleRows, s.topRowMax, s.leftCharMax}),
              (Ints{180, 9, 2, 0}));
    EXPECT_FALSE(dataWindowKey(s, DataKey::B, false));
    EXPECT_EQ(s.topRow, 2);
    EXPECT_EQ(scrollDataRows(s, ScrollAction::LineForward), 0);
    EXPECT_EQ(scrollDataRows(s, ScrollAction::PageBack), -2);
    dataWindowKey(s, DataKey::Down, true);
    EXPECT_EQ(s.topRow, 2);
    EXPECT_EQ(scrollDataRows(s, ScrollAction::Thumb, 1), -1);

    // Narrowed to 40 cells: 16 cells to scroll, 8 a page; Home goes back to the start.
    resizeDataWindow(s, 200, 40 * 8);
    EXPECT_EQ(s.leftCharMax, 16);
    dataWindowKey(s, DataKey::Right, true);
    EXPECT_EQ(s.leftChar, 16);
    EXPECT_EQ(scrollDataColumns(s, ScrollAction::PageBack), -8);
    EXPECT_FALSE(dataWindowKey(s, DataKey::Home, false));
    EXPECT_EQ((Ints{s.leftChar, s.topRow}), (Ints{0, 0}));
    EXPECT_TRUE(dataWindowKey(s, DataKey::Escape, false));

    // All rows fit: nothing to scroll, End changes nothing.
    s.rowCount = 3;
    resizeDataWindow(s, 200, 56 * 8);
    EXPECT_EQ((Ints{s.topRowMax, s.visibleRows}), (Ints{0, 3}));
    EXPECT_EQ(scrollDataRows(s, ScrollAction::End), 0);
}

TEST(DataPlacementTest, StoredPositionAndHeightWidthFromTheColumns) {
    MemoryValueStore store;
    DataWindowState s;
    s.kind = kStockDataKind;
    layoutDataColumns(s, 8, 16, 15);
    const int32_t width = 56 * 8 + 27;
    DataWindowRect r = dataWindowPlacement(store, s);
    EXPECT_EQ((std::array{r.left, r.top, r.width, r.height}), (std::array{50, 50, width, 300}));
    store.set(kChartSubkey, "ChildPos_SY1", "10, 20,999,250");
    r = dataWindowPlacement(store, s);
    EXPECT_EQ((std::array{r.left, r.top, r.width, r.height}), (std::array{10, 20, width, 250}));
    store.set(kChartSubkey, "ChildPos_SY1", "-5,-7,1,90");
    r = dataWindowPlacement(store, s);
    EXPECT_EQ((std::array{r.left, r.top, r.height}), (std::array{0, 0, 90}));
    store.set(kChartSubkey, "ChildPos_SY1", "10,20,30");  // three numbers: the defaults
    r = dataWindowPlacement(store, s);
    EXPECT_EQ((std::array{r.left, r.top, r.height}), (std::array{50, 50, 300}));

    storeDataWindowPlacement(store, kSpreadDataKind, DataWindowRect{-3, 4, 475, 300});
    ASSERT_NE(store.find(kChartSubkey, "ChildPos_SY0"), nullptr);
    EXPECT_EQ(*store.find(kChartSubkey, "ChildPos_SY0"), "-3,4,475,300");
}

TEST_F(DataTableTest, PaintsHeaderGridAndRowsInTheirColours) {
    RecordingSurface screen;  // slot 1 at -15: 7 pixels wide, 15 high
    DataWindowState s;
    s.rowCount = dataRowCount(c);
    FontSlotTable own;
    selectFontSlot(screen, own, kDataFontSlot, kChartFontFace, kDataFontHeight);
    layoutDataColumns(s, own.slots[1].charWidth, own.slots[1].lineHeight, own.lastTextHeight);
    resizeDataWindow(s, 120, 100);  // narrow: scrolled 3 cells to the right
    scrollDataColumns(s, ScrollAction::Thumb, 3);
    screen.ops.clear();
    paintDataWindow(screen, own, c, s, 120);

    const auto texts = screen.ofKind(RecordedOp::Text);
    ASSERT_EQ(texts.size(), 5u + 5u * s.visibleRows);
    // The first header cell, then the first row's date two cells in.
    EXPECT_EQ((Ints{texts[0].x1, texts[0].y1, texts[5].x1, texts[5].y1}),
              (Ints{-21, 5, 1 - 21 + 2 * 7, s.headerHeight + 3}));
    const auto fills = screen.ofKind(RecordedOp::Fill);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].y2, 121);
    EXPECT_EQ((std::vector{texts[0].color, texts[0].background, texts[5].color, texts[5].background,
                           fills[0].color, fills[1].color}),
              (std::vector{color(14), color(13), color(0), color(7), color(13), color(7)}));

    // No rows: the header and the grid only.
    series.firstBar = kSlots;
    s.rowCount = 0;
    screen.ops.clear();
    paintDataWindow(screen, own, c, s, 120);
    EXPECT_EQ(screen.ofKind(RecordedOp::Text).size(), 5u);
}

}  // namespace
}  // namespace zepa::test
