#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/lower_pane.h"
#include "platform/codepage.h"
#include "tests/support/recording_surface.h"

namespace zepa {
namespace {

constexpr ColorRef color(int index) {
    return 0x10000 + index;
}

// The 800 x 550 chart area at the 479/310 pane scale: m = 491, g1 = 74, g2 = 37.
constexpr int32_t kTop = 407;
constexpr int32_t kZero = 491;
// x of slots 0..9 at pitch 5.725 from plotLeft 52.
const std::vector<int32_t> kX = {57, 63, 69, 74, 80, 86, 92, 97, 103, 109};

using Box = std::array<int32_t, 4>;
Box box(const RecordedOp& op) {
    return {op.x1, op.y1, op.x2, op.y2};
}
using Texts = std::vector<std::string>;

class LowerPane : public ::testing::Test {
  protected:
    ViewState view;
    ChartSettings settings;
    ColorTable colors;
    SpreadSeries series;
    PositionRecord position;
    FontSlotTable fonts;
    ChartState state;
    RecordingSurface surface;
    ChartContext c{view, settings, colors, series, position, 10, fonts, state};

    void SetUp() override {
        for (int i = 0; i < kColorCount; ++i) {
            colors.colors[i] = color(i);
        }
        // -13: width 6, line height 15; -15: width 7.
        surface.metricsFor = [](int32_t h) { return TextMetrics{-h / 2, -h, -h - 2, 2}; };
        ChartLayout& l = state.layout;
        l.axisFontHeight = -15;
        l.labelFontHeight = -13;
        l.paneScale = 479.0f / 310.0f;
        l.lowerTitleTop = 387;
        l.lowerTitleBottom = 406;
        l.lowerPaneLeft = 4;
        l.lowerPaneRight = 795;
        l.lowerPaneBottom = 575;
        view.lastShownBar = 9;
        settings.pitch = 5.725f;
        series.buyBars.assign(10, DayBar{PackedDate{50, 1, 1}});
        series.sellBars.assign(10, DayBar{});
        position.buy.quantity = position.sell.quantity = 1000;
    }

    void draw() {
        surface.ops.clear();
        drawLowerPane(surface, c, 52, kTop);
    }

    // Profits in yen through the buy leg alone.
    void setProfits(const std::vector<int32_t>& yen) {
        for (size_t i = 0; i < yen.size(); ++i) {
            series.buyBars[i].close = 100;
            series.buyBars[i].gain = yen[i] / 1000;
        }
    }

