#include <gtest/gtest.h>

#include <array>
#include <set>

#include "base/codepage.h"
#include "datawindow/data_table.h"
#include "settings/chart_values.h"
#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

constexpr int kBackspace = 8, kSpace = 32, kLeft = 37, kUp = 38, kDown = 40, kZero = 48, kC = 67;

using Texts = std::vector<std::string>;

std::vector<int32_t> invertedLineXs(const RecordingSurface& s) {
    std::vector<int32_t> xs;
    for (const RecordedOp& op : s.ofKind(RecordedOp::Line)) {
        if (op.rasterOp == RasterOp::Not) {
            xs.push_back(op.x1);
        }
    }
    return xs;
}

TEST_F(Viewer, WithoutPositionsOnlyEscTheFileCommandsAndTheSearchWork) {
    open("# no position yet\n");
    std::map<int, bool> greyed;
    for (const int id : kPositionShownCommands) {
        greyed[id] = false;
    }
    EXPECT_EQ(shell.menuEnabled, greyed);
    onTimer(a, shell, 10);  // one shot: the message, then the editor
    EXPECT_TRUE(shell.timers.empty());
    ASSERT_EQ(shell.captions(), Texts{"エラーメッセージ"});
    EXPECT_EQ(shell.messages[0].text,
              "建て玉が設定されていませんので\n\n先に、建て玉を登録して下さい\n");
    EXPECT_EQ(shell.processes.size() + shell.desktopOpened.size(), 1u);
    const int draws = shell.draws;
    for (int k : {kDown, kLeft, kBackspace, kSpace, kZero, int{'F'}}) {
        key(k);
    }
    onLeftDoubleClick(a, shell, 300, 200);
    EXPECT_EQ(shell.draws, draws);
    EXPECT_TRUE(shell.messages.size() == 1 && shell.timers.empty() && shell.opened.empty());
    for (const int id : {command::kPairSearch, command::kClosedTrades, command::kAddPosition,
                         command::kSettings, command::kAdvancedSettings, command::kEditPositions}) {
        EXPECT_FALSE(shell.menuEnabled.contains(id)) << id;
    }
    key('F', true);
    press(command::kSettings);
    press(command::kAdvancedSettings);
    EXPECT_EQ(shell.opened, (Texts{"pair search", "settings", "advanced settings"}));

    write(paths.positionFile, positionLine(1001, 1002));
    press(command::kReloadPositions);
    for (auto& [id, enabled] : greyed) {
        enabled = true;
    }
    EXPECT_EQ(shell.menuEnabled, greyed);
}

TEST_F(Viewer, MessagesAtTheEndsAndForUnknownStocks) {
    open(positionLine(1001, 1002) + positionLine(1001, 4321) + positionLine(1003, 1004));
    key(kUp);
    shell.surface.ops.clear();
    key(kDown);  // unknown stock: at once and at every paint, an empty chart naming it
    for (int pass = 0; pass < 2; ++pass) {
        const std::vector<RecordedOp> texts = shell.surface.ofKind(RecordedOp::Text);
        ASSERT_EQ(texts.size(), 1u) << pass;  // the header alone: no axis, panel or lower pane
        const std::string& header = texts[0].text;
        EXPECT_TRUE(header.find(" 1001 BUY") != std::string::npos &&
                    header.find(" 4321 SELL") != std::string::npos)
            << pass;
        shell.surface.ops.clear();
        paint();
    }
    EXPECT_EQ(dataRowCount(chartContext(a)), 0);
    key(kDown);
    key(kDown);
    key(kBackspace);  // stepping cannot start at the last position
    EXPECT_EQ(a.view.currentPosition, 2);
    ASSERT_EQ(shell.captions(),
              (Texts{"前の銘柄へ移動", "データの読み込み", "後の銘柄へ移動", "エラー"}));
    EXPECT_EQ(shell.messages[0].text, "先頭の銘柄です");
    EXPECT_EQ(
        shell.messages[1].text,
        "指定銘柄は登録されていません\n売りの銘柄 T4321 が株価データにありません（建玉ファイル "
        "2 行目）");
    EXPECT_EQ(shell.messages[2].text, "最後の銘柄です");
    EXPECT_EQ(shell.messages[3].text, "最後の銘柄ですので実行できません");
}

