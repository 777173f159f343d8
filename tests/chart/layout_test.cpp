#include <gtest/gtest.h>

#include <cmath>

#include "chart/layout.h"
#include "chart/scrolling.h"
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
    // Stretched, the chart draws with a pitch of its own; the user's stays as stored.
    EXPECT_FLOAT_EQ(l.pitch, 5.725f);
    EXPECT_FLOAT_EQ(t.settings.pitch, 5.0f);
    EXPECT_EQ((Ints{t.view.firstShownBar, t.view.lastShownBar}), (Ints{880, 999}));
    // A count the store never set shows as many bars as the loader and 詳細設定 give it.
    t.settings.stretchBarCount = 0;
    EXPECT_FLOAT_EQ(t.layout().pitch, 5.725f);
    EXPECT_EQ((Ints{t.view.firstShownBar, t.settings.stretchBarCount}), (Ints{880, 0}));
}

// Small charts take smaller axis and label fonts: under 200 or under 300 pixels inside the
// frame (width - 7, height - 7), either side alone deciding; the header keeps -15.
TEST(Layout, SmallChartAreasTakeSmallerFonts) {
    struct Case {
        int32_t width, height;  // inside the frame
        Ints fonts;             // header, axis, label; then slot 2's line height
    };
    for (const Case& k : {Case{199, 600, {-15, -12, -12, 12}}, Case{600, 199, {-15, -12, -12, 12}},
                          Case{200, 600, {-15, -13, -13, 13}}, Case{600, 299, {-15, -13, -13, 13}},
                          Case{300, 300, {-15, -15, -13, 15}}}) {
        ChartFixture t;
        t.view.chartArea = {10, kToolbarHeight, 10 + k.width + 7, kToolbarHeight + k.height + 7};
        const ChartLayout& l = t.layout();
        EXPECT_EQ((Ints{l.headerFontHeight, l.axisFontHeight, l.labelFontHeight,
                        t.fonts.slots[2].lineHeight}),
                  k.fonts)
            << k.width << " x " << k.height;
    }
}

TEST(Layout, ShownRangeStaysInsideTheDataForHostileValues) {
    ChartFixture t;
    t.series.firstBar = 900;
    t.layout();
    EXPECT_EQ(t.view.firstShownBar, 900);
    EXPECT_EQ(barAxis(t.c).advance(), 57);
    t.series.firstBar = 0;

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
    EXPECT_FLOAT_EQ(t.layout().pitch, 0.01f);

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
    EXPECT_EQ((Ints{s.priceMax, s.priceMin}), (Ints{620, 380}));
    EXPECT_FLOAT_EQ(s.priceScale, 278.0f / 240.0f);

    t.view.firstShownBar = -3;  // slots below 0 and past the bars are skipped
    t.view.lastShownBar = 5000;
    scalePrices(t.c, 278.0f);
    EXPECT_EQ(s.priceMax, 2000);
}

TEST(Layout, OverlaidSellLegMeetsTheBuyLegAtTheEntryOnTheBuyLegsAxis) {
    ChartFixture t;
    t.view.firstShownBar = 10;
    t.view.lastShownBar = 12;
    for (int i = 10; i <= 12; ++i) {
        t.series.buyBars[i] = DayBar{{}, 7000, 7100 + i, 6900, 7000 + 10 * i, 0, 0, 0};
        t.series.sellBars[i] = DayBar{{}, 1100, 1150, 1050, 1100 + 5 * i, 0, 0, 0};
    }
    const PriceScale& s = t.state.scale;

    // On with entries at slots 11 (buy, close 7110) and 12 (sell, close 1160).
    t.settings.overlaySellAtEntry = 1;
    t.series.buyEntryBar = 11;
    t.series.sellEntryBar = 12;
    t.series.buyEntryClose = 7110;
    t.series.sellEntryClose = 1160;
    setSellDrawScale(t.c);
    EXPECT_DOUBLE_EQ(t.state.sellDrawScale, 7110.0 / 1160.0);
    EXPECT_EQ(drawnPrice(t.c, Leg::Sell, 1160), 7110);
    scalePrices(t.c, 278.0f);
    // 1150 and 1050 scaled: 7048.4 and 6435.5, rounded.
    EXPECT_EQ((Ints{s.priceMax, s.priceMin}), (Ints{7112, 6436}));

    // Without an entry on one leg: the first shown slot where both closed (11).
    t.series.sellEntryBar = -1;
    t.series.buyBars[10].close = 0;
    setSellDrawScale(t.c);
    EXPECT_DOUBLE_EQ(t.state.sellDrawScale, 7110.0 / 1155.0);
    // Nothing shown closed on both legs: no scaling.
    t.view.lastShownBar = 10;
    setSellDrawScale(t.c);
    EXPECT_EQ(t.state.sellDrawScale, 1.0);
}

// At the fixed pitch 5.0 the plot holds 137.4 pitches: steps of 4/5 of them, limited.
TEST(Scrolling, StepsBetweenTheOldestAndTheNewestDates) {
    ChartFixture t;
    t.layout();
    Ints backs;
    while (scrollOlder(t.c) && backs.size() < 20) {
        backs.push_back(t.view.scrollBack);
        t.layout();
    }
    EXPECT_EQ(backs, (Ints{109, 218, 327, 436, 545, 654, 763, 862}));
    EXPECT_EQ(t.view.firstShownBar, 0);
    backs.clear();
    while (scrollNewer(t.c) && backs.size() < 20) {
        backs.push_back(t.view.scrollBack);
        t.layout();
    }
    EXPECT_EQ(backs, (Ints{753, 644, 535, 426, 317, 208, 99, 0}));

    ChartFixture later;  // a left-over scroll past the data: the next step starts from the newest
    later.series.firstBar = 100;
    later.view.scrollBack = 950;
    later.layout();
    EXPECT_TRUE(scrollOlder(later.c));
    EXPECT_EQ(later.view.scrollBack, 109);

    ChartFixture shortSeries(100);  // everything fits: refused, nothing changes
    shortSeries.view.scrollBack = 10;
    shortSeries.layout();
    EXPECT_FALSE(scrollOlder(shortSeries.c) || scrollNewer(shortSeries.c));
    EXPECT_EQ(shortSeries.view.scrollBack, 10);
}

// The cursor picks the bar nearest to the mouse: the first shown bar stands one pitch right of
// plotLeft, half a pitch either side of a bar is that bar's, and the range ends hold.
TEST(Scrolling, CursorMapsTheMouseToTheNearestShownBar) {
    ChartFixture t;  // pitch 5.0 from plotLeft 52: slot 862 at x 57, 863 at 62, ...
    t.view.scrollBack = 100;
    t.layout();
    ASSERT_EQ((Ints{t.view.firstShownBar, t.view.lastShownBar}), (Ints{762, 899}));
    const Ints xs = {-40, 52, 54, 57, 59, 60, 62, 64, 65, 738, 739, 740, 746, 747, 5000};
    Ints bars;
    for (int32_t x : xs) {
        bars.push_back(cursorBarAt(t.c, x));
    }
    EXPECT_EQ(bars,
              (Ints{762, 762, 762, 762, 762, 763, 763, 763, 764, 898, 898, 899, 899, 899, 899}));
    jumpToCursorBar(t.c, bars[5]);
    t.layout();
    EXPECT_EQ(t.view.lastShownBar, 763);
}

}  // namespace
}  // namespace zepa::test
