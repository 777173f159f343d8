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

TEST(PricePaneGrid, ValuesLinesAndLabels) {
    Pane f(1);
    const auto labels = [&](PriceScale scale) {
        f.surface.ops.clear();
        f.state.scale = scale;
        drawPriceAxes(f.surface, f.c, 77, 400);
        return f.drawn(RecordedOp::Text, 16);
    };
    EXPECT_EQ(labels({1200, 980, 1.0f}),
              (Strings{"   980", "  1024", "  1068", "  1112", "  1156", "  1200"}));
    EXPECT_EQ(f.drawn(RecordedOp::Line, 16),
              (Strings{"52,400,780,400", "52,356,780,356", "52,312,780,312", "52,268,780,268",
                       "52,224,780,224", "52,180,780,180"}));
    EXPECT_EQ(f.drawn(RecordedOp::Text)[0], "4,385 -15 16:   980");  // 6 cells left, one line up
    EXPECT_EQ(f.surface.ofKind(RecordedOp::Line).at(0).style, PenStyle::Dot);

    // A wider range rounds the inner values half up to tens.
    EXPECT_EQ(labels({1300, 980, 0.5f}),
              (Strings{"   980", "  1040", "  1110", "  1170", "  1240", "  1300"}));
    EXPECT_EQ(f.drawn(RecordedOp::Line, 16)[2], "52,335,780,335");  // 400 - 130 * 0.5

    // Either leg corrected by 100 divides every label, truncating.
    f.series.sellFactor = 100;
    EXPECT_EQ(labels({123700, 123450, 1.0f})[0], "  1234");
}

TEST(PricePaneMonths, LabelsByPitchAndBarKindSeparatorsForEveryMonth) {
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
        f.settings.pitch = k.pitch;
        drawPriceAxes(f.surface, f.c, 77, 400);
        EXPECT_EQ(f.drawn(RecordedOp::Text, 15), k.labels) << k.pitch;
        if (k.pitch != 1.0f) {
            continue;
        }
        const std::vector<RecordedOp> lines = f.surface.ofKind(RecordedOp::Line);
        ASSERT_EQ(lines.size(), 12u + 6u);            // every month, labelled or not, then the grid
        EXPECT_EQ(coords(lines[0]), "73,77,73,400");  // slot 20: 52 + trunc(21 * 1.0)
        for (size_t m = 0; m < 12; ++m) {
            EXPECT_EQ(lines[m].style, m == 11 ? PenStyle::Solid : PenStyle::Dot) << m;  // January
            EXPECT_EQ(lines[m].color, color(15));
        }
        EXPECT_EQ(f.drawn(RecordedOp::Text)[0], "94,62 -15 15: 3");  // March, slot 40
    }
}

// Rising, falling, close = open with a range, and a day without movement; buy leg only.
Strings fourCandles(float pitch, int fillFalling, int fillRising) {
    Pane f(4);
    f.series.buyBars = {{{}, 1000, 1020, 990, 1010},
                        {{}, 1010, 1020, 990, 1000},
                        {{}, 1000, 1020, 990, 1000},
                        {{}, 1000, 1000, 1000, 1000}};
    f.settings.pitch = pitch;
    f.settings.fillFallingBodies = fillFalling;
    f.settings.fillRisingBodies = fillRising;
    f.settings.sellCandles = 0;
    drawCandles(f.surface, f.c, 52, 100);
    Strings out;
    for (const RecordedOp& op : f.surface.ops) {
        if (op.kind == RecordedOp::Line || op.kind == RecordedOp::Fill) {
            out.push_back((op.kind == RecordedOp::Line ? "L" : "F") + coords(op) + " " +
                          std::to_string(op.color - color(0)));
        }
    }
    return out;
}