TEST_F(Viewer, AnyCommandKeyClickOrWheelWhileSteppingOnlyStopsIt) {
    openThree();
    a.settings.autoStepInterval = 2147483647;  // a hand-edited store: no overflow
    key(kBackspace);
    EXPECT_EQ(shell.timers, (std::map<int, int>{{11, 2147483647}}));
    EXPECT_EQ(a.view.currentPosition, 1);  // the first step is at once
    a.settings.autoStepInterval = 40;
    using Action = void (*)(Viewer&);
    for (Action stop :
         {+[](Viewer& v) { v.press(command::kButtonNext); }, +[](Viewer& v) { v.key(kDown); },
          +[](Viewer& v) { onRightButtonDown(v.a, v.shell); },
          +[](Viewer& v) { onFocusLost(v.a, v.shell); },
          +[](Viewer& v) { onCommand(v.a, v.shell, command::kPositionSelector, 2); },
          +[](Viewer& v) { onWheel(v.a, v.shell, 2); }}) {
        stop(*this);
        EXPECT_FALSE(a.view.autoStepActive || shell.buttonPressed[255]);
        EXPECT_EQ(a.view.currentPosition, 1);
        EXPECT_EQ(a.view.scrollBack, 0);
        onTimer(a, shell, 11);  // a tick queued before the stop
        EXPECT_EQ(a.view.currentPosition, 1);
        previousPosition(a, shell);
        key(kBackspace);
        EXPECT_EQ(shell.timers, (std::map<int, int>{{11, 4000}}));
    }
    onTimer(a, shell, 11);
    onTimer(a, shell, 11);  // at the last position stepping ends with the message
    EXPECT_EQ(a.view.autoStepActive, 0);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "最後の銘柄です");
}

TEST_F(Viewer, CursorLineIsInvertedAndCJumpsToItsDate) {
    openThree();
    press(command::kButtonCursor);
    shell.surface.ops.clear();
    onMouseMove(a, shell, 300, 200);
    onMouseMove(a, shell, 310, 200);
    EXPECT_EQ(invertedLineXs(shell.surface), (std::vector<int32_t>{300, 300, 300, 300, 310, 310}));
    // A repaint wipes the line: the next move must not erase it again.
    paint();
    shell.surface.ops.clear();
    onMouseMove(a, shell, 200, 200);
    EXPECT_EQ(invertedLineXs(shell.surface), (std::vector<int32_t>{200, 200}));
    const int32_t bar = a.view.cursorBar;
    key(kC);
    EXPECT_EQ(a.view.cursorState, 0);
    EXPECT_EQ(a.view.scrollBack, kDates - 1 - bar);
}

TEST_F(Viewer, PitchPresetsNeedTheFreeModeAndAValue) {
    openThree();
    a.settings.pitchMode = 0;
    key(kZero);
    a.settings.pitchMode = 1;
    a.settings.pitchTable = {0, 0, 0, 35, 0, 0};
    a.settings.pitchIndex = 3;
    key(kZero);
    EXPECT_EQ(a.settings.pitch, 3.5f);
    a.settings.pitchTable = {0, 0, 0, 0, 0, 0};
    key(kZero);
    EXPECT_EQ(a.settings.pitch, 3.5f);
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[0].text, "縦横比伸縮モードでは、変更できません");
    EXPECT_EQ(shell.messages[1].text,
              "ピッチの値が設定されていません\n設定を先に行って実行して下さい");
}

TEST_F(Viewer, StartupStopsBeforeLoadingWhatIsMissing) {
    EXPECT_EQ(startViewer(a, root.string(), store), StartupOutcome::PositionFileMissing);
    write(paths.positionFile, positionLine(1001, 1002));
    fs::remove(paths.dataDirectory + "/DBW.001");
    EXPECT_EQ(startViewer(a, root.string(), store), StartupOutcome::DataError);
    EXPECT_TRUE(store.values.empty());  // nothing written, nothing to save later
}

