#include <gtest/gtest.h>

#include "datawindow/data_table.h"
#include "platform/codepage.h"
#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

constexpr int kBackspace = 8, kEnter = 13, kSpace = 32, kLeft = 37, kUp = 38, kRight = 39,
              kDown = 40, kZero = 48, kC = 67;

// The x of every line drawn in inversion mode.
std::vector<int32_t> invertedLineXs(const RecordingSurface& s) {
    std::vector<int32_t> xs;
    for (const RecordedOp& op : s.ofKind(RecordedOp::Line)) {
        if (op.rasterOp == RasterOp::Not) {
            xs.push_back(op.x1);
        }
    }
    return xs;
}

TEST_F(Viewer, WithoutPositionsOnlyEscAndTheFileCommandsWork) {
    open("# no position yet\n");
    EXPECT_EQ(a.view.commandState, 0);
    EXPECT_EQ(shell.menuEnabled, (std::map<int, bool>{{1, false}, {2, false}}));
    for (int id = 251; id <= 260; ++id) {
        EXPECT_EQ(shell.buttonEnabled[id], id == 259) << id;
    }
    EXPECT_FALSE(shell.buttonEnabled.contains(250));
    EXPECT_EQ(shell.timers, (std::map<int, int>{{10, 10}}));

    onTimer(a, shell, 10);  // one shot: the message, then the editor
    EXPECT_TRUE(shell.timers.empty());
    ASSERT_EQ(shell.captions(), (std::vector<std::string>{"エラーメッセージ"}));
    EXPECT_EQ(shell.messages[0].text,
              "建て玉が設定されていませんので\n\n先に、建て玉を登録して下さい\n");
    EXPECT_EQ(shell.processes, (std::vector<std::string>{"NOTEPAD.EXE " + paths.positionFile}));

    const int draws = shell.draws;
    for (int k : {kDown, kLeft, kBackspace, kSpace, kZero}) {
        key(k);
    }
    onMouseMove(a, shell, 300, 200);
    onLeftDoubleClick(a, shell, 300, 200);
    EXPECT_EQ(shell.draws, draws);
    EXPECT_EQ(shell.messages.size(), 1u);
    EXPECT_TRUE(shell.timers.empty() && shell.opened.empty());
    EXPECT_EQ(a.view.mousePoint.x, 0);

    // A re-read that finds positions enables everything again.
    write(paths.positionFile, positionLine(1001, 1002));
    press(command::kReloadPositions);
    EXPECT_EQ(a.view.commandState, 1);
    EXPECT_EQ(shell.menuEnabled, (std::map<int, bool>{{1, true}, {2, true}}));
    for (int id = 250; id <= 260; ++id) {
        EXPECT_TRUE(shell.buttonEnabled[id]) << id;
    }
    EXPECT_EQ(shell.selectorItems.size(), 1u);
    EXPECT_EQ(shell.invalidations, 1);
}

TEST(SelectorItems, UseByteWidthsInCp932) {
    PositionRecord r;
    r.buy.marketLetter[0] = 'T';
    r.buy.stockCode = 12;
    r.buy.shortName = "AB";
    r.sell.marketLetter[0] = 'o';
    r.sell.stockCode = 123456;
    r.sell.shortName = "ABCDEFGH";
    EXPECT_EQ(positionItemText(r), cp932FromUtf8("買 T  12 AB    　　売 o123456 ABCDEFGH"));
    EXPECT_EQ(positionItemText(PositionRecord{}),
              cp932FromUtf8("買     0       　　売     0       "));
}

TEST_F(Viewer, FirstAndLastPositionsSayWhereTheyAre) {
    openThree();
    key(kUp);
    key(kDown);
    key(kDown);
    EXPECT_EQ(a.view.currentPosition, 2);
    EXPECT_EQ(shell.selected, 2);
    EXPECT_EQ(a.series.sellStockCode, 1006);
    key(kDown);
    key(kBackspace);  // stepping cannot start at the last position
    ASSERT_EQ(shell.messages.size(), 3u);
    EXPECT_EQ(shell.messages[0].text, "先頭の銘柄です");
    EXPECT_EQ(shell.messages[1].text, "最後の銘柄です");
    EXPECT_EQ(shell.messages[2].text, "最後の銘柄ですので実行できません");
    EXPECT_EQ(shell.captions(),
              (std::vector<std::string>{"前の銘柄へ移動", "後の銘柄へ移動", "エラー"}));
    EXPECT_EQ(shell.messages[1].icon, MessageIcon::Information);
    EXPECT_EQ(shell.messages[2].icon, MessageIcon::Exclamation);
    EXPECT_EQ(a.view.currentPosition, 2);
    EXPECT_TRUE(shell.timers.empty());
}

