#include <gtest/gtest.h>

#include "base/codepage.h"
#include "chart/lower_pane.h"
#include "marketdata/ratio_statistics.h"
#include "tests/chart/chart_fixture.h"

namespace zepa::test {
namespace {

// The laid-out chart's lower pane at the 479/310 scale: zero line 491, outer grid lines -+ 74.
constexpr int32_t kZero = 491;
// x of slots 0..7 at pitch 5.725 from plotLeft 52.
const Ints kX = {57, 63, 69, 74, 80, 86, 92, 97};

struct LowerPane : ChartFixture, ::testing::Test {
    LowerPane() : ChartFixture(10) {
        layout();
        surface.metricsFor = [](int32_t h) { return TextMetrics{-h / 2, -h, -h - 2, 2}; };
        settings.pitch = state.layout.pitch = 5.725f;
        position.buy.quantity = position.sell.quantity = 1000;
    }
    void draw() {
        surface.ops.clear();
        drawLowerPane(surface, c, 52, 407);
    }
    // Profits in yen through the buy leg alone.
    void setProfits(const Ints& yen) {
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
    // Each value bar as "colour top..bottom" (bottom exclusive).
    Strings barRuns() const {
        Strings out;
        for (const RecordedOp& op : bars()) {
            out.push_back(std::to_string(op.color - color(0)) + " " + std::to_string(op.y1) + ".." +
                          std::to_string(op.y2));
        }
        return out;
    }
};

TEST_F(LowerPane, LabelsFollowTheScaleOfEachMode) {
    draw();  // nothing counts: a lone zero label
    EXPECT_EQ(labels(), (Strings{"     0"}));
    EXPECT_EQ(state.lowerScaleValue, kNoLowerScaleValue);

    setProfits({-30000, 120000, 5000});
    draw();
    EXPECT_EQ(drawn(RecordedOp::Text),
              (Strings{"18,390 -15 14 on 13:" + cp932FromUtf8("利益チャート(単位：万円)"),
                       "10,410 -13 59:   +12", "10,447 -13 59:    +6", "10,484 -13 59:     0",
                       "10,521 -13 59:    -6", "10,558 -13 59:   -12"}));
}

// Each leg's gain counts with its own quantity: 50 x 1000 - 20 x 300 and -40 x 1000 + 100 x 300.
TEST_F(LowerPane, ProfitWeighsEachLegsGainByItsOwnQuantity) {
    position.sell.quantity = 300;
    const Ints buyGains = {50, -40, 0};
    const Ints sellGains = {-20, 100, 0};
    for (size_t i = 0; i < buyGains.size(); ++i) {
        series.buyBars[i].close = series.sellBars[i].close = 100;
        series.buyBars[i].gain = buyGains[i];
        series.sellBars[i].gain = sellGains[i];
    }
    draw();
    EXPECT_EQ(state.lowerScaleValue, 44000);
    EXPECT_EQ(labels(), (Strings{"  +4.4", "  +2.2", "     0", "  -2.2", "  -4.4"}));
    // 44,000 reaches the outer grid line; -10,000 hangs 16 pixels below the zero line; zero
    // counts as falling. At this pitch a bar is three columns, x - 1 .. x + 1.
    EXPECT_EQ(barRuns(), (Strings{"21 417..492", "20 491..508", "20 491..492"}));
    EXPECT_EQ((Ints{bars()[0].x1, bars()[0].x2}), (Ints{kX[0] - 1, kX[0] + 2}));
}

// The spread runs from the reference stock: sell minus buy for base 0, buy minus sell for base
// 1; from the closes, or with spreadSource 1 from the moving averages.
TEST_F(LowerPane, SpreadBarsFollowTheBaseAndTheSource) {
    settings.lowerPaneMode = 2;
    // Slot 0: sell 30 above buy by close, 20 below by average; slot 1 the other way round;
    // slot 2 has no buy close and never counts.
    const Ints buyCloses = {1000, 1000, 0}, sellCloses = {1030, 990, 1000};
    const Ints buyAverages = {1000, 1000, 0}, sellAverages = {980, 1040, 1000};
    for (size_t i = 0; i < buyCloses.size(); ++i) {
        series.buyBars[i].close = buyCloses[i];
        series.sellBars[i].close = sellCloses[i];
        series.buyBars[i].average = buyAverages[i];
        series.sellBars[i].average = sellAverages[i];
    }
    struct Case {
        int32_t base, source;
        int32_t scale;
        Strings bars;
    };
    // V 30: 30 is 74 pixels, 10 is 24; V 40: 40 is 74, 20 is 37.
    for (const Case& k : {Case{0, 0, 30, {"21 417..492", "20 491..516"}},
                          Case{1, 0, 30, {"20 491..566", "21 467..492"}},
                          Case{0, 1, 40, {"20 491..529", "21 417..492"}},
                          Case{1, 1, 40, {"21 454..492", "20 491..566"}}}) {
        settings.spreadBase = k.base;
        settings.spreadSource = k.source;
        draw();
        EXPECT_EQ(state.lowerScaleValue, k.scale) << k.base << k.source;
        EXPECT_EQ(barRuns(), k.bars) << k.base << k.source;
    }
    EXPECT_EQ(labels(), (Strings{"   +40", "   +20", "     0", "   -20", "   -40"}));
}

TEST_F(LowerPane, ChangeRateLinesStartWithTheirOwnLegAndBridgeAMissingClose) {
    settings.lowerPaneMode = 1;
    series.buyStart = 4;
    for (int i = 0; i < 10; ++i) {
        series.buyBars[i].close = i >= 4 ? 100 : 0;
        series.buyBars[i].gain = i;
        series.sellBars[i].close = i == 6 ? 0 : 100;
        series.sellBars[i].gain = 5;
    }
    draw();
    const std::vector<RecordedOp> buy = ops(RecordedOp::Line, 93);
    ASSERT_EQ(buy.size(), 5u);
    EXPECT_EQ((Ints{buy[0].x1, buy[0].x2}), (Ints{kX[5], kX[4]}));
    EXPECT_LT(buy[0].y1, buy[0].y2);  // rising with the stock
    const std::vector<RecordedOp> sell = ops(RecordedOp::Line, 97);
    ASSERT_EQ(sell.size(), 8u);
    EXPECT_GT(sell[0].y1, kZero);  // a sold stock's gain falls below
    EXPECT_EQ((Ints{sell[5].x1, sell[5].y1, sell[5].x2, sell[5].y2}),
              (Ints{kX[7], sell[4].y1, kX[6], sell[4].y1}));
}

TEST_F(LowerPane, ProfitsBeyond32BitsKeepTheirSignAndSaturate) {
    position.buy.quantity = position.sell.quantity = 3000000;
    series.buyBars[0].close = series.sellBars[0].close = 100;
    series.buyBars[0].gain = 1000;
    series.sellBars[0].gain = -500;  // 3e9 - 1.5e9: each 32-bit product would wrap
    draw();
    EXPECT_EQ(labels().front(), "+150000");
    series.sellBars[0].gain = 1000;  // 6e9: the scale saturates, the bar stays on the grid
    draw();
    EXPECT_EQ(state.lowerScaleValue, INT32_MAX);
    ASSERT_EQ(bars().size(), 1u);
    EXPECT_NEAR(bars()[0].y1, kZero - 74, 1);
}

// The ratio chart over slots 0..9 with z given per slot (NAN: none).
struct RatioPane : LowerPane {
    RatioPane() {
        settings.lowerPaneMode = 3;
        c.ratio = &stats;
        stats.period = 25;
        stats.slots.resize(14);  // four newer slots not shown, as when scrolled back
    }
    void setZ(const std::vector<double>& z) {
        for (size_t i = 0; i < z.size(); ++i) {
            stats.slots[i].hasZ = !std::isnan(z[i]);
            stats.slots[i].z = stats.slots[i].hasZ ? z[i] : 0.0;
        }
    }
    std::string title() const { return utf8FromCp932(drawn(RecordedOp::Text, 14).at(0)); }
    RatioStatistics stats;
};

TEST_F(RatioPane, SigmaScaleAndTitleWithTheLastShownValues) {
    // The grid lines are the bands: +-2 sigma at the outer lines, +-1 at the inner ones.
    state.lowerScaleValue = 7;  // as a spread chart leaves it
    draw();
    EXPECT_EQ(state.lowerScaleValue, 2);
    EXPECT_EQ(drawn(RecordedOp::Text, 59),
              (Strings{cp932FromUtf8("  +2σ"), cp932FromUtf8("  +1σ"), "     0",
                       cp932FromUtf8("  -1σ"), cp932FromUtf8("  -2σ")}));
    EXPECT_EQ(drawn(RecordedOp::Line, 58),
              (Strings{"52,417,795,417", "52,454,795,454", "52,528,795,528", "52,565,795,565"}));
    EXPECT_EQ(title(), "レシオケータ(25本)  R:--  Z:--  相関(25本):--  半減期(25本):--");
    EXPECT_TRUE(drawn(RecordedOp::Line, 93).empty());

    RatioSlot& last = stats.slots[static_cast<size_t>(view.lastShownBar)];
    last = RatioSlot{1.234449, 1.2, 0.02, 1.84, -0.8249, 11.6, true, true, true, true, true};
    draw();
    EXPECT_EQ(title(), "レシオケータ(25本)  R:1.2344  Z:+1.8  相関(25本):-0.82  半減期(25本):12本");
    last.hasCorrelation = last.hasHalfLife = false;
    last.z = -0.04;
    draw();
    EXPECT_EQ(title(), "レシオケータ(25本)  R:1.2344  Z:-0.0  相関(25本):--  半減期(25本):--");

    // Without statistics the title keeps the setting's period.
    c.ratio = nullptr;
    settings.ratioPeriod = 60;
    draw();
    EXPECT_EQ(title(), "レシオケータ(60本)  R:--  Z:--  相関(60本):--  半減期(60本):--");
}

TEST_F(RatioPane, ZLineJoinsNeighboursAndIsCutAtThePaneEdge) {
    // 37 pixels per sigma from the zero line 491; the pane's rows inside its outline are
    // 408..574, so z above 2.24 or below -2.27 is cut off.
    setZ({NAN, 0.0, 1.0, 3.0, 2.0, NAN, -2.0, NAN, -5.0, -4.0});
    draw();
    EXPECT_EQ(drawn(RecordedOp::Line, 93),
              (Strings{"63,491,69,454",     // 0 to +1
                       "69,454,72,408",     // towards +3, cut at the top row
                       "79,408,80,417",     // back from above the pane to +2
                       "80,417,81,417",     // +2 ends its run: its own pixel
                       "92,565,93,565"}));  // a lone -2
    // -5 and -4 lie wholly below the pane: nothing.
}

}  // namespace
}  // namespace zepa::test
