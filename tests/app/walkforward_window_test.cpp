#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/walkforward_job.h"
#include "app/walkforward_plot.h"
#include "app/walkforward_table.h"
#include "base/codepage.h"
#include "base/grouped_number.h"
#include "tests/support/recording_surface.h"

namespace zepa {
namespace {

std::vector<RecordedOp> linesIn(const RecordingSurface& s, ColorRef color) {
    std::vector<RecordedOp> out;
    for (const RecordedOp& op : s.ofKind(RecordedOp::Line)) {
        if (op.color == color) {
            out.push_back(op);
        }
    }
    return out;
}

bool hasText(const RecordingSurface& s, const std::string& utf8) {
    const std::string cp932 = cp932FromUtf8(utf8);
    const auto texts = s.ofKind(RecordedOp::Text);
    return std::any_of(texts.begin(), texts.end(), [&](auto& op) { return op.text == cp932; });
}

TEST(WalkForwardPlot, BothCurvesTheZeroLineTheAxisAndTheLabels) {
    const std::vector<WalkForwardCurvePoint> out = {
        {20250120, 150000}, {20250305, -80000}, {20250610, 420000}};
    const std::vector<WalkForwardCurvePoint> in = {
        {20240601, 300000}, {20241120, 900000}, {20250110, 1250000}};
    RecordingSurface s;
    const WalkForwardPlotLayout l = drawWalkForwardPlot(s, 640, 360, out, in, 20250114);
    EXPECT_EQ(s.liveFonts(), 1);  // the surface's own font only

    // The yen range covers both curves and 0 in whole ticks, grouped.
    EXPECT_LE(l.low, -80000);
    EXPECT_GE(l.high, 1250000);
    EXPECT_LE(l.ticks.size(), 7u);
    for (const int64_t v : l.ticks) {
        EXPECT_TRUE(hasText(s, groupedNumber(v))) << v;
    }
    EXPECT_TRUE(hasText(s, "1,000,000"));
    EXPECT_TRUE(std::find(l.ticks.begin(), l.ticks.end(), 0) != l.ticks.end());

    // The zero line across the plot, at the y of 0.
    const auto zero = linesIn(s, kWalkForwardZeroColor);
    ASSERT_EQ(zero.size(), 1u);
    EXPECT_EQ((std::vector{zero[0].x1, zero[0].y1, zero[0].x2, zero[0].y2}),
              (std::vector{l.left, l.zeroY, l.right, l.zeroY}));
    EXPECT_EQ(zero[0].style, PenStyle::Dot);

    // Each curve: from 0 at its first date, a step at each exit, ending at its last net; the
    // label's short line is the one segment outside the plot.
    struct Curve {
        const std::vector<WalkForwardCurvePoint>& points;
        ColorRef color;
        int32_t from;
    };
    for (const Curve& c :
         {Curve{out, kWalkForwardOutColor, 20250114}, Curve{in, kWalkForwardInColor, 20240601}}) {
        std::vector<RecordedOp> lines = linesIn(s, c.color);
        const auto label = std::find_if(lines.begin(), lines.end(),
                                        [&](const RecordedOp& op) { return op.y1 < l.top; });
        ASSERT_NE(label, lines.end());
        lines.erase(label);
        ASSERT_EQ(lines.size(), 2 * c.points.size() + 1);
        EXPECT_EQ(lines.front().x1, walkForwardPlotX(l, c.from));
        EXPECT_EQ(lines.front().y1, l.zeroY);
        for (size_t k = 0; k < c.points.size(); ++k) {
            const RecordedOp& rise = lines[2 * k + 1];
            EXPECT_EQ(rise.x2, walkForwardPlotX(l, c.points[k].date));
            EXPECT_EQ(rise.y2, walkForwardPlotY(l, c.points[k].net));
        }
        for (const RecordedOp& op : lines) {
            for (const int32_t x : {op.x1, op.x2}) {
                EXPECT_TRUE(x >= l.left && x <= l.right) << x;
            }
            for (const int32_t y : {op.y1, op.y2}) {
                EXPECT_TRUE(y >= l.top && y < l.bottom) << y;
            }
        }
    }
    // Higher nets higher up; the left edge is the in-sample curve's first date.
    EXPECT_LT(walkForwardPlotY(l, 1250000), walkForwardPlotY(l, 0));
    EXPECT_EQ(walkForwardPlotX(l, 20240601), l.left);
    EXPECT_TRUE(hasText(s, kWalkForwardOutLabel));
    EXPECT_TRUE(hasText(s, kWalkForwardInLabel));
    EXPECT_TRUE(hasText(s, "2024/06") && hasText(s, "2025/06"));
}

TEST(WalkForwardPlot, EmptyOrFlatCurvesStillHaveAnAxis) {
    RecordingSurface s;
    const WalkForwardPlotLayout l = drawWalkForwardPlot(s, 300, 200, {}, {}, 20250114);
    EXPECT_LT(l.low, l.high);
    EXPECT_TRUE(linesIn(s, kWalkForwardOutColor).size() == 1u);  // the label's line only
    EXPECT_GT(l.right, l.left);
    EXPECT_GT(l.bottom, l.top);
    EXPECT_EQ(linesIn(s, kWalkForwardZeroColor).size(), 1u);
}

TEST(WalkForwardTable, SummaryLineAndOneRowAPeriod) {
    WalkForwardResult r;
    for (const auto& [end, first, last, isShort, out, in] :
         {std::tuple{20250110, 20250114, 20250715, false, int64_t{279987}, int64_t{539540}},
          std::tuple{20250715, 20250716, 20251204, true, int64_t{-12000}, int64_t{0}}}) {
        WalkForwardPeriodResult& p = r.periods.emplace_back();
        p.formationEndDate = end;
        p.tradeFirstDate = first;
        p.tradeLastDate = last;
        p.period.isShort = isShort;
        p.universe = 43;
        p.pairs.resize(3);
        p.out.net = out;
        p.out.trades = out > 0 ? 15 : 0;
        p.out.winRate = 13.0 / 15;
        p.in.net = in;
    }
    r.out.periods = 2;
    r.out.stats.trades = 15;
    r.out.stats.winRate = 13.0 / 15;
    r.out.stats.net = 267987;
    r.in.stats.net = 539540;
    r.ratio = 267987.0 / 539540;
    EXPECT_EQ(walkForwardSummaryLine(r),
              "期間 2  取引 15回  勝率 86.7%  純損益 267,987円  (選定期間 539,540円, 比 0.50)");
    r.ratio.reset();
    EXPECT_NE(walkForwardSummaryLine(r).find("比 --"), std::string::npos);
    // Two losses make no ratio worth showing: twice the loss is not "比 2.00".
    r.out.stats.net = -200000;
    r.in.stats.net = -100000;
    r.ratio = 2.0;
    EXPECT_NE(walkForwardSummaryLine(r).find("比 --"), std::string::npos);
    EXPECT_FALSE(walkForwardShownRatio(r));
    r.out.stats.net = 267987;
    r.in.stats.net = 539540;
    const TextTable t = walkForwardTable(r);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.header.size(), t.rows[0].size());
    EXPECT_EQ(t.rows[0], (std::vector<std::string>{"2025/01/10", "2025/01/14", "2025/07/15", "43",
                                                   "3", "15", "86.7%", "279,987", "539,540"}));
    EXPECT_EQ(t.rows[1][2], "2025/12/04(途中)");
    EXPECT_EQ(t.rows[1][6], "--");  // no trades: no rate
    EXPECT_EQ(t.rows[1][7], "-12,000");
    // For spreadsheets: ISO dates, plain numbers, no rate without trades, the short mark a column.
    const TextTable plain = walkForwardTable(r, true);
    EXPECT_EQ(plain.header.back(), "途中");
    EXPECT_EQ(plain.rows[0],
              (std::vector<std::string>{"2025-01-10", "2025-01-14", "2025-07-15", "43", "3", "15",
                                        plain.rows[0][6], "279987", "539540", "0"}));
    EXPECT_NEAR(std::stod(plain.rows[0][6]), 1300.0 / 15, 1e-9);
    EXPECT_EQ(plain.rows[1][6], "");
    EXPECT_EQ(plain.rows[1][7], "-12000");
    EXPECT_EQ(plain.rows[1].back(), "1");
    EXPECT_EQ(walkForwardFileName(20261204), "過去の成績_2026-12-04.csv");
    EXPECT_EQ(walkForwardFileName(0), "過去の成績.csv");
}

}  // namespace
}  // namespace zepa