TEST(PricePaneCandles, BodiesWicksAndColours) {
    // x 57, 63, 69, 74; half body trunc(5.725 / 4 + 0.5) = 1.
    EXPECT_EQ(fourCandles(5.725f, 1, 0),
              (Strings{// rising, outlined: body from open to close, wicks outward
                       "L56,200,58,200 91", "L58,200,58,190 91", "L58,190,56,190 91",
                       "L56,190,56,200 91", "L57,200,57,210 91", "L57,190,57,180 91",
                       // falling, filled
                       "F62,190,65,201 90", "L63,190,63,180 90", "L63,200,63,210 90",
                       // close = open: rising, one pixel high
                       "L68,200,70,200 91", "L70,200,70,200 91", "L70,200,68,200 91",
                       "L68,200,68,200 91", "L69,200,69,210 91", "L69,200,69,180 91",
                       // no movement: rising colour above falling colour
                       "F73,199,76,200 91", "F73,200,76,201 90"}));
    // Both switches fill the rising bodies too; pitch 1 puts bodies and wicks in one column.
    const Strings filled = fourCandles(1.0f, 1, 1);
    EXPECT_EQ(filled[0], "F53,190,54,201 91");
    EXPECT_EQ(filled[3], "F54,190,55,201 90");
    // Falling bodies outlined when not filled.
    EXPECT_EQ(fourCandles(5.725f, 0, 1)[6], "L62,190,64,190 90");
}

// A sell leg listed at slot 300, shown from 290 to 310, with a rising close and average.
struct LateLeg : Pane {
    LateLeg() : Pane(311) {
        view.firstShownBar = 290;
        settings.pitch = 5.0f;
        series.sellStart = 300;
        series.sellAverageStart = 305;  // period 5: slots 300..304 hold no average
        for (int i = 0; i < 311; ++i) {
            series.buyBars[i] = DayBar{{}, 1000, 1010, 990, 1000};
            if (i >= 300) {
                series.sellBars[i] = DayBar{{}, 950, 960, 940, 950 + (i - 300)};
                series.sellBars[i].average = i >= 305 ? 950 : 0;
            }
        }
    }
};

TEST(PricePaneLines, LegStartingInsideTheRange) {
    LateLeg f;
    f.series.buyEntryBar = 295;
    f.series.sellEntryBar = 302;
    drawCandles(f.surface, f.c, 52, 100);
    EXPECT_EQ(f.drawn(RecordedOp::Line, 95).size(), 11u * 6u);       // outlined bodies from 300 on
    EXPECT_EQ(f.drawn(RecordedOp::Line, 95)[0], "106,250,108,250");  // slot 300 at x 107
    // Icons 7 left of the bar: 4 below the buy low (210), 20 above the sell high (240).
    EXPECT_EQ(f.drawn(RecordedOp::Icon), (Strings{"75,214 601", "110,220 602"}));

    f.surface.ops.clear();
    drawTomeashi(f.surface, f.c, 52, 100, Leg::Sell);
    const Strings dots = f.drawn(RecordedOp::Ellipse, 96);
    ASSERT_EQ(dots.size(), 11u);
    EXPECT_EQ(dots[0], "106,249,108,252");  // slot 300 at x 107, y 250
    const Strings segments = f.drawn(RecordedOp::Line, 96);
    ASSERT_EQ(segments.size(), 10u);
    EXPECT_EQ(segments[0], "107,250,112,249");
}

TEST(PricePaneLines, AverageLineSkipsMissingAverages) {
    LateLeg f;
    drawAverageLine(f.surface, f.c, 52, 100, Leg::Sell);
    // From 305-306 on; nothing reaches down to y(0) = 1200.
    EXPECT_EQ(f.drawn(RecordedOp::Line, 99),
              (Strings{"132,250,137,250", "137,250,142,250", "142,250,147,250", "147,250,152,250",
                       "152,250,157,250"}));
    EXPECT_TRUE(f.surface.ofKind(RecordedOp::Ellipse).empty());
}

}  // namespace
}  // namespace zepa::test
