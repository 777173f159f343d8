#include <gtest/gtest.h>

#include <set>

#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

TEST_F(Viewer, StartupStopsBeforeLoadingWhatIsMissing) {
    EXPECT_EQ(startViewer(a, root.string(), store), StartupOutcome::PositionFileMissing);
    EXPECT_FALSE(a.md.tablesAllocated);

    fs::create_directory(paths.positionFile);  // a folder of that name counts as present
    EXPECT_TRUE(positionFilePresent(paths));
    fs::remove(paths.positionFile);

    write(paths.positionFile, positionLine(1001, 1002));
    fs::remove(paths.dataDirectory + "/DBW.001");
    EXPECT_EQ(startViewer(a, root.string(), store), StartupOutcome::DataError);
    EXPECT_EQ(a.md.dataError, DataError::NoDatabase);
    EXPECT_TRUE(store.values.empty());  // nothing written, nothing to save later
}

TEST_F(Viewer, StartupLoadsTheStoreAndShutdownSavesIt) {
    store.set("CHART", "SayaMode", "2,0,0,1,1,0,75");
    store.set("CHART", "Mode_1", "0,0,0,0,0,1,0,0,0,0,120,0,25");
    openThree();
    EXPECT_EQ(a.settings.lowerPaneMode, 2);
    EXPECT_EQ(a.settings.pitch, 7.5f);
    EXPECT_EQ(a.settings.autoStepInterval, 25);
    EXPECT_EQ(a.md.set.dateCount, kDates);
    a.settings.lowerPaneMode = 1;
    shutDownViewer(a);
    EXPECT_FALSE(a.md.tablesAllocated || a.series.buyBarsAllocated || a.series.sellBarsAllocated);
    ASSERT_NE(store.find("CHART", "SayaMode"), nullptr);
    EXPECT_EQ(store.find("CHART", "SayaMode")->substr(0, 2), "1,");
    EXPECT_NE(store.find("CHART", "COLOR_SY"), nullptr);
}

TEST_F(Viewer, PlacementIsStoredOnEveryMoveAndReadBackOnlyWhole) {
    a.store = &store;
    WindowPlacement p;
    p.showCommand = 3;  // maximised
    p.left = 10;
    p.top = 20;
    p.right = 810;
    p.bottom = 620;
    onMoveOrSize(a, p);
    EXPECT_EQ(*store.find("CHART", "Size_SY"), "2, 3, -1, -1, -1, -1, 10, 20, 810, 620");
    p.showCommand = 1;
    p.flags = 0;
    p.left = -5;
    onMoveOrSize(a, p);
    EXPECT_EQ(*store.find("CHART", "Size_SY"), "0, 1, -1, -1, -1, -1, -5, 20, 810, 620");

    WindowPlacement back;
    ASSERT_TRUE(parsePlacement(*store.find("CHART", "Size_SY"), back));
    EXPECT_EQ(formatPlacement(back), *store.find("CHART", "Size_SY"));
    EXPECT_TRUE(parsePlacement("2,3,-1,-1,-1,-1,  10,20,810,620 trailing", back));
    EXPECT_EQ(back.flags, 2u);
    EXPECT_EQ(back.left, 10);

    EXPECT_TRUE(parsePlacement("0, 1, -1, -1, -1, -1, 1, 2, 3, 99999999999999999999", back));
    EXPECT_EQ(back.bottom, 2147483647);  // saturated, never undefined

    const WindowPlacement before = back;
    for (std::string_view bad :
         {"", "0, 1, 100, 200", "0, 1, -1, -1, -1, -1, 1, 2, 3",
          "0 , 1, -1, -1, -1, -1, 1, 2, 3, 4", "0, 1, x, -1, -1, -1, 1, 2, 3, 4",
          "0, 1, -1, -1, -1, -1, 1, 2, 3,"}) {
        EXPECT_FALSE(parsePlacement(bad, back)) << bad;
        EXPECT_EQ(formatPlacement(back), formatPlacement(before)) << bad;
    }
}

TEST_F(Viewer, TipLinesSkipCommentsAndCountEmptyLines) {
    const std::string tips = paths.tipFile;
    std::string text = "old";
    EXPECT_EQ(pickTipLine(root.string() + "/none.txt", 5, text), -1);
    EXPECT_EQ(text, " ");

    write(tips, "# one\r\nsecond\r\n#three\nfourth");
    std::set<std::string> shown;
    for (int64_t second = 0; second < 40; ++second) {
        ASSERT_EQ(pickTipLine(tips, second, text), 2);
        shown.insert(text);
        std::string again;
        pickTipLine(tips, second, again);
        EXPECT_EQ(again, text);  // the same second picks the same line
    }
    EXPECT_EQ(shown, (std::set<std::string>{" second", " fourth"}));

    write(tips, "#\n\n");
    EXPECT_EQ(pickTipLine(tips, 7, text), 1);
    EXPECT_EQ(text, " ");
    write(tips, std::string(250, 'x') + "\n#only\n");  // a long line reads as two tips
    EXPECT_EQ(pickTipLine(tips, 7, text), 2);
    EXPECT_TRUE(text == " " + std::string(199, 'x') || text == " " + std::string(51, 'x'));

    // A file of comments leaves the status bar as it was.
    write(tips, "only\n");
    openThree();
    EXPECT_EQ(shell.statusText, " only");
    write(tips, "# nothing\n");
    key(13);
    EXPECT_EQ(shell.statusText, " only");
}

// An editor that cannot start hands the file to the desktop: see the fault tests.
TEST_F(Viewer, EditorComesFromTheStoreOrFallsBack) {
    a.paths = paths;
    a.store = &store;
    EXPECT_EQ(editPositionFile(a, shell), 0);
    onCommand(a, shell, command::kEditPositions);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, positionFileAbsentMessage(paths));
    EXPECT_EQ(shell.messages[0].caption, "エラーメッセージ");
    EXPECT_TRUE(shell.processes.empty());

    write(paths.positionFile, "");
    store.set("MENU", "EDITOR", "");
    EXPECT_EQ(editorCommandLine(a), "NOTEPAD.EXE " + paths.positionFile);
    store.set("MENU", "EDITOR", "gedit --new-window");
    EXPECT_EQ(editPositionFile(a, shell), 1);
    EXPECT_EQ(shell.processes.back(), "gedit --new-window " + paths.positionFile);
    EXPECT_TRUE(shell.desktopOpened.empty());
    store.set("MENU", "EDITOR", std::string(70, 'e') + "あいうえおかきくけこ");
    EXPECT_EQ(editorCommandLine(a),
              std::string(70, 'e') + "あいうえおかきくけ " + paths.positionFile);

    // A blank in the folder must not split the file into two arguments.
    store.set("MENU", "EDITOR", "");
    a.paths.positionFile = "/home/u/my data/ZEPAWIN/ZEPA_SPW.DAT";
    EXPECT_EQ(editorCommandLine(a), "NOTEPAD.EXE \"/home/u/my data/ZEPAWIN/ZEPA_SPW.DAT\"");
}

}  // namespace
}  // namespace zepa::test
