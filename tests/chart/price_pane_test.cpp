#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "chart/price_pane.h"
#include "tests/support/recording_surface.h"

namespace zepa {
namespace {

constexpr ColorRef kColorBase = 1000;  // colour index i is kColorBase + i

// plotLeft 52, y(p) = 100 + (1100 - p); slot-2 font 8 wide and 15 high.
struct PaneFixture {
    ViewState view;
    ChartSettings settings;
    ColorTable colors;
    SpreadSeries series;
    PositionRecord position;
    FontSlotTable fonts;
    ChartState state;
    RecordingSurface surface;
    ChartContext c{view, settings, colors, series, position, 0, fonts, state};

    explicit PaneFixture(int slots) {
        for (int i = 0; i < kColorCount; ++i) {
            colors.colors[i] = kColorBase + i;
        }
        surface.metricsFor = [](int32_t h) { return TextMetrics{std::abs(h) / 2 + 1, 15, 12, 0}; };
        series.buyBars.assign(slots, DayBar{});
        series.sellBars.assign(slots, DayBar{});
        c.dateCount = slots;
        state.layout.plotLeft = 52;
        state.layout.pricePlotTop = 100;
        view.chartArea = {0, 30, 800, 580};
        view.lastShownBar = slots - 1;
        state.scale = {1100, 900, 1.0f};
    }

