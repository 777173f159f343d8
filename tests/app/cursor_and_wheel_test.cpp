#include <gtest/gtest.h>

#include <cstdio>

#include "app/cursor_readout.h"
#include "base/codepage.h"
#include "settings/chart_values.h"
#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

constexpr int kLeft = 37;

std::string readoutAt(AppContext& a, int32_t slot) {
    return utf8FromCp932(cursorReadout(chartContext(a), slot));
}

TEST_F(Viewer, CursorReadoutShowsTheSlotsValuesLikeTheDataWindows) {
    openThree();
    // The entry (23/3/1) is slot 280: before it there is no profit.
    EXPECT_EQ(readoutAt(a, 279), " 23/ 2/20   買 終値 1079   売 終値 1041   さや -38   利益 --");
    EXPECT_EQ(readoutAt(a, -1), " ");
    EXPECT_EQ(readoutAt(a, kDates), " ");

    // Moving the cursor shows the readout; switching it off brings the tip line back.
    press(command::kButtonCursor);
    onMouseMove(a, shell, 300, 200);
    EXPECT_EQ(utf8FromCp932(shell.statusText), readoutAt(a, a.view.cursorBar));
    // The wheel leaves the cursor on, over the date now under it.
    const int32_t before = a.view.cursorBar;
    onWheel(a, shell, 1);
    EXPECT_EQ(a.view.cursorState, 2);
    EXPECT_EQ(a.view.cursorBar, before - (a.view.lastShownBar - a.view.firstShownBar + 1) / 10);
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
    writePrices(1008);
    open(positionLine(1001, 1007) + positionLine(1008, 1007));
    // The sell stock has no price before date 290: no close and no spread.
    EXPECT_EQ(readoutAt(a, 285), " 23/ 3/ 6   買 終値 1011   売 終値 --   さや --   利益 +0.1");
    EXPECT_EQ(readoutAt(a, 295), " 23/ 3/16   買 終値 1031   売 終値 1037   さや 6   利益 +0.2");
    // Both legs start at date 290, after the entry: each slot still reads its own date.
    key(40);
    EXPECT_EQ(readoutAt(a, 295), " 23/ 3/16   買 終値 1023   売 終値 1037   さや 14   利益 -0.1");
}

TEST_F(Viewer, AWheelNotchMovesATenthOfTheBarsShownShiftAPageWithItsLimits) {
    openThree();
    key(kLeft);
    const int32_t page = a.view.scrollBack;
    a.view.scrollBack = 0;
    paint();
    const int32_t tenth = (a.view.lastShownBar - a.view.firstShownBar + 1) / 10;
    ASSERT_GT(tenth, 1);

    onWheel(a, shell, 2);  // turned away: older
    EXPECT_EQ(a.view.scrollBack, 2 * tenth);
    onWheel(a, shell, -2);  // towards the user: newer
    EXPECT_EQ(a.view.scrollBack, 0);
    onWheel(a, shell, 1, true);  // with Shift: a page, as Left
    EXPECT_EQ(a.view.scrollBack, page);
    onWheel(a, shell, -1, true);
    EXPECT_EQ(shell.beeps, 0);

    onWheel(a, shell, -3);       // the newest dates are shown: one beep for the whole turn
    onWheel(a, shell, 1000000);  // as far as the oldest dates
    EXPECT_EQ(a.view.firstShownBar, a.series.firstBar);
    onWheel(a, shell, 1);
    EXPECT_EQ(shell.beeps, 2);
    a.settings.pitch = 100.0f;  // a handful of bars across the plot: a notch is still one
    key(13);                    // Enter: the newest dates
    onWheel(a, shell, 1);
    EXPECT_EQ(a.view.scrollBack, 1);
}

// Fine-step wheels and touchpads send parts of a notch: they add up, either way.
TEST(WheelNotches, PartsOfANotchAddUp) {
    int rest = 0;
    std::vector<int> notches;
    for (const int delta : {40, 40, 40, 250, -60, -60, -120}) {
        notches.push_back(wheelNotches(rest, delta));
    }
    EXPECT_EQ(notches, (std::vector<int>{0, 0, 1, 2, 0, 0, -1}));
}

}  // namespace
}  // namespace zepa::test
