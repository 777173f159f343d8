// The viewer reopens on the position it showed, found by its legs in an edited file.
#include <gtest/gtest.h>

#include "app/last_position.h"
#include "settings/chart_values.h"
#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

constexpr int kDown = 40;

PositionTable tableOf(const std::string& lines) {
    PositionTable table;
    size_t start = 0;
    while (start < lines.size()) {
        const size_t end = lines.find('\n', start);
        PositionRecord r;
        if (parsePositionLine(std::string_view(lines).substr(start, end - start), r)) {
            table.records.push_back(r);
        }
        start = end + 1;
    }
    table.positionCount = static_cast<int>(table.records.size());
    return table;
}

TEST(LastPosition, FoundByItsLegsWhereverTheLineWent) {
    const PositionTable three =
        tableOf(positionLine(1001, 1002) + positionLine(1003, 1004) + positionLine(1005, 1006));
    const std::string stored = formatLastPosition(1, three.records[1]);
    EXPECT_EQ(stored, "1,T,1003,230301,100,T,1004,230301,100");
    struct Case {
        const char* what;
        std::string lines;
        std::string stored;
        int32_t found;
    };
    const Case cases[] = {
        {"unchanged", positionLine(1001, 1002) + positionLine(1003, 1004), stored, 1},
        {"a line added above",
         positionLine(1005, 1006) + positionLine(1001, 1002) + positionLine(1003, 1004), stored, 2},
        {"the same legs twice: the stored index",
         positionLine(1003, 1004) + positionLine(1003, 1004), stored, 1},
        {"the same legs, not at the index: the first",
         positionLine(1003, 1004) + positionLine(1001, 1002) + positionLine(1003, 1004),
         "5,T,1003,230301,100,T,1004,230301,100", 0},
        {"legs swapped: another position", positionLine(1004, 1003), stored, -1},
        {"gone", positionLine(1001, 1002), stored, -1},
        {"an index leg without a letter", positionLine(1001, 1002),
         "0,T,1001,230301,100,,1002,230301,100", -1},
        {"too few fields", positionLine(1003, 1004), "0,T,1003,230301,100,T,1004,230301", -1},
        {"too many fields", positionLine(1003, 1004), stored + ",1", -1},
        {"not numbers", positionLine(1003, 1004), "0,T,1003,230301,1x0,T,1004,230301,100", -1},
        {"empty", positionLine(1003, 1004), "", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findLastPosition(c.stored, tableOf(c.lines)), c.found) << c.what;
    }
}

TEST_F(Viewer, ReopensOnThePositionShownWhileTheFileHoldsIt) {
    openThree();
    key(kDown);
    key(kDown);
    ASSERT_EQ(a.view.currentPosition, 2);
    shutDownViewer(a);

    const auto reopen = [&](const std::string& lines) {
        AppContext next;
        write(paths.positionFile, lines);
        EXPECT_EQ(startViewer(next, root.string(), store), StartupOutcome::Ready);
        RecordingShell s;
        onCreate(next, s);
        EXPECT_EQ(s.selected, next.view.currentPosition);
        EXPECT_TRUE(next.series.buyBarsAllocated);
        const int32_t shown = next.view.currentPosition;
        shutDownViewer(next);
        return shown;
    };
    EXPECT_EQ(
        reopen(positionLine(1001, 1002) + positionLine(1003, 1004) + positionLine(1005, 1006)), 2);
    // A position added at the top: still the same one.
    EXPECT_EQ(reopen(positionLine(1001, 1004) + positionLine(1001, 1002) +
                     positionLine(1003, 1004) + positionLine(1005, 1006)),
              3);
    // Removed from the file: the first position, as before.
    EXPECT_EQ(reopen(positionLine(1001, 1002) + positionLine(1003, 1004)), 0);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "LastPos_SY"),
              "0,T,1001,230301,100,T,1002,230301,100");
}

}  // namespace
}  // namespace zepa::test
