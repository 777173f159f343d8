#include <gtest/gtest.h>

#include "chart/lower_pane.h"
#include "platform/codepage.h"
#include "tests/chart/chart_fixture.h"

namespace zepa::test {
namespace {

// The lower pane of the laid-out chart at the 479/310 pane scale: zero line m = 491, outer
// grid lines m -+ 74, inner ones m -+ 37.
constexpr int32_t kTop = 407;
constexpr int32_t kZero = 491;
// x of slots 0..9 at pitch 5.725 from plotLeft 52.
const std::vector<int32_t> kX = {57, 63, 69, 74, 80, 86, 92, 97, 103, 109};

struct LowerPane : ChartFixture, ::testing::Test {
    LowerPane() : ChartFixture(10) {
        layout();
        // -13: width 6, 15 per line with the leading; -15: width 7.
        surface.metricsFor = [](int32_t h) { return TextMetrics{-h / 2, -h, -h - 2, 2}; };
        settings.pitch = 5.725f;
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
    // The value bars: every fill after the title band and the pane background.
    std::vector<RecordedOp> bars() const {
        const std::vector<RecordedOp> fills = surface.ofKind(RecordedOp::Fill);
        return {fills.begin() + 2, fills.end()};
    }
    Strings labels() const { return drawn(RecordedOp::Text, 59); }
};

TEST_F(LowerPane, FrameGridTitleAndZeroLabelWhenNothingCounts) {
    for (int i = 3; i < 10; ++i) {
        series.buyBars[i].date.month = i < 7 ? 2 : 3;
    }
    draw();
    // Exclusive right and bottom edges; no bars.
    EXPECT_EQ(drawn(RecordedOp::Fill), (Strings{"4,387,796,407 13", "4,407,796,576 50"}));
    EXPECT_EQ(drawn(RecordedOp::Line, 51).size(), 4u);
    EXPECT_EQ(drawn(RecordedOp::Line, 56), (Strings{"74,407,74,576", "97,407,97,576"}));
    EXPECT_EQ(drawn(RecordedOp::Line, 58),
              (Strings{"52,417,795,417", "52,454,795,454", "52,528,795,528", "52,565,795,565"}));
    EXPECT_EQ(drawn(RecordedOp::Line, 57), (Strings{"52,491,795,491"}));

    EXPECT_EQ(drawn(RecordedOp::Text).at(1), "10,484 -13 59:     0");
    EXPECT_EQ(state.lowerScaleValue, kNoLowerScaleValue);
}

TEST_F(LowerPane, LabelsFollowTheScaleOfEachModeAndRatioKeepsThePrevious) {
    setProfits({-30000, 120000, 5000});
    draw();
    EXPECT_EQ(state.lowerScaleValue, 120000);
    // Centred on the grid lines.
    EXPECT_EQ(drawn(RecordedOp::Text),
              (Strings{"18,390 -15 14 on 13:" + cp932FromUtf8("利益チャート(単位：万円)"),
                       "10,410 -13 59:   +12", "10,447 -13 59:    +6", "10,484 -13 59:     0",
                       "10,521 -13 59:    -6", "10,558 -13 59:   -12"}));

    setProfits({-10000, 50000, 0});
    draw();
    EXPECT_EQ(labels(), (Strings{"  +5.0", "  +2.5", "     0", "  -2.5", "  -5.0"}));

    settings.lowerPaneMode = 2;
    const std::vector<int32_t> spreads = {-7, 3, 0};
    for (size_t i = 0; i < spreads.size(); ++i) {
        series.buyBars[i].close = 500;
        series.sellBars[i].close = 500 + spreads[i];
    }
    draw();
    EXPECT_EQ(state.lowerScaleValue, 7);
    EXPECT_EQ(labels(), (Strings{"    +7", "    +3", "     0", "    -3", "    -7"}));

    // Change rates all below 1 %: V = 0, everything on the zero line.
    settings.lowerPaneMode = 1;
    for (DayBar& b : series.buyBars) {
        b = DayBar{{}, 0, 0, 0, 200, 0, 1, 0};
    }
    draw();
    EXPECT_EQ(state.lowerScaleValue, 0);
    EXPECT_EQ(labels(), (Strings{"     0"}));
    EXPECT_EQ(ops(RecordedOp::Line, 93).at(0).y1, kZero);

    // The ratio chart has no body: its title and the scale of the body drawn last.
    settings.lowerPaneMode = 3;
    state.lowerScaleValue = 7;
    draw();
    EXPECT_EQ(drawn(RecordedOp::Text, 14).at(0), cp932FromUtf8("レシオケータ"));
    EXPECT_EQ(labels(), (Strings{"    +7", "    +3", "     0", "    -3", "    -7"}));
    EXPECT_EQ(state.lowerScaleValue, 7);
    EXPECT_TRUE(bars().empty());
}

TEST_F(LowerPane, BarsAreColouredByValueAndRunToTheZeroLine) {
    setProfits({120000, 0, -30000});
    draw();
    std::vector<RecordedOp> b = bars();
    ASSERT_EQ(b.size(), 3u);
    // Zero counts as falling.
    EXPECT_EQ((std::vector<ColorRef>{b[0].color, b[1].color, b[2].color}),
              (std::vector<ColorRef>{color(21), color(20), color(20)}));
    // Pitch 5.725: h = 2, three columns x - 1 .. x + 1 down to the zero line.
    EXPECT_NEAR(b[0].y1, kZero - 74, 1);
    EXPECT_EQ((Ints{b[0].x1, b[0].x2, b[0].y2}), (Ints{kX[0] - 1, kX[0] + 2, kZero + 1}));
    EXPECT_EQ(coords(b[1]), "62,491,65,492");
    // The negative bar, passed with its top below the zero line, hangs from it.
    EXPECT_EQ(b[2].y1, kZero);
    EXPECT_NEAR(b[2].y2, kZero + 74 / 4 + 1, 1);

    settings.pitch = 1.5f;  // h = 0: a single column at x
    draw();
    b = bars();
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ((Ints{b[0].x1, b[0].x2, b[1].x1, b[1].x2}), (Ints{53, 54, 55, 56}));
}

TEST_F(LowerPane, ChangeRateLinesStartWithTheirOwnLeg) {
    settings.lowerPaneMode = 1;
    series.buyStart = 4;
    for (int i = 0; i < 10; ++i) {
        series.buyBars[i].close = i >= 4 ? 100 : 0;
        series.buyBars[i].gain = i;
        series.sellBars[i].close = i == 6 ? 0 : 100;
        series.sellBars[i].gain = 5;
    }
    draw();
    EXPECT_EQ(state.lowerScaleValue, 9);

    const std::vector<RecordedOp> buy = ops(RecordedOp::Line, 93);
    ASSERT_EQ(buy.size(), 5u);
    EXPECT_EQ((Ints{buy[0].x1, buy[0].x2}), (Ints{kX[5], kX[4]}));
    EXPECT_LT(buy[0].y1, buy[0].y2);  // rising with the stock
    EXPECT_LT(buy[4].y1, kZero);

    const std::vector<RecordedOp> sell = ops(RecordedOp::Line, 97);
    ASSERT_EQ(sell.size(), 8u);
    EXPECT_EQ((Ints{sell[0].x1, sell[0].x2}), (Ints{kX[1], kX[0]}));
    EXPECT_GT(sell[0].y1, kZero);  // a sold stock's gain falls below
    // Slot 6 has no close: slot 7 bridges back to slot 6's x at slot 5's height.
    EXPECT_EQ((Ints{sell[5].x1, sell[5].y1, sell[5].x2, sell[5].y2}),
              (Ints{kX[7], sell[4].y1, kX[6], sell[4].y1}));
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
    ASSERT_EQ(bars().size(), 4u);
    EXPECT_EQ(bars()[0].x1, kX[6] - 1);
    EXPECT_EQ(bars()[0].color, color(21));

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
}  // namespace zepa::test
