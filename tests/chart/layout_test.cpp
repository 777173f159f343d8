#include <gtest/gtest.h>

#include <cmath>

#include "tests/chart/chart_fixture.h"

namespace zepa::test {
namespace {

TEST(Layout, WorkedExampleFillsEveryField) {
    ChartFixture t;
    t.settings.pitchMode = 0;
    t.settings.stretchBarCount = 120;
    const ChartLayout& l = t.layout();
    EXPECT_FLOAT_EQ(l.paneScale, 479.0f / 310.0f);
    EXPECT_EQ((Ints{l.headerLeft, l.headerRight, l.pricePaneLeft, l.pricePaneRight, l.lowerPaneLeft,
                    l.lowerPaneRight, l.pricePaneTop, l.priceAxisTop, l.pricePlotTop,
                    l.pricePaneBottom, l.lowerTitleTop, l.lowerTitleBottom, l.lowerPaneTop,
                    l.lowerPaneBottom, l.plotLeft, l.plotWidth}),
              (Ints{4, 795, 4, 795, 4, 795, 55, 77, 78, 386, 387, 406, 407, 575, 52, 687}));
    EXPECT_FLOAT_EQ(t.settings.pitch, 5.725f);
    EXPECT_EQ(t.view.firstShownBar, 880);
    EXPECT_EQ(t.view.lastShownBar, 999);
}

TEST(Layout, FontHeightsFollowTheSmallerSide) {
    const struct {
        ChartRect area;
        int32_t axis, label;
    } cases[] = {
        {{0, 30, 800, 580}, -15, -13},  // the worked example
        {{0, 30, 250, 630}, -13, -13},  // 243 wide
        {{0, 30, 199, 630}, -12, -12},  // 192 wide
        {{0, 30, 207, 630}, -13, -13},  // exactly 200 wide
        {{0, 30, 307, 337}, -15, -13},  // exactly 300 by 300
        {{0, 30, 800, 232}, -12, -12},  // 195 high
    };
    for (const auto& k : cases) {
        ChartFixture t;
        t.view.chartArea = k.area;
        const ChartLayout& l = t.layout();
        EXPECT_EQ((Ints{l.headerFontHeight, l.axisFontHeight, l.labelFontHeight}),
                  (Ints{-15, k.axis, k.label}))
            << k.area.right << "x" << k.area.bottom;
        EXPECT_EQ(t.fonts.slots[2].lineHeight, -k.axis);
    }
}

TEST(Layout, ShownRangeByPitchMode) {
    ChartFixture t;
    t.layout();  // pitch 5.0 fits trunc(137.4) pitches left of the newest slot
    EXPECT_EQ(t.view.firstShownBar, 862);
    EXPECT_EQ(t.view.lastShownBar, 999);

    t.series.firstBar = 900;
    t.layout();
    EXPECT_EQ(t.view.firstShownBar, 900);
    EXPECT_EQ(barAxis(t.c).advance(), 57);

    t.series.firstBar = 100;
    t.view.scrollBack = 950;  // would end at 49, before the data
    t.layout();
    EXPECT_EQ(t.view.lastShownBar, 999);
    EXPECT_EQ(t.view.scrollBack, 950);

    t.view.scrollBack = 0;
    t.settings.pitch = 0.0f;
    t.layout();
    EXPECT_FLOAT_EQ(t.settings.pitch, 4.0f);
    EXPECT_EQ(t.view.firstShownBar, 999 - 171);

    // Stretch mode without a bar count shows 150.
    t.settings.pitchMode = 0;
    t.series.firstBar = 0;
    t.layout();
    EXPECT_EQ(t.settings.stretchBarCount, 150);
    EXPECT_FLOAT_EQ(t.settings.pitch, 687.0f / 150.0f);
    EXPECT_EQ(t.view.firstShownBar, 850);
}

TEST(Layout, HostileValuesGiveAUsableRange) {
    ChartFixture t;
    t.settings.pitch = 1e-30f;
    t.layout();
    EXPECT_EQ(t.view.firstShownBar, 0);
    t.settings.pitch = 2e8f;
    t.layout();
    EXPECT_EQ(t.view.firstShownBar, 999);
    t.settings.pitch = std::nanf("");
    t.layout();
    EXPECT_FLOAT_EQ(t.settings.pitch, 4.0f);

    t.view.scrollBack = -5;  // never set by a command; must not reach past the bars
    t.layout();
    EXPECT_EQ(t.view.lastShownBar, 999);
    t.view.scrollBack = 0;

    t.view.chartArea = {0, 30, 60, 580};  // narrower than the 13 label characters
    EXPECT_LE(t.layout().plotWidth, 0);
    EXPECT_EQ(t.view.firstShownBar, t.view.lastShownBar);
    t.settings.pitchMode = 0;
    t.layout();
    EXPECT_FLOAT_EQ(t.settings.pitch, 0.01f);

    t.c.dateCount = 0;
    t.layout();
    EXPECT_LT(t.view.lastShownBar, t.view.firstShownBar);
}

TEST(Layout, ScalePricesCountsOnlyShownBarsWithACloseOfBothLegs) {
    ChartFixture t;
    t.view.firstShownBar = 10;
    t.view.lastShownBar = 12;
    t.series.buyBars[10] = DayBar{{}, 0, 500, 400, 450, 0, 0, 0};
    t.series.buyBars[11] = DayBar{{}, 0, 900000, 1, 0, 0, 0, 0};  // no close: before the data
    t.series.sellBars[12] = DayBar{{}, 0, 620, 380, 600, 0, 0, 0};
    t.series.sellBars[13] = DayBar{{}, 0, 2000, 1, 1500, 0, 0, 0};  // right of the range
    const PriceScale& s = t.state.scale;
    scalePrices(t.c, 278.0f);
    EXPECT_EQ(s.priceMax, 620);
    EXPECT_EQ(s.priceMin, 380);
    EXPECT_FLOAT_EQ(s.priceScale, 278.0f / 240.0f);

    t.view.firstShownBar = 0;
    t.view.lastShownBar = 9;
    scalePrices(t.c, 278.0f);
    EXPECT_EQ((Ints{s.priceMax, s.priceMin}), (Ints{0, 999999999}));
    EXPECT_EQ(s.priceScale, 0.0f);

    t.view.firstShownBar = -3;  // slots below 0 and past the bars are skipped
    t.view.lastShownBar = 5000;
    scalePrices(t.c, 278.0f);
    EXPECT_EQ(s.priceMax, 2000);
}

TEST(Layout, FrameBandsBackgroundAndOutline) {
    ChartFixture t;
    drawFrame(t.surface, t.c);
    // Fills hand exclusive right and bottom edges to the surface.
    EXPECT_EQ(t.drawn(RecordedOp::Fill),
              (Strings{"0,30,801,34 10", "0,576,801,581 10", "0,30,4,581 10", "796,30,801,581 10",
                       "3,33,797,577 11"}));
    EXPECT_EQ(t.drawn(RecordedOp::Line), (Strings{"3,33,796,33 12", "796,33,796,576 12",
                                                  "796,576,3,576 12", "3,576,3,33 12"}));
    for (const RecordedOp& op : t.surface.ofKind(RecordedOp::Line)) {
        EXPECT_EQ(op.style, PenStyle::Solid);
    }
}

TEST(Primitives, FontSlotsKeepOneFontAliveAndReadMetrics) {
    RecordingSurface s;
    s.metricsFor = [](int32_t h) { return TextMetrics{-h / 2, -h, -h + 2, 2}; };
    FontSlotTable table;
    selectFontSlot(s, table, 1, kChartFontFace, -13);
    selectFontSlot(s, table, 1, kChartFontFace, -15);
    EXPECT_EQ(s.liveFonts(), 2);  // the stock font and the slot's font
    EXPECT_EQ((Ints{table.slots[1].charWidth, table.slots[1].lineHeight, table.lastTextHeight}),
              (Ints{7, 17, 15}));
    releaseFontSlots(s, table);
    EXPECT_EQ(s.liveFonts(), 1);
    EXPECT_EQ(table.slots[1].inUse, 0);
}

}  // namespace
}  // namespace zepa::test