TEST_F(Viewer, PlacementIsStoredOnEveryMoveAndReadBackOnlyWhole) {
    a.store = &store;
    WindowPlacement p{.showCommand = 3, .left = -5, .top = 20, .right = 810, .bottom = 620};
    onMoveOrSize(a, p);
    EXPECT_EQ(*store.find("CHART", "Size_SY"), "2, 3, -1, -1, -1, -1, -5, 20, 810, 620, 100");
    WindowPlacement back;
    EXPECT_TRUE(parsePlacement("2, 3, -1, -2, -3, -4, -5, 20, 810, 620", back));
    EXPECT_EQ(formatPlacement(back), "2, 3, -1, -2, -3, -4, -5, 20, 810, 620, 100");
    EXPECT_TRUE(parsePlacement("0, 1, -1, -1, -1, -1, 1, 2, 3, 99999999999999999999", back));
    EXPECT_EQ(back.bottom, 2147483647);  // saturated, never undefined
    for (std::string_view bad :
         {"", "0, 1, -1, -1, -1, -1, 1, 2, 3", "0 , 1, -1, -1, -1, -1, 1, 2, 3, 4",
          "0, 1, x, -1, -1, -1, 1, 2, 3, 4", "0, 1, -1, -1, -1, -1, 1, 2, 3,"}) {
        EXPECT_FALSE(parsePlacement(bad, back)) << bad;
        EXPECT_EQ(back.bottom, 2147483647) << bad;  // untouched
    }
}

TEST(Placement, AChangeOfScaleKeepsTheWindowsSizeOnTheScreen) {
    // Stored at 150 %: 1,200 x 800 logical pixels, 1,800 x 1,200 on the screen.
    const std::string stored = formatPlacement(
        WindowPlacement{.left = 100, .top = 50, .right = 1300, .bottom = 850, .scalePercent = 150});
    EXPECT_EQ(stored, "0, 1, -1, -1, -1, -1, 100, 50, 1300, 850, 150");  // ten fields as before
    WindowPlacement back;
    ASSERT_TRUE(parsePlacement(stored, back));
    const WindowPlacement p = placementAtScale(back, 100);
    EXPECT_EQ((std::array{p.left, p.top, p.right, p.bottom, p.minX}),
              (std::array{150, 75, 1950, 1275, -1}));
    // Without the scale (older versions), or with an absurd one: 100 %.
    ASSERT_TRUE(parsePlacement("0, 1, -1, -1, -1, -1, 1, 2, 3, 4, 99999", back));
    EXPECT_EQ(back.scalePercent, 100);
}

TEST(Placement, OneThatDoesNotFitIsMovedOntoTheWorkArea) {
    const auto fitted = [](int32_t l, int32_t t, int32_t r, int32_t b) {
        const ScreenRect f =
            fitPlacement(WindowPlacement{.left = l, .top = t, .right = r, .bottom = b},
                         ScreenRect{0, 0, 1920, 1040}, 200, 150);
        return std::array{f.left, f.top, f.width, f.height};
    };
    EXPECT_EQ(fitted(1820, 10, 2120, 210), (std::array{1620, 10, 300, 200}));
    EXPECT_EQ(fitted(-1920, -1040, 3840, 2080), (std::array{0, 0, 1920, 1040}));
    EXPECT_EQ(fitted(5, 6, 205, 156), (std::array{5, 6, 200, 150}));  // it fits: it stays
    EXPECT_EQ(fitted(INT32_MIN, 0, INT32_MAX, 10), (std::array{0, 0, 1920, 150}));
}

TEST(Placement, ASideWindowOpensBesideTheFrameOrWhereItWas) {
    const ScreenRect desktop{0, 0, 1920, 1040};
    const struct {
        const char* stored;
        ScreenRect frame;
        int32_t left, top, width;
    } cases[] = {
        {"", {0, 0, 900, 1000}, 900, 0, 1000},         // room on the right
        {"", {1000, 20, 900, 1000}, 0, 20, 1000},      // room on the left only
        {"", {100, 0, 1700, 1000}, 920, 0, 1000},      // none: the side with more room
        {"x, 1, 2", {0, 0, 900, 1000}, 900, 0, 1000},  // a bad value is none
        {"100, 50, 800, 600", {0, 0, 900, 1000}, 100, 50, 800},
        {"5000, 50, 800, 600", {0, 0, 900, 1000}, 1120, 50, 800},  // back onto the screen
    };
    for (const auto& c : cases) {
        const ScreenRect r = sideWindowPlace(c.stored, c.frame, desktop, 1000, 640);
        EXPECT_EQ(r.left, c.left) << c.stored << " " << c.frame.left;
        EXPECT_EQ(r.top, c.top) << c.stored;
        EXPECT_EQ(r.width, c.width) << c.stored;
    }
    const ScreenRect back =
        sideWindowPlace(formatSideWindowPlace({10, 20, 700, 500}), {}, desktop, 1000, 640);
    EXPECT_EQ(formatSideWindowPlace(back), "10, 20, 700, 500");
}