TEST_F(Viewer, AnyCommandKeyOrClickWhileSteppingOnlyStopsIt) {
    openThree();
    a.settings.autoStepInterval = 2147483647;  // a hand-edited store: no overflow
    key(kBackspace);
    EXPECT_TRUE(shell.buttonPressed[255]);
    EXPECT_EQ(shell.timers, (std::map<int, int>{{11, 2147483647}}));
    EXPECT_EQ(a.view.currentPosition, 1);  // the first step is at once
    a.settings.autoStepInterval = 40;

    using Action = void (*)(Viewer&);
    for (Action stop :
         {+[](Viewer& v) { v.press(command::kButtonNext); }, +[](Viewer& v) { v.key(kDown); },
          +[](Viewer& v) { onLeftButtonDown(v.a, v.shell); },
          +[](Viewer& v) { onRightButtonDown(v.a, v.shell); },
          +[](Viewer& v) { onFocusLost(v.a, v.shell); },
          +[](Viewer& v) { onCommand(v.a, v.shell, command::kPositionSelector, 2); }}) {
        stop(*this);
        EXPECT_EQ(a.view.autoStepActive, 0);
        EXPECT_FALSE(shell.buttonPressed[255]);
        EXPECT_TRUE(shell.timers.empty());
        EXPECT_EQ(a.view.currentPosition, 1);
        EXPECT_EQ(shell.selected, 1);
        onTimer(a, shell, 11);  // a tick queued before the stop
        EXPECT_EQ(a.view.currentPosition, 1);
        previousPosition(a, shell);
        key(kBackspace);
        EXPECT_EQ(shell.timers, (std::map<int, int>{{11, 4000}}));
    }
    EXPECT_TRUE(shell.messages.empty() && shell.opened.empty());

    // Ticks step on; at the last position stepping ends with the message.
    onTimer(a, shell, 11);
    EXPECT_EQ(a.view.currentPosition, 2);
    EXPECT_EQ(a.view.autoStepActive, 1);
    onTimer(a, shell, 11);
    EXPECT_EQ(a.view.autoStepActive, 0);
    EXPECT_FALSE(shell.buttonPressed[255]);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "最後の銘柄です");
}

TEST_F(Viewer, CursorLineFollowsTheMouseByInversionAndSwitchesOffOnce) {
    openThree();
    press(command::kButtonCursor);
    EXPECT_EQ(a.view.cursorState, 1);
    EXPECT_TRUE(shell.buttonPressed[257]);
    shell.surface.ops.clear();
    onMouseMove(a, shell, 300, 200);
    onMouseMove(a, shell, 310, 200);
    EXPECT_EQ(a.view.cursorState, 2);
    // Two segments drawn at 300, then erased there and drawn at 310.
    EXPECT_EQ(invertedLineXs(shell.surface), (std::vector<int32_t>{300, 300, 300, 300, 310, 310}));
    const std::vector<RecordedOp> lines = shell.surface.ofKind(RecordedOp::Line);
    EXPECT_EQ(lines[2].color, a.colors.colors[11]);
    EXPECT_EQ(lines[4].color, a.colors.colors[33]);
    EXPECT_EQ(lines[0].y1, a.chart.layout.pricePlotTop);

    shell.surface.ops.clear();
    press(command::kButtonCursor);  // consumed by switching off: not on again
    EXPECT_EQ(a.view.cursorState, 0);
    EXPECT_FALSE(shell.buttonPressed[257]);
    EXPECT_EQ(invertedLineXs(shell.surface), (std::vector<int32_t>{310, 310}));
    onMouseMove(a, shell, 320, 200);
    EXPECT_EQ(shell.surface.ops.size(), 2u);

    // A repaint while the line is shown wipes it: the next move must not erase it again.
    press(command::kButtonCursor);
    onMouseMove(a, shell, 300, 200);
    paint();
    shell.surface.ops.clear();
    onMouseMove(a, shell, 330, 200);
    EXPECT_EQ(invertedLineXs(shell.surface), (std::vector<int32_t>{330, 330}));
}