    // "x1,y1,x2,y2" of the recorded operations of one kind and colour index.
    std::vector<std::string> ops(RecordedOp::Kind kind, int colorIndex) const {
        std::vector<std::string> out;
        for (const RecordedOp& op : surface.ofKind(kind)) {
            if (op.color == kColorBase + colorIndex) {
                out.push_back(kind == RecordedOp::Text ? op.text : coords(op));
            }
        }
        return out;
    }
    static std::string coords(const RecordedOp& op) {
        return std::to_string(op.x1) + "," + std::to_string(op.y1) + "," + std::to_string(op.x2) +
               "," + std::to_string(op.y2);
    }
};

DayBar bar(int32_t open, int32_t high, int32_t low, int32_t close) {
    DayBar b;
    b.open = open;
    b.high = high;
    b.low = low;
    b.close = close;
    return b;
}

TEST(PricePaneGrid, ValuesLinesAndLabels) {
    PaneFixture f(1);
    f.state.scale = {1200, 980, 1.0f};
    drawPriceAxes(f.surface, f.c, 77, 400);
    EXPECT_EQ(f.ops(RecordedOp::Line, 16),
              (std::vector<std::string>{"52,400,780,400", "52,356,780,356", "52,312,780,312",
                                        "52,268,780,268", "52,224,780,224", "52,180,780,180"}));
    EXPECT_EQ(
        f.ops(RecordedOp::Text, 16),
        (std::vector<std::string>{"   980", "  1024", "  1068", "  1112", "  1156", "  1200"}));
    const RecordedOp label = f.surface.ofKind(RecordedOp::Text).at(0);
    EXPECT_EQ(label.x1, 52 - 6 * 8);
    EXPECT_EQ(label.y1, 400 - 15);
    EXPECT_EQ(label.backgroundMode, BackgroundMode::Transparent);
    EXPECT_EQ(f.surface.ofKind(RecordedOp::Line).at(0).style, PenStyle::Dot);

    // A wider range rounds the inner values half up to tens.
    PaneFixture g(1);
    g.state.scale = {1300, 980, 0.5f};
    drawPriceAxes(g.surface, g.c, 77, 400);
    EXPECT_EQ(
        g.ops(RecordedOp::Text, 16),
        (std::vector<std::string>{"   980", "  1040", "  1110", "  1170", "  1240", "  1300"}));
    EXPECT_EQ(g.ops(RecordedOp::Line, 16)[2], "52,335,780,335");  // 400 - 130 * 0.5

    // Either leg corrected by 100 divides every label, truncating.
    PaneFixture h(1);
    h.series.sellFactor = 100;
    h.state.scale = {123700, 123450, 1.0f};
    drawPriceAxes(h.surface, h.c, 77, 400);
    EXPECT_EQ(h.ops(RecordedOp::Text, 16)[0], "  1234");
}

// Twelve months of 20 slots each from January, then January again.
void drawMonths(PaneFixture& f, int weekly, float pitch) {
    for (size_t i = 0; i < f.series.buyBars.size(); ++i) {
        f.series.buyBars[i].date.month = static_cast<uint8_t>(i / 20 % 12 + 1);
    }
    f.view.weeklyBars = weekly;
    f.settings.pitch = pitch;
    drawPriceAxes(f.surface, f.c, 77, 400);
}

TEST(PricePaneMonths, LabelsByPitchAndBarKindSeparatorsForEveryMonth) {
    const std::vector<std::string> quarters = {" 3", " 6", " 9", "12"};
    const std::vector<std::string> all = {" 2", " 3", " 4", " 5", " 6", " 7",
                                          " 8", " 9", "10", "11", "12", " 1"};
    const struct {
        int weekly;
        float pitch;
        const std::vector<std::string>& labels;
    } cases[] = {{0, 1.0f, quarters}, {0, 1.25f, all}, {1, 5.725f, quarters}, {1, 6.5f, all}};
    for (const auto& k : cases) {
        PaneFixture f(241);
        drawMonths(f, k.weekly, k.pitch);
        EXPECT_EQ(f.ops(RecordedOp::Text, 15), k.labels) << k.pitch;
    }

    PaneFixture f(241);
    drawMonths(f, 0, 1.0f);
    const std::vector<RecordedOp> lines = f.surface.ofKind(RecordedOp::Line);
    ASSERT_EQ(lines.size(), 12u + 6u);  // every month, labelled or not, then the grid
    EXPECT_EQ(PaneFixture::coords(lines[0]), "73,77,73,400");  // slot 20: 52 + trunc(21 * 1.0)
    for (size_t k = 0; k < 12; ++k) {
        EXPECT_EQ(lines[k].style, k == 11 ? PenStyle::Solid : PenStyle::Dot) << k;  // January
        EXPECT_EQ(lines[k].color, kColorBase + 15);
    }
    const RecordedOp label = f.surface.ofKind(RecordedOp::Text).at(0);  // March, slot 40
    EXPECT_EQ(label.x1, 52 + 41 + 1);
    EXPECT_EQ(label.y1, 77 - 15);
}

// Rising, falling, close = open with a range, and a day without movement; buy leg only.
std::vector<std::string> fourCandles(float pitch, int fillFalling, int fillRising) {
    PaneFixture f(4);
    f.series.buyBars = {bar(1000, 1020, 990, 1010), bar(1010, 1020, 990, 1000),
                        bar(1000, 1020, 990, 1000), bar(1000, 1000, 1000, 1000)};
    f.settings.pitch = pitch;
    f.settings.fillFallingBodies = fillFalling;
    f.settings.fillRisingBodies = fillRising;
    f.settings.sellCandles = 0;
    drawCandles(f.surface, f.c, 52, 100);
    std::vector<std::string> out;
    for (const RecordedOp& op : f.surface.ops) {
        if (op.kind == RecordedOp::Line || op.kind == RecordedOp::Fill) {
            out.push_back((op.kind == RecordedOp::Line ? "L" : "F") + PaneFixture::coords(op) +
                          " " + std::to_string(op.color - kColorBase));
        }
    }
    return out;
}

TEST(PricePaneCandles, BodiesWicksAndColours) {
    // x 57, 63, 69, 74; half body trunc(5.725 / 4 + 0.5) = 1.
    EXPECT_EQ(
        fourCandles(5.725f, 1, 0),
        (std::vector<std::string>{// rising, outlined: body from open to close, wicks outward
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
    const std::vector<std::string> filled = fourCandles(1.0f, 1, 1);
    EXPECT_EQ(filled[0], "F53,190,54,201 91");
    EXPECT_EQ(filled[3], "F54,190,55,201 90");
    // Falling bodies outlined when not filled.
    EXPECT_EQ(fourCandles(5.725f, 0, 1)[6], "L62,190,64,190 90");
}

// A sell leg listed at slot 300, shown from 290 to 310, with a rising close and average.
struct LateLeg : PaneFixture {
    LateLeg() : PaneFixture(311) {
        view.firstShownBar = 290;
        settings.pitch = 5.0f;
        series.sellStart = 300;
        series.sellAverageStart = 305;  // period 5: slots 300..304 hold no average
        for (int i = 0; i < 311; ++i) {
            series.buyBars[i] = bar(1000, 1010, 990, 1000);
            if (i >= 300) {
                series.sellBars[i] = bar(950, 960, 940, 950 + (i - 300));
                series.sellBars[i].average = i >= 305 ? 950 : 0;
            }
        }
    }
    static int32_t x(int slot) { return 52 + 5 * (slot - 289); }
};

TEST(PricePaneLines, LegStartingInsideTheRange) {
    LateLeg f;
    f.series.buyEntryBar = 295;
    f.series.sellEntryBar = 302;
    drawCandles(f.surface, f.c, 52, 100);
    EXPECT_EQ(f.ops(RecordedOp::Line, 95).size(), 11u * 6u);       // outlined bodies from 300 on
    EXPECT_EQ(f.ops(RecordedOp::Line, 95)[0], "106,250,108,250");  // slot 300 at x 107
    // Icons: below the buy low, above the sell high.
    const std::vector<RecordedOp> icons = f.surface.ofKind(RecordedOp::Icon);
    ASSERT_EQ(icons.size(), 2u);
    EXPECT_EQ((std::vector<int32_t>{icons[0].x1, icons[0].y1, icons[0].iconId, icons[1].x1,
                                    icons[1].y1, icons[1].iconId}),
              (std::vector<int32_t>{LateLeg::x(295) - 7, 210 + 4, 601, LateLeg::x(302) - 7,
                                    240 - 20, 602}));

    f.surface.ops.clear();
    drawTomeashi(f.surface, f.c, 52, 100, Leg::Sell);
    const std::vector<std::string> dots = f.ops(RecordedOp::Ellipse, 96);
    ASSERT_EQ(dots.size(), 11u);
    EXPECT_EQ(dots[0], "106,249,108,252");  // slot 300 at x 107, y 250
    const std::vector<std::string> segments = f.ops(RecordedOp::Line, 96);
    ASSERT_EQ(segments.size(), 10u);
    EXPECT_EQ(segments[0], "107,250,112,249");
}

TEST(PricePaneLines, AverageLineSkipsMissingAverages) {
    LateLeg f;
    drawAverageLine(f.surface, f.c, 52, 100, Leg::Sell);
    // From 305-306 on; nothing reaches down to y(0) = 1200.
    EXPECT_EQ(f.ops(RecordedOp::Line, 99),
              (std::vector<std::string>{"132,250,137,250", "137,250,142,250", "142,250,147,250",
                                        "147,250,152,250", "152,250,157,250"}));
    EXPECT_TRUE(f.surface.ofKind(RecordedOp::Ellipse).empty());
}

}  // namespace
}  // namespace zepa
