#include <gtest/gtest.h>

#include <vector>

#include "chart/layout.h"
#include "chart/scrolling.h"
#include "tests/support/recording_surface.h"

namespace zepa {
namespace {

// The 800 x 550 chart of fixed pitch 5.0: plotLeft 52, plotWidth 687, 137.4 pitches.
struct ScrollChart {
    ViewState view;
    ChartSettings settings;
    ColorTable colors;
    SpreadSeries series;
    PositionRecord position;
    FontSlotTable fonts;
    ChartState state;
    RecordingSurface surface;
    int32_t dateCount;

    explicit ScrollChart(int32_t dates = 1000) : dateCount(dates) {
        view.chartArea = {0, 30, 800, 580};
        surface.metricsFor = [](int32_t) { return TextMetrics{8, 15, 12, 0}; };
        series.buyBars.resize(static_cast<size_t>(dates));
        series.sellBars.resize(static_cast<size_t>(dates));
        paint();
    }
    ChartContext ctx() {
        return ChartContext{view, settings, colors, series, position, dateCount, fonts, state};
    }
    // The part of a paint the scroll commands read back.
    void paint() {
        ChartContext c = ctx();
        layoutChart(surface, c);
        layoutColumns(surface, c);
    }
    bool older() {
        ChartContext c = ctx();
        return scrollOlder(c);
    }
    bool newer() {
        ChartContext c = ctx();
        return scrollNewer(c);
    }
};

TEST(Scrolling, OlderStepsByFourFifthsUntilTheOldestDatesAreShown) {
    ScrollChart t;
    std::vector<int32_t> backs;
    while (t.older()) {
        backs.push_back(t.view.scrollBack);
        t.paint();
        if (backs.size() == 1) {
            EXPECT_EQ(t.view.firstShownBar, 753);
            EXPECT_EQ(t.view.lastShownBar, 890);
        }
        ASSERT_LT(backs.size(), 20u);
    }
    EXPECT_EQ(backs, (std::vector<int32_t>{109, 218, 327, 436, 545, 654, 763, 862}));
    EXPECT_EQ(t.view.firstShownBar, 0);
    EXPECT_EQ(t.view.lastShownBar, 137);
    EXPECT_EQ(t.view.scrollBack, 862);  // the refused press changed nothing
}

TEST(Scrolling, OlderReachesTheOldestDateInStretchModeAndAfterAFallback) {
    ScrollChart t;
    t.settings.pitchMode = 0;
    t.settings.stretchBarCount = 120;
    t.paint();
    int presses = 0;
    while (t.older() && presses < 20) {
        ++presses;
        t.paint();
    }
    EXPECT_EQ(presses, 10);  // steps of 96, the last one limited
    EXPECT_EQ(t.view.firstShownBar, 0);
    EXPECT_EQ(t.view.lastShownBar, 119);

    ScrollChart later;
    later.series.firstBar = 100;
    later.view.scrollBack = 950;  // left over: the newest dates are shown
    later.paint();
    EXPECT_TRUE(later.older());
    EXPECT_EQ(later.view.scrollBack, 109);
}

TEST(Scrolling, NewerStopsAtTheNewestDate) {
    ScrollChart t;
    t.view.scrollBack = 50;
    t.paint();
    EXPECT_TRUE(t.newer());
    EXPECT_EQ(t.view.scrollBack, 0);
    t.paint();
    EXPECT_FALSE(t.newer());
    EXPECT_EQ(t.view.scrollBack, 0);
}

TEST(Scrolling, RefusedWhenEverythingFitsOrNothingWasPainted) {
    ScrollChart shortSeries(100);
    shortSeries.view.scrollBack = 10;
    shortSeries.paint();
    EXPECT_FALSE(shortSeries.older());
    EXPECT_FALSE(shortSeries.newer());
    EXPECT_EQ(shortSeries.view.scrollBack, 10);

    ScrollChart unpainted;
    unpainted.state.layout.plotWidth = 0;
    unpainted.view.firstShownBar = 500;
    unpainted.view.lastShownBar = 600;
    EXPECT_FALSE(unpainted.older());
    EXPECT_FALSE(unpainted.newer());
    EXPECT_EQ(unpainted.view.scrollBack, 0);
}

TEST(Scrolling, MouseXPicksTheNearestShownBar) {
    ScrollChart t;  // slots 862 ... 999, slot 862 at x 57
    const ChartContext c = t.ctx();
    EXPECT_EQ(cursorBarAt(c, 57), 862);
    EXPECT_EQ(cursorBarAt(c, 59), 862);
    EXPECT_EQ(cursorBarAt(c, 60), 863);
    // Slot 900 stands at 247: 2.5 pixels either side belong to it.
    EXPECT_EQ(cursorBarAt(c, 244), 899);
    EXPECT_EQ(cursorBarAt(c, 245), 900);
    EXPECT_EQ(cursorBarAt(c, 249), 900);
    EXPECT_EQ(cursorBarAt(c, 250), 901);
    EXPECT_EQ(cursorBarAt(c, 0), 862);
    EXPECT_EQ(cursorBarAt(c, 5000), 999);

    ChartContext m = t.ctx();
    jumpToCursorBar(m, 900);
    EXPECT_EQ(t.view.scrollBack, 99);
    t.paint();
    EXPECT_EQ(t.view.lastShownBar, 900);
}

TEST(Scrolling, CursorLineCrossesThePriceRangeAndTheLowerPane) {
    ScrollChart t;  // paneScale 479/310: 20 units are 30 pixels, 7 units 10
    t.surface.setRasterOp(RasterOp::Not);
    cursorLine(t.surface, t.ctx(), 300, 0x123456);
    const auto lines = t.surface.ofKind(RecordedOp::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ((std::vector<int32_t>{lines[0].y1, lines[0].y2, lines[1].y1, lines[1].y2}),
              (std::vector<int32_t>{78, 356, 417, 565}));
    for (const RecordedOp& op : lines) {
        EXPECT_EQ(op.x1, 300);
        EXPECT_EQ(op.x2, 300);
        EXPECT_EQ(op.color, 0x123456u);
        EXPECT_EQ(op.style, PenStyle::Solid);
        EXPECT_EQ(op.rasterOp, RasterOp::Not);
    }
}

}  // namespace
}  // namespace zepa