TEST_F(Viewer, TipLinesSkipCommentsAndSplitLongLines) {
    std::string text;
    write(paths.tipFile, "# one\r\nsecond\r\n#three\nfourth");
    std::set<std::string> shown;
    for (int64_t second = 0; second < 40; ++second) {
        ASSERT_EQ(pickTipLine(paths.tipFile, second, text), 2);
        shown.insert(text);
    }
    EXPECT_EQ(shown, (std::set<std::string>{" second", " fourth"}));
}

TEST_F(Viewer, TheEditorFromTheStoreOrTheSystemElseTheDesktopOrWhatWasTried) {
    open(positionLine(1001, 1002));
    const auto edit = [&](const char* stored, bool starts, bool desktopOpens) {
        store.set("MENU", "EDITOR", stored);
        shell.processesStart = starts;
        shell.desktopOpens = desktopOpens;
        shell.processes.clear();
        shell.desktopOpened.clear();
        shell.messages.clear();
        press(command::kEditPositions);
        return std::to_string(shell.processes.size()) + std::to_string(shell.desktopOpened.size()) +
               (shell.messages.empty() ? "" : " " + shell.messages[0].text);
    };
    a.defaultEditor = "";
    EXPECT_EQ(edit("gedit", false, true), "11");
    EXPECT_EQ(edit(" ", true, true), "01");
    const std::string file = "建玉ファイル " + paths.positionFile + " を開けませんでした。\n";
    const std::string where =
        "\n\nメニューの「詳細設定」で、建玉ファイルを開くエディタを指定してください。";
    EXPECT_EQ(
        edit("/no/edit -w", false, false),
        "11 " + file +
            "エディタ「/no/edit -w」を起動できず、このファイルを開く既定のアプリもありません。" +
            where);
    EXPECT_EQ(edit("", false, false),
              "01 " + file + "このファイルを開く既定のアプリがありません。" + where);

    store.set("MENU", "EDITOR", std::string(70, 'e') + "あいうえおかきくけこ");
    EXPECT_EQ(editorCommandLine(a),
              std::string(70, 'e') + "あいうえおかきくけ " + paths.positionFile);
    // A blank in the folder must not split the file into two arguments.
    store.set("MENU", "EDITOR", "");
    a.defaultEditor = "NOTEPAD.EXE";  // as on Windows
    a.paths.positionFile = "/home/u/my data/ZEPAWIN/ZEPA_SPW.DAT";
    EXPECT_EQ(editorCommandLine(a), "NOTEPAD.EXE \"/home/u/my data/ZEPAWIN/ZEPA_SPW.DAT\"");
}

// The lower pane's title as the last drawing wrote it, UTF-8.
std::string lowerTitle(const RecordingSurface& s) {
    std::string title;
    for (const RecordedOp& op : s.ofKind(RecordedOp::Text)) {
        const std::string text = utf8FromCp932(op.text);
        if (text.find("チャート") != std::string::npos || text.find("変動率") == 0 ||
            text.find("レシオケータ") == 0) {
            title = text;
        }
    }
    return title;
}

TEST_F(Viewer, ChartKeyReachesTheRatioChartOnlyWhenItIsOn) {
    openThree();
    const auto cycle = [&] {
        std::vector<int32_t> modes;
        for (int k = 0; k < 4; ++k) {
            commandRouter(a, shell, 300);
            modes.push_back(a.settings.lowerPaneMode);
        }
        return modes;
    };
    EXPECT_EQ(cycle(), (std::vector<int32_t>{2, 1, 0, 2}));
    a.settings.lowerPaneMode = 0;
    a.settings.ratioChart = 1;
    EXPECT_EQ(cycle(), (std::vector<int32_t>{2, 1, 3, 0}));
    commandRouter(a, shell, 300);
    commandRouter(a, shell, 300);
    shell.surface.ops.clear();
    commandRouter(a, shell, 300);  // 1 -> 3, drawn at once
    EXPECT_EQ(lowerTitle(shell.surface).rfind("レシオケータ(25本)  R:", 0), 0u);
}

}  // namespace
}  // namespace zepa::test
