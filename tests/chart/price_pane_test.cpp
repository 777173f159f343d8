#include <gtest/gtest.h>

#include "chart/price_pane.h"
#include "tests/chart/chart_fixture.h"

namespace zepa::test {
namespace {

// plotLeft 52, y(p) = 100 + (1100 - p).
struct Pane : ChartFixture {
    explicit Pane(int32_t slots) : ChartFixture(slots) {
        state.layout.plotLeft = 52;
        state.layout.pricePlotTop = 100;
        view.lastShownBar = slots - 1;
        state.scale = {1100, 900, 1.0f};
    }
};

TEST(PricePane, GridValuesRoundHalfUpAndFactorsTruncate) {
    Pane f(1);
    const auto labels = [&](PriceScale scale) {
        f.surface.ops.clear();
        f.state.scale = scale;
        drawPriceAxes(f.surface, f.c, 77, 400);
        return f.drawn(RecordedOp::Text, 16);
    };
    EXPECT_EQ(labels({1200, 980, 1.0f}),
              (Strings{"   980", "  1024", "  1068", "  1112", "  1156", "  1200"}));
    EXPECT_EQ(labels({1300, 980, 0.5f}),
              (Strings{"   980", "  1040", "  1110", "  1170", "  1240", "  1300"}));
    f.series.sellFactor = 100;
    EXPECT_EQ(labels({123700, 123450, 1.0f})[0], "  1234");
}

TEST(PricePane, MonthLabelsByPitchAndBarKindSeparatorsForEveryMonth) {
    const Strings quarters = {" 3", " 6", " 9", "12"};
    const Strings all = {" 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", "10", "11", "12", " 1"};
    const struct {
        int weekly;
        float pitch;
        const Strings& labels;
    } cases[] = {{0, 1.0f, quarters}, {0, 1.25f, all}, {1, 5.725f, quarters}, {1, 6.5f, all}};
    for (const auto& k : cases) {
        Pane f(241);  // twelve months of 20 slots each from January, then January again
        for (size_t i = 0; i < f.series.buyBars.size(); ++i) {
            f.series.buyBars[i].date.month = static_cast<uint8_t>(i / 20 % 12 + 1);
        }
        f.view.weeklyBars = k.weekly;
        f.settings.pitch = f.state.layout.pitch = k.pitch;
        drawPriceAxes(f.surface, f.c, 77, 400);
        EXPECT_EQ(f.drawn(RecordedOp::Text, 15), k.labels) << k.pitch;
        const std::vector<RecordedOp> lines = f.ops(RecordedOp::Line, 15);
        ASSERT_EQ(lines.size(), 12u);  // every month, labelled or not
        EXPECT_EQ((std::pair{lines[10].style, lines[11].style}),
                  (std::pair{PenStyle::Dot, PenStyle::Solid}));  // January
    }
}

// A sell leg listed at slot 300, shown from 290 to 310, with a rising close; its average
// (period 5) starts at 305.
TEST(PricePane, LegStartingInsideTheRangeDrawsFromItsFirstSlot) {
    Pane f(311);
    f.view.firstShownBar = 290;
    f.settings.pitch = f.state.layout.pitch = 5.0f;
    f.series.sellStart = 300;
    f.series.sellAverageStart = 305;
    for (int i = 0; i < 311; ++i) {
        f.series.buyBars[i] = DayBar{{}, 1000, 1010, 990, 1000};
        if (i >= 300) {
            f.series.sellBars[i] = DayBar{{}, 950, 960, 940, 950 + (i - 300)};
            f.series.sellBars[i].average = i >= 305 ? 950 : 0;
        }
    }
    f.series.buyEntryBar = 295;
    f.series.sellEntryBar = 302;
    drawCandles(f.surface, f.c, 52, 100);
    EXPECT_EQ(f.drawn(RecordedOp::Line, 95).size(), 11u * 6u);       // outlined bodies from 300 on
    EXPECT_EQ(f.drawn(RecordedOp::Line, 95)[0], "106,250,108,250");  // slot 300 at x 107
    // Icons 7 left of the bar: 4 below the buy low (210), 20 above the sell high (240).
    EXPECT_EQ(f.drawn(RecordedOp::Icon), (Strings{"75,214 601", "110,220 602"}));

    f.surface.ops.clear();
    drawTomeashi(f.surface, f.c, 52, 100, Leg::Sell);
    EXPECT_EQ(f.drawn(RecordedOp::Ellipse, 96).size(), 11u);
    EXPECT_EQ(f.drawn(RecordedOp::Line, 96).at(0), "107,250,112,249");

    f.surface.ops.clear();
    drawAverageLine(f.surface, f.c, 52, 100, Leg::Sell);
    // From 305-306 on; nothing reaches down to y(0) = 1200.
    const Strings average = f.drawn(RecordedOp::Line, 99);
    ASSERT_EQ(average.size(), 5u);
    EXPECT_EQ(average[0], "132,250,137,250");
}

TEST(PricePane, OverlaidSellLegIsDrawnAtTheScaledPricesOnly) {
    Pane f(3);
    f.settings.pitch = f.state.layout.pitch = 5.0f;
    for (int i = 0; i < 3; ++i) {
        f.series.buyBars[i] = DayBar{{}, 1000, 1010, 990, 1000};
        f.series.sellBars[i] = DayBar{{}, 480, 505, 470, 500 + i};
        f.series.sellBars[i].average = 490;
    }
    f.series.sellEntryBar = 1;
    f.settings.overlaySellAtEntry = 1;
    f.state.sellDrawScale = 2.0;  // 1000 / 500
    drawCandles(f.surface, f.c, 52, 100);
    // A rising candle 960..1000 (y 240..200), wicks to 1010 and 940; the icon 20 above y(1010).
    // In the overlaid leg's own colour, none in the sell leg's usual ones.
    EXPECT_TRUE(f.drawn(RecordedOp::Line, 95).empty());
    const Strings body = f.drawn(RecordedOp::Line, kOverlaidSellRisingColor);
    ASSERT_GE(body.size(), 6u);
    EXPECT_EQ((Strings{body[0], body[4], body[5]}),
              (Strings{"56,240,58,240", "57,240,57,260", "57,200,57,190"}));
    EXPECT_EQ(f.drawn(RecordedOp::Icon), (Strings{"55,170 602"}));
    f.surface.ops.clear();
    drawAverageLine(f.surface, f.c, 52, 100, Leg::Sell);
    EXPECT_EQ(f.drawn(RecordedOp::Line, 99).at(0), "57,220,62,220");  // 490 drawn as 980
    // The buy leg keeps its own prices.
    f.surface.ops.clear();
    drawTomeashi(f.surface, f.c, 52, 100, Leg::Buy);
    EXPECT_EQ(f.drawn(RecordedOp::Line, 92).at(0), "57,200,62,200");
}

}  // namespace
}  // namespace zepa::test