    std::vector<RecordedOp> ops(RecordedOp::Kind kind, std::vector<int> colorIndices) const {
        std::vector<RecordedOp> out;
        for (const RecordedOp& op : surface.ofKind(kind)) {
            for (int index : colorIndices) {
                if (op.color == color(index)) {
                    out.push_back(op);
                }
            }
        }
        return out;
    }
    std::vector<RecordedOp> lines(int index) const { return ops(RecordedOp::Line, {index}); }
    std::vector<RecordedOp> bars() const { return ops(RecordedOp::Fill, {20, 21}); }
    std::vector<RecordedOp> labelOps() const { return ops(RecordedOp::Text, {59}); }
    Texts labels() const {
        Texts out;
        for (const RecordedOp& op : labelOps()) {
            out.push_back(op.text);
        }
        return out;
    }
};

TEST_F(LowerPane, FrameGridTitleAndZeroLabelWhenNothingCounts) {
    for (int i = 3; i < 10; ++i) {
        series.buyBars[i].date.month = i < 7 ? 2 : 3;
    }
    draw();
    const std::vector<RecordedOp> fills = surface.ofKind(RecordedOp::Fill);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(box(fills[0]), (Box{4, 387, 796, 407}));  // exclusive right and bottom edges
    EXPECT_EQ(fills[0].color, color(13));
    EXPECT_EQ(box(fills[1]), (Box{4, 407, 796, 576}));
    EXPECT_EQ(fills[1].color, color(50));
    EXPECT_EQ(lines(51).size(), 4u);

    const std::vector<RecordedOp> months = lines(56);
    ASSERT_EQ(months.size(), 2u);
    EXPECT_EQ(box(months[0]), (Box{kX[3], kTop, kX[3], kTop + 169}));
    EXPECT_EQ(months[1].x1, kX[7]);
    const std::vector<RecordedOp> grid = lines(58);
    ASSERT_EQ(grid.size(), 4u);
    EXPECT_EQ(box(grid[0]), (Box{52, 417, 795, 417}));
    EXPECT_EQ((Box{grid[1].y1, grid[2].y1, grid[3].y1, 0}), (Box{454, 528, 565, 0}));
    EXPECT_EQ(box(lines(57).at(0)), (Box{52, kZero, 795, kZero}));

    const std::vector<RecordedOp> texts = surface.ofKind(RecordedOp::Text);
    ASSERT_EQ(texts.size(), 2u);
    const RecordedOp& title = texts[0];
    EXPECT_EQ(title.text, cp932FromUtf8("利益チャート(単位：万円)"));
    EXPECT_EQ((Box{title.x1, title.y1, title.fontHeight, 0}), (Box{4 + 2 * 7, 390, -15, 0}));
    EXPECT_EQ(title.color, color(14));
    EXPECT_EQ(title.background, color(13));
    const RecordedOp& zero = texts[1];
    EXPECT_EQ(zero.text, "     0");
    EXPECT_EQ((Box{zero.x1, zero.y1, zero.fontHeight, 0}), (Box{4 + 6, kZero - 7, -13, 0}));
    EXPECT_EQ(zero.color, color(59));
    EXPECT_EQ(zero.backgroundMode, BackgroundMode::Transparent);
    EXPECT_EQ(state.lowerScaleValue, kNoLowerScaleValue);
    EXPECT_TRUE(bars().empty());
}

TEST_F(LowerPane, LabelsFollowTheScaleOfEachMode) {
    setProfits({-30000, 120000, 5000});
    draw();
    EXPECT_EQ(state.lowerScaleValue, 120000);
    EXPECT_EQ(labels(), (Texts{"   +12", "    +6", "     0", "    -6", "   -12"}));
    std::vector<int32_t> labelY;
    for (const RecordedOp& op : labelOps()) {
        labelY.push_back(op.y1);
    }
    EXPECT_EQ(labelY, (std::vector<int32_t>{410, 447, 484, 521, 558}));  // centred on the lines

    setProfits({-10000, 50000, 0});
    draw();
    EXPECT_EQ(labels(), (Texts{"  +5.0", "  +2.5", "     0", "  -2.5", "  -5.0"}));

    settings.lowerPaneMode = 2;
    const std::vector<int32_t> spreads = {-7, 3, 0};
    for (size_t i = 0; i < spreads.size(); ++i) {
        series.buyBars[i].close = 500;
        series.sellBars[i].close = 500 + spreads[i];
    }
    draw();
    EXPECT_EQ(state.lowerScaleValue, 7);
    EXPECT_EQ(labels(), (Texts{"    +7", "    +3", "     0", "    -3", "    -7"}));

    // Change rates all below 1 %: V = 0, everything on the zero line.
    settings.lowerPaneMode = 1;
    for (DayBar& b : series.buyBars) {
        b = DayBar{b.date, 0, 0, 0, 200, 0, 1, 0};
    }
    draw();
    EXPECT_EQ(state.lowerScaleValue, 0);
    EXPECT_EQ(labels(), (Texts{"     0"}));
    EXPECT_EQ(lines(93)[0].y1, kZero);
}

TEST_F(LowerPane, BarsAreColouredByValueAndRunToTheZeroLine) {
    setProfits({120000, 0, -30000});
    draw();
    std::vector<RecordedOp> b = bars();
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[0].color, color(21));
    EXPECT_EQ(b[1].color, color(20));  // zero counts as falling
    EXPECT_EQ(b[2].color, color(20));
    // Pitch 5.725: h = 2, three columns x - 1 .. x + 1 down to the zero line.
    EXPECT_NEAR(b[0].y1, kZero - 74, 1);
    EXPECT_EQ(box(b[0]), (Box{kX[0] - 1, b[0].y1, kX[0] + 2, kZero + 1}));
    EXPECT_EQ(box(b[1]), (Box{kX[1] - 1, kZero, kX[1] + 2, kZero + 1}));
    // The negative bar, passed with its top below the zero line, hangs from it.
    EXPECT_EQ(b[2].y1, kZero);
    EXPECT_NEAR(b[2].y2, kZero + 74 / 4 + 1, 1);

