#include <gtest/gtest.h>

#include "app/last_position.h"
#include "settings/chart_values.h"
#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

TEST_F(Viewer, ReopensOnThePositionShownWhileTheFileHoldsIt) {
    openThree();
    key(40);  // Down, twice
    key(40);
    shutDownViewer(a);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "LastPos_SY"),
              "2,T,1005,230301,100,T,1006,230301,100");
    const auto reopen = [&](const std::string& lines) {
        AppContext next;
        write(paths.positionFile, lines);
        EXPECT_EQ(startViewer(next, root.string(), store), StartupOutcome::Ready);
        RecordingShell s;
        onCreate(next, s);
        EXPECT_TRUE(s.selected == next.view.currentPosition && next.series.buyBarsAllocated);
        return next.view.currentPosition;
    };
    const std::string shown = positionLine(1005, 1006);
    const std::string others = positionLine(1001, 1002) + positionLine(1003, 1004);
    EXPECT_EQ(reopen(others + shown), 2);
    EXPECT_EQ(reopen(shown + positionLine(1001, 1002)), 0);   // moved: found by its legs
    EXPECT_EQ(reopen(others + positionLine(1006, 1005)), 0);  // gone
    // The same legs twice: the one at the stored index, else the first.
    EXPECT_EQ(reopen(shown + positionLine(1001, 1002) + shown), 2);
    EXPECT_EQ(reopen(shown + shown), 0);
}

}  // namespace
}  // namespace zepa::test