TEST_F(Viewer, CJumpsToTheCursorDateOnlyWithTheCursorOn) {
    openThree();
    const int draws = shell.draws;
    key(kC);
    EXPECT_EQ(shell.draws, draws);

    press(command::kButtonCursor);
    onMouseMove(a, shell, 200, 200);
    const int32_t bar = a.view.cursorBar;
    EXPECT_GT(bar, a.view.firstShownBar);
    EXPECT_LT(bar, a.view.lastShownBar);
    key(kC);
    EXPECT_EQ(a.view.cursorState, 0);
    EXPECT_EQ(a.view.scrollBack, kDates - 1 - bar);
    EXPECT_EQ(a.view.lastShownBar, bar);  // redrawn

    // Enter goes back to the newest dates; a right click only switches the cursor off (a left
    // click jumps, as the window test shows).
    key(kEnter);
    EXPECT_EQ(a.view.scrollBack, 0);
    press(command::kButtonCursor);
    onRightButtonDown(a, shell);
    EXPECT_EQ(a.view.cursorState, 0);
    EXPECT_EQ(a.view.scrollBack, 0);
}

TEST_F(Viewer, PitchCommandsFollowTheModeAndThePresets) {
    openThree();
    a.settings.pitchMode = 0;
    key(kZero, true);
    key(kZero);
    EXPECT_EQ(shell.captions(), (std::vector<std::string>{"ピッチの変更", "ピッチの変更"}));
    EXPECT_EQ(shell.messages[0].text, "縦横比伸縮モードでは、変更できません");
    EXPECT_EQ(shell.messages[1].text, shell.messages[0].text);

    a.settings.pitchMode = 1;
    int draws = shell.draws;
    shell.inputDialogCloses = 221;
    key(kZero, true);
    shell.inputDialogCloses = 220;
    key(kZero, true);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"input 2", "input 2"}));
    EXPECT_EQ(shell.draws, draws + 1);  // only after OK

    a.settings.pitchTable = {0, 0, 0, 35, 0, 0};
    a.settings.pitchIndex = 3;
    key(kZero);
    EXPECT_EQ(a.settings.pitchIndex, 3);
    EXPECT_EQ(a.settings.pitch, 3.5f);
    a.settings.pitchTable = {0, 0, 0, 0, 0, 0};
    draws = shell.draws;
    key(kZero);
    EXPECT_EQ(shell.messages.back().text,
              "ピッチの値が設定されていません\n設定を先に行って実行して下さい");
    EXPECT_EQ(a.settings.pitchIndex, 3);
    EXPECT_EQ(a.settings.pitch, 3.5f);
    EXPECT_EQ(shell.draws, draws + 1);  // redrawn all the same
}

TEST_F(Viewer, SpaceCyclesTheLowerPaneAndRedrawsOnlyIt) {
    openThree();
    std::vector<int32_t> modes;
    for (int i = 0; i < 3; ++i) {
        shell.surface.ops.clear();
        key(kSpace);
        modes.push_back(a.settings.lowerPaneMode);
        for (const RecordedOp& op : shell.surface.ops) {
            EXPECT_GE(std::max(op.y1, op.y2), a.chart.layout.lowerTitleTop);
        }
    }
    EXPECT_EQ(modes, (std::vector<int32_t>{2, 1, 0}));
    a.settings.lowerPaneMode = 3;
    key(kSpace);
    EXPECT_EQ(a.settings.lowerPaneMode, 2);
}

TEST_F(Viewer, ScrollingBeepsAtTheEnds) {
    openThree();
    key(kRight);
    EXPECT_EQ(shell.beeps, 1);
    for (int i = 0; i < 3; ++i) {
        key(kLeft);
    }
    EXPECT_EQ(a.view.firstShownBar, a.series.firstBar);
    EXPECT_EQ(shell.beeps, 2);
}

TEST_F(Viewer, SeriesMessagesAndTheFatalDataError) {
    open(positionLine(1001, 1002) + positionLine(1001, 4321) + positionLine(1003, 1004) +
         positionLine(1005, 1006));
    const int draws = shell.draws;
    key(kDown);
    EXPECT_EQ(shell.captions(), (std::vector<std::string>{"データの読み込み"}));
    EXPECT_EQ(shell.messages[0].text, "指定銘柄は登録されていません");
    EXPECT_EQ(shell.draws, draws);
    // A later repaint shows an empty chart area, not the last chart under this position's name,
    // and the data windows list nothing.
    shell.surface.ops.clear();
    paint();
    EXPECT_EQ(shell.surface.ops.size(), 1u);
    EXPECT_EQ(shell.surface.ofKind(RecordedOp::Fill).size(), 1u);
    EXPECT_EQ(dataRowCount(chartContext(a)), 0);
    key(kDown);
    EXPECT_GT(dataRowCount(chartContext(a)), 0);

    fs::remove(paths.dataDirectory + "/DBW.001");
    key(kDown);
    EXPECT_NE(shell.fatal.find("プログラムの実行を中止します"), std::string::npos);
    key(kUp);  // the tables are gone: nothing is read any more
    EXPECT_EQ(shell.messages.size(), 1u);
}

}  // namespace
}  // namespace zepa::test
