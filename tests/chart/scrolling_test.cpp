#include <gtest/gtest.h>

#include "chart/scrolling.h"
#include "tests/chart/chart_fixture.h"

namespace zepa::test {
namespace {

// At the fixed pitch 5.0 the plot (from x 52, 687 wide) holds 137.4 pitches.
struct Laidout : ChartFixture {
    explicit Laidout(int32_t bars = 1000) : ChartFixture(bars) { layout(); }
};

TEST(Scrolling, StepsByFourFifthsBetweenTheOldestAndTheNewestDates) {
    Laidout t;
    std::vector<int32_t> backs;
    while (scrollOlder(t.c) && backs.size() < 20) {
        backs.push_back(t.view.scrollBack);
        t.layout();
    }
    EXPECT_EQ(backs, (std::vector<int32_t>{109, 218, 327, 436, 545, 654, 763, 862}));
    EXPECT_EQ(t.view.firstShownBar, 0);
    EXPECT_EQ(t.view.lastShownBar, 137);
    EXPECT_EQ(t.view.scrollBack, 862);  // the refused press changed nothing

    backs.clear();
    while (scrollNewer(t.c) && backs.size() < 20) {
        backs.push_back(t.view.scrollBack);
        t.layout();
    }
    EXPECT_EQ(backs, (std::vector<int32_t>{753, 644, 535, 426, 317, 208, 99, 0}));
    EXPECT_EQ(t.view.lastShownBar, 999);
}

TEST(Scrolling, OlderReachesTheOldestDateInStretchModeAndAfterAFallback) {
    Laidout t;
    t.settings.pitchMode = 0;
    t.settings.stretchBarCount = 120;
    t.layout();
    int presses = 0;
    while (scrollOlder(t.c) && presses < 20) {
        ++presses;
        t.layout();
    }
    EXPECT_EQ(presses, 10);  // steps of 96, the last one limited
    EXPECT_EQ(t.view.firstShownBar, 0);
    EXPECT_EQ(t.view.lastShownBar, 119);

    Laidout later;
    later.series.firstBar = 100;
    later.view.scrollBack = 950;  // left over: the newest dates are shown
    later.layout();
    EXPECT_TRUE(scrollOlder(later.c));
    EXPECT_EQ(later.view.scrollBack, 109);
}

TEST(Scrolling, RefusedWhenEverythingFitsOrNothingWasPainted) {
    Laidout shortSeries(100);
    shortSeries.view.scrollBack = 10;
    shortSeries.layout();
    EXPECT_FALSE(scrollOlder(shortSeries.c));
    EXPECT_FALSE(scrollNewer(shortSeries.c));
    EXPECT_EQ(shortSeries.view.scrollBack, 10);

    ChartFixture unpainted;
    unpainted.view.firstShownBar = 500;
    unpainted.view.lastShownBar = 600;
    EXPECT_FALSE(scrollOlder(unpainted.c));
    EXPECT_FALSE(scrollNewer(unpainted.c));
    EXPECT_EQ(unpainted.view.scrollBack, 0);
}

TEST(Scrolling, MouseXPicksTheNearestShownBar) {
    Laidout t;  // slots 862 ... 999, slot 862 at x 57, slot 900 at 247
    const std::pair<int32_t, int32_t> cases[] = {{57, 862},  {59, 862},  {60, 863},
                                                 {244, 899}, {245, 900}, {249, 900},
                                                 {250, 901}, {0, 862},   {5000, 999}};
    for (auto [x, bar] : cases) {
        EXPECT_EQ(cursorBarAt(t.c, x), bar) << x;
    }
    jumpToCursorBar(t.c, 900);
    EXPECT_EQ(t.view.scrollBack, 99);
    t.layout();
    EXPECT_EQ(t.view.lastShownBar, 900);
}

TEST(Scrolling, CursorLineCrossesThePriceRangeAndTheLowerPane) {
    Laidout t;  // paneScale 479/310: 20 units are 30 pixels, 7 units 10
    t.surface.setRasterOp(RasterOp::Not);
    cursorLine(t.surface, t.c, 300, color(7));
    EXPECT_EQ(t.drawn(RecordedOp::Line), (Strings{"300,78,300,356 7", "300,417,300,565 7"}));
    for (const RecordedOp& op : t.surface.ops) {
        EXPECT_EQ(op.style, PenStyle::Solid);
        EXPECT_EQ(op.rasterOp, RasterOp::Not);
    }
}

}  // namespace
}  // namespace zepa::test