    settings.pitch = 1.5f;  // h = 0: a single column at x
    draw();
    b = bars();
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ((Box{b[0].x1, b[0].x2, b[1].x1, b[1].x2}), (Box{53, 54, 55, 56}));
}

TEST_F(LowerPane, ChangeRateLinesStartWithTheirOwnLeg) {
    settings.lowerPaneMode = 1;
    series.buyStart = 4;
    for (int i = 4; i < 10; ++i) {
        series.buyBars[i].close = 100;
        series.buyBars[i].gain = i;
    }
    for (int i = 0; i < 10; ++i) {
        series.sellBars[i].close = i == 6 ? 0 : 100;
        series.sellBars[i].gain = 5;
    }
    draw();
    EXPECT_EQ(state.lowerScaleValue, 9);

    const std::vector<RecordedOp> buy = lines(93);
    ASSERT_EQ(buy.size(), 5u);
    EXPECT_EQ((Box{buy[0].x1, buy[0].x2, 0, 0}), (Box{kX[5], kX[4], 0, 0}));
    EXPECT_LT(buy[0].y1, buy[0].y2);  // rising with the stock
    EXPECT_LT(buy[4].y1, kZero);

    const std::vector<RecordedOp> sell = lines(97);
    ASSERT_EQ(sell.size(), 8u);
    EXPECT_EQ((Box{sell[0].x1, sell[0].x2, 0, 0}), (Box{kX[1], kX[0], 0, 0}));
    EXPECT_GT(sell[0].y1, kZero);  // a sold stock's gain falls below
    // Slot 6 has no close: slot 7 bridges back to slot 6's x at slot 5's height.
    EXPECT_EQ(box(sell[5]), (Box{kX[7], sell[4].y1, kX[6], sell[4].y1}));
}

TEST_F(LowerPane, RatioModeShowsTitleAndThePreviousScale) {
    settings.lowerPaneMode = 3;
    state.lowerScaleValue = 7;
    setProfits({50000});
    draw();
    EXPECT_EQ(surface.texts().front(), cp932FromUtf8("レシオケータ"));
    EXPECT_EQ(labels(), (Texts{"    +7", "    +3", "     0", "    -3", "    -7"}));
    EXPECT_EQ(state.lowerScaleValue, 7);
    EXPECT_TRUE(bars().empty());

    state.lowerScaleValue = 0;  // as after start-up
    draw();
    EXPECT_EQ(labels(), (Texts{"     0"}));
}

TEST_F(LowerPane, SpreadFromAveragesSkipsSlotsWithoutARealAverage) {
    settings.lowerPaneMode = 2;
    settings.spreadSource = 1;
    series.sellStart = 3;
    series.sellAverageStart = 6;  // a leg listed later: no average before slot 6
    for (int i = 0; i < 10; ++i) {
        series.buyBars[i].close = series.buyBars[i].average = 1000;
        if (i >= 3) {
            series.sellBars[i].close = 1010;
            series.sellBars[i].average = i >= 6 ? 1005 : 0;
        }
    }
    draw();
    EXPECT_EQ(state.lowerScaleValue, 5);
    const std::vector<RecordedOp> b = bars();
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(b[0].x1, kX[6] - 1);
    EXPECT_EQ(b[0].color, color(21));

    settings.spreadBase = 1;  // buy minus sell
    draw();
    EXPECT_EQ(bars()[0].color, color(20));
}

TEST_F(LowerPane, ProfitsBeyond32BitsKeepTheirSign) {
    // 3e9 - 1.5e9: each 32-bit product would wrap.
    position.buy.quantity = position.sell.quantity = 3000000;
    series.buyBars[0].close = series.sellBars[0].close = 100;
    series.buyBars[0].gain = 1000;
    series.sellBars[0].gain = -500;
    draw();
    EXPECT_EQ(state.lowerScaleValue, 1500000000);
    ASSERT_EQ(bars().size(), 1u);
    EXPECT_EQ(bars()[0].color, color(21));
    EXPECT_EQ(labels().front(), "+150000");

    // 6e9 leaves the 32-bit range: the scale saturates and the bar stays on the grid.
    series.sellBars[0].gain = 1000;
    draw();
    EXPECT_EQ(state.lowerScaleValue, INT32_MAX);
    ASSERT_EQ(bars().size(), 1u);
    EXPECT_EQ(bars()[0].color, color(21));
    EXPECT_NEAR(bars()[0].y1, kZero - 74, 1);
}

}  // namespace
}  // namespace zepa
