#include <gtest/gtest.h>

#include "chart/ratio_pane.h"
#include "tests/chart/chart_fixture.h"

namespace zepa::test {
namespace {

TEST(TradeMarks, EntriesPointAtTheLineAndExitsCrossIt) {
    ChartFixture f(20);
    f.settings.pitch = 4.0f;  // stored; stretched, the chart is drawn at 5
    f.state.layout.pitch = 5.0f;
    f.view.firstShownBar = 0;
    f.view.lastShownBar = 9;
    RatioStatistics ratio;
    ratio.slots.resize(20);
    ratio.slots[2].hasZ = true;
    ratio.slots[2].z = 1.0;  // 20 pixels above the zero line
    ratio.slots[5].hasZ = true;
    ratio.slots[5].z = -5.0;  // beyond the pane: on its bottom row
    f.c.ratio = &ratio;
    const TradeMarks marks = {
        {2, TradeMarkKind::EntryUp, true},    {5, TradeMarkKind::EntryDown, false},
        {7, TradeMarkKind::ExitStop, true},  // no z: the zero line
        {9, TradeMarkKind::ExitTime, false},  {8, TradeMarkKind::ExitTarget, true},
        {12, TradeMarkKind::ExitTarget, true}};  // not shown
    f.c.tradeMarks = &marks;
    // Slot i stands at 100 + 5 (i + 1).
    drawTradeMarks(f.surface, f.c, 100, ZLineScale{200, 20.0f, 150, 250});
    // fillBox includes both corners: the recorded boxes end one pixel beyond.
    EXPECT_EQ(
        f.drawn(RecordedOp::Fill, 92),
        (Strings{"115,182,116,183", "114,183,117,184", "113,184,118,185", "112,185,119,186",
                 "111,186,120,187", "136,200,145,201", "140,196,141,205", "141,200,150,201"}));
    EXPECT_EQ(
        f.drawn(RecordedOp::Fill, 96),
        (Strings{"130,248,131,249", "129,247,132,248", "128,246,133,247", "127,245,134,246",
                 "126,244,135,245", "146,200,155,201", "146,198,147,203", "154,198,155,203"}));
}

}  // namespace
}  // namespace zepa::test
