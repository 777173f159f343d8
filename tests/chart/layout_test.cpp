#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chart/chart_geometry.h"
#include "chart/layout.h"
#include "tests/support/recording_surface.h"

namespace zepa {
namespace {

// A chart over a plain series of empty bars; the -15 font is 8 wide and 15 high, the others
// |h|/2 wide and |h| high, so a slot's lineHeight tells which height it holds.
struct LayoutChart {
    ViewState view;
    ChartSettings settings;
    ColorTable colors;
    SpreadSeries series;
    PositionRecord position;
    FontSlotTable fonts;
    ChartState state;
    RecordingSurface surface;
    int32_t dateCount = 1000;

    LayoutChart() {
        view.chartArea = {0, 30, 800, 580};
        for (int i = 0; i < kColorCount; ++i) {
            colors.colors[i] = 0x10000 + i;
        }
        surface.metricsFor = [](int32_t h) {
            return h == -15 ? TextMetrics{8, 15, 12, 0} : TextMetrics{-h / 2, -h, -h, 0};
        };
        series.buyBars.resize(1000);
        series.sellBars.resize(1000);
    }
    ChartContext ctx() {
        return ChartContext{view, settings, colors, series, position, dateCount, fonts, state};
    }
    const ChartLayout& layout() {
        ChartContext c = ctx();
        layoutChart(surface, c);
        layoutColumns(surface, c);
        return state.layout;
    }
};

TEST(Layout, WorkedExampleFillsEveryField) {
    LayoutChart t;
    t.settings.pitchMode = 0;
    t.settings.stretchBarCount = 120;
    const ChartLayout& l = t.layout();
    EXPECT_EQ(l.headerFontHeight, -15);
    EXPECT_EQ(l.axisFontHeight, -15);
    EXPECT_EQ(l.labelFontHeight, -13);
    EXPECT_FLOAT_EQ(l.paneScale, 479.0f / 310.0f);
    EXPECT_EQ((std::vector<int32_t>{l.headerLeft, l.headerRight, l.pricePaneLeft, l.pricePaneRight,
                                    l.lowerPaneLeft, l.lowerPaneRight}),
              (std::vector<int32_t>{4, 795, 4, 795, 4, 795}));
    EXPECT_EQ(l.pricePaneTop, 55);
    EXPECT_EQ(l.priceAxisTop, 77);
    EXPECT_EQ(l.pricePlotTop, 78);
    EXPECT_EQ(l.pricePaneBottom, 386);
    EXPECT_EQ(l.pricePaneBottom - truncPixels(kPriceGapUnits * l.paneScale), 356);
    EXPECT_EQ(l.lowerTitleTop, 387);
    EXPECT_EQ(l.lowerTitleBottom, 406);
    EXPECT_EQ(l.lowerPaneTop, 407);
    EXPECT_EQ(l.lowerPaneBottom, 575);
    EXPECT_EQ(l.plotLeft, 52);
    EXPECT_EQ(l.plotWidth, 687);
    EXPECT_FLOAT_EQ(t.settings.pitch, 5.725f);
    EXPECT_EQ(t.view.lastShownBar, 999);
    EXPECT_EQ(t.view.firstShownBar, 880);
    EXPECT_EQ(t.fonts.slots[1].lineHeight, 15);
}

TEST(Layout, FontHeightsFollowTheSmallerSide) {
    struct Case {
        ChartRect area;
        int32_t axis, label;
    };
    const Case cases[] = {
        {{0, 30, 250, 630}, -13, -13},  // 243 wide
        {{0, 30, 199, 630}, -12, -12},  // 192 wide
        {{0, 30, 207, 630}, -13, -13},  // exactly 200 wide
        {{0, 30, 307, 337}, -15, -13},  // exactly 300 by 300
        {{0, 30, 800, 232}, -12, -12},  // 195 high
    };
    for (const Case& k : cases) {
        LayoutChart t;
        t.view.chartArea = k.area;
        const ChartLayout& l = t.layout();
        EXPECT_EQ(l.headerFontHeight, -15) << k.area.right << "x" << k.area.bottom;
        EXPECT_EQ(l.axisFontHeight, k.axis) << k.area.right << "x" << k.area.bottom;
        EXPECT_EQ(l.labelFontHeight, k.label) << k.area.right << "x" << k.area.bottom;
        EXPECT_EQ(t.fonts.slots[2].lineHeight, -k.axis);
    }
}

TEST(Layout, FixedPitchShownRange) {
    LayoutChart t;
    t.layout();  // pitch 5.0 fits trunc(137.4) pitches left of the newest slot
    EXPECT_EQ(t.view.firstShownBar, 862);
    EXPECT_EQ(t.view.lastShownBar, 999);

    t.series.firstBar = 900;
    t.layout();
    EXPECT_EQ(t.view.firstShownBar, 900);
    BarAxis axis = barAxis(t.ctx());
    EXPECT_EQ(axis.advance(), 57);

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
}

TEST(Layout, StretchModeWithoutABarCountShows150) {
    LayoutChart t;
    t.settings.pitchMode = 0;
    t.settings.stretchBarCount = 0;
    t.layout();
    EXPECT_EQ(t.settings.stretchBarCount, 150);
    EXPECT_FLOAT_EQ(t.settings.pitch, 687.0f / 150.0f);
    EXPECT_EQ(t.view.firstShownBar, 850);
}

TEST(Layout, HostileValuesGiveAUsableRange) {
    LayoutChart t;
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
    t.layout();
    EXPECT_LE(t.state.layout.plotWidth, 0);
    EXPECT_EQ(t.view.firstShownBar, t.view.lastShownBar);
    t.settings.pitchMode = 0;
    t.layout();
    EXPECT_FLOAT_EQ(t.settings.pitch, 0.01f);

    t.dateCount = 0;
    t.layout();
    EXPECT_LT(t.view.lastShownBar, t.view.firstShownBar);
}

TEST(Layout, ScalePricesCountsOnlyShownBarsWithACloseOfBothLegs) {
    LayoutChart t;
    ChartContext c = t.ctx();
    t.view.firstShownBar = 10;
    t.view.lastShownBar = 12;
    t.series.buyBars[10] = DayBar{{}, 0, 500, 400, 450, 0, 0, 0};
    t.series.buyBars[11] = DayBar{{}, 0, 900000, 1, 0, 0, 0, 0};  // no close: before the data
    t.series.sellBars[12] = DayBar{{}, 0, 620, 380, 600, 0, 0, 0};
    t.series.sellBars[13] = DayBar{{}, 0, 2000, 1, 1500, 0, 0, 0};  // right of the range
    scalePrices(c, 278.0f);
    EXPECT_EQ(t.state.scale.priceMax, 620);
    EXPECT_EQ(t.state.scale.priceMin, 380);
    EXPECT_FLOAT_EQ(t.state.scale.priceScale, 278.0f / 240.0f);

    t.view.firstShownBar = 0;
    t.view.lastShownBar = 9;
    scalePrices(c, 278.0f);
    EXPECT_EQ(t.state.scale.priceMax, 0);
    EXPECT_EQ(t.state.scale.priceMin, 999999999);
    EXPECT_EQ(t.state.scale.priceScale, 0.0f);

    t.view.firstShownBar = -3;  // slots below 0 and past the bars are skipped
    t.view.lastShownBar = 5000;
    scalePrices(c, 278.0f);
    EXPECT_EQ(t.state.scale.priceMax, 2000);
}

std::vector<int32_t> corners(const RecordedOp& op) {
    return {op.x1, op.y1, op.x2, op.y2, static_cast<int32_t>(op.color & 0xFF)};
}

TEST(Layout, FrameBandsBackgroundAndOutline) {
    LayoutChart t;  // colour i is 0x10000 + i
    ChartContext c = t.ctx();
    drawFrame(t.surface, c);
    std::vector<std::vector<int32_t>> fills, lines;
    for (const RecordedOp& op : t.surface.ofKind(RecordedOp::Fill)) {
        fills.push_back(corners(op));
    }
    for (const RecordedOp& op : t.surface.ofKind(RecordedOp::Line)) {
        lines.push_back(corners(op));
        EXPECT_EQ(op.style, PenStyle::Solid);
    }
    // Fills hand exclusive right and bottom edges to the surface.
    EXPECT_EQ(fills, (std::vector<std::vector<int32_t>>{{0, 30, 801, 34, 10},
                                                        {0, 576, 801, 581, 10},
                                                        {0, 30, 4, 581, 10},
                                                        {796, 30, 801, 581, 10},
                                                        {3, 33, 797, 577, 11}}));
    EXPECT_EQ(lines, (std::vector<std::vector<int32_t>>{{3, 33, 796, 33, 12},
                                                        {796, 33, 796, 576, 12},
                                                        {796, 576, 3, 576, 12},
                                                        {3, 576, 3, 33, 12}}));
}

}  // namespace
}  // namespace zepa
