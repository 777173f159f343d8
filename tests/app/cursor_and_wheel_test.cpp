// The cursor's readout in the status bar and the mouse wheel on the chart.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "app/cursor_readout.h"
#include "base/codepage.h"
#include "settings/chart_values.h"
#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

constexpr int kBackspace = 8, kLeft = 37;

std::string readoutAt(AppContext& a, int32_t slot) {
    return utf8FromCp932(cursorReadout(chartContext(a), slot));
}

TEST_F(Viewer, CursorReadoutShowsTheSlotsValuesLikeTheDataWindows) {
    openThree();
    // The entry (23/3/1) is slot 280: before it there is no profit.
    EXPECT_EQ(readoutAt(a, 279), " 23/ 2/20   買 終値 1079   売 終値 1041   さや -38   利益 --");
    EXPECT_EQ(readoutAt(a, 285), " 23/ 3/ 6   買 終値 1011   売 終値 1007   さや -4   利益 +0.1");
    EXPECT_EQ(readoutAt(a, -1), " ");
    EXPECT_EQ(readoutAt(a, kDates), " ");

    // Moving the cursor shows the readout; switching it off brings the tip line back.
    press(command::kButtonCursor);
    onMouseMove(a, shell, 300, 200);
    EXPECT_EQ(utf8FromCp932(shell.statusText), readoutAt(a, a.view.cursorBar));
    press(command::kButtonCursor);
    EXPECT_EQ(shell.statusText, " first tip");
}

TEST_F(Viewer, CursorReadoutAddsZWhileTheRatioChartIsShown) {
    store.set(kChartSubkey, "SayaMode", "3");  // a stored ratio chart
    openThree();
    ASSERT_TRUE(a.ratio.slots.at(285).hasZ);
    char z[32];
    std::snprintf(z, sizeof z, "%+.2f", a.ratio.slots[285].z);
    EXPECT_EQ(
        readoutAt(a, 285),
        std::string(" 23/ 3/ 6   買 終値 1011   売 終値 1007   さや -4   利益 +0.1   Z ") + z);
    // The first slots have no window of the period behind them.
    const std::string early = readoutAt(a, 1);
    EXPECT_EQ(early.substr(early.size() - 7), "   Z --");
}

TEST_F(Viewer, CursorReadoutWithoutAPrice) {
    writePrices(1007);
    open(positionLine(1001, 1007));
    // The sell stock has no price before date 290: no close and no spread.
    EXPECT_EQ(readoutAt(a, 285), " 23/ 3/ 6   買 終値 1011   売 終値 --   さや --   利益 +0.1");
    EXPECT_EQ(readoutAt(a, 295), " 23/ 3/16   買 終値 1031   売 終値 1037   さや 6   利益 +0.2");
}

TEST(WheelNotches, PartialTurnsAddUpAndAreNeverDropped) {
    struct Case {
        std::vector<int> deltas;
        int notches;  // over the whole list
        int rest;
    };
    const Case cases[] = {
        {{120}, 1, 0},
        {{-360}, -3, 0},
        {{40, 40, 40}, 1, 0},           // a fine-stepping wheel: three thirds
        {{15, 15, 15, 15, 15}, 0, 75},  // a touchpad, short of a notch so far
        {{100, -100}, 0, 0},
        {{-60, -70}, -1, -10},
        {{119, 2}, 1, 1},
    };
    for (const Case& c : cases) {
        int rest = 0;
        int notches = 0;
        for (const int delta : c.deltas) {
            notches += wheelNotches(rest, delta);
        }
        EXPECT_EQ(notches, c.notches) << ::testing::PrintToString(c.deltas);
        EXPECT_EQ(rest, c.rest) << ::testing::PrintToString(c.deltas);
    }
}

TEST_F(Viewer, AWheelNotchMovesATenthOfTheBarsShownShiftAPage) {
    openThree();
    key(kLeft);
    const int32_t page = a.view.scrollBack;
    ASSERT_GT(page, 0);
    a.view.scrollBack = 0;
    paint();
    const int32_t shown = a.view.lastShownBar - a.view.firstShownBar + 1;
    ASSERT_GE(shown, 20);

    onWheel(a, shell, 1);  // turned away: older
    EXPECT_EQ(a.view.scrollBack, shown / 10);
    onWheel(a, shell, 2);
    EXPECT_EQ(a.view.scrollBack, 3 * (shown / 10));
    onWheel(a, shell, -3);  // towards the user: newer
    EXPECT_EQ(a.view.scrollBack, 0);
    onWheel(a, shell, 1, true);  // with Shift: a page, as Left
    EXPECT_EQ(a.view.scrollBack, page);
    onWheel(a, shell, -1, true);
    EXPECT_EQ(a.view.scrollBack, 0);
    EXPECT_EQ(shell.beeps, 0);

    onWheel(a, shell, -3);  // the newest dates are shown: one beep for the whole turn
    EXPECT_EQ(shell.beeps, 1);
    onWheel(a, shell, 1000000);  // as far as the oldest dates, then one beep
    EXPECT_EQ(shell.beeps, 1);
    EXPECT_EQ(a.view.firstShownBar, a.series.firstBar);
    const int32_t oldest = a.view.scrollBack;
    onWheel(a, shell, 1);
    EXPECT_EQ(shell.beeps, 2);
    EXPECT_EQ(a.view.scrollBack, oldest);
}

TEST_F(Viewer, AWheelNotchOnAFewBarsMovesOne) {
    openThree();
    a.settings.pitch = 100.0f;  // a handful of bars across the plot
    paint();
    ASSERT_LT(a.view.lastShownBar - a.view.firstShownBar + 1, 10);
    onWheel(a, shell, 1);
    EXPECT_EQ(a.view.scrollBack, 1);
}

TEST_F(Viewer, TheWheelLeavesTheCursorOnOverTheDateNowUnderIt) {
    openThree();
    press(command::kButtonCursor);
    onMouseMove(a, shell, 300, 200);
    const int32_t before = a.view.cursorBar;
    const int32_t step = (a.view.lastShownBar - a.view.firstShownBar + 1) / 10;
    onWheel(a, shell, 1);
    EXPECT_EQ(a.view.cursorState, 2);
    EXPECT_EQ(a.view.cursorBar, before - step);
    EXPECT_EQ(utf8FromCp932(shell.statusText), readoutAt(a, a.view.cursorBar));
    // Switched off, one line is inverted away: none is left on the chart.
    press(command::kButtonCursor);
    EXPECT_EQ(a.view.cursorState, 0);
}

TEST_F(Viewer, AWheelNotchWhileSteppingOnlyStopsIt) {
    openThree();
    key(kBackspace);
    ASSERT_EQ(a.view.autoStepActive, 1);
    const int32_t position = a.view.currentPosition;
    onWheel(a, shell, 2);
    EXPECT_EQ(a.view.autoStepActive, 0);
    EXPECT_TRUE(shell.timers.empty());
    EXPECT_EQ(a.view.scrollBack, 0);
    EXPECT_EQ(a.view.currentPosition, position);
}

}  // namespace
}  // namespace zepa::test
