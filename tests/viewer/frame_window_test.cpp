// The real main window on writer-made data: real key and mouse events go in through the window
// system, the view state, the controls and the backing image come out.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

#include <memory>

#include "app/window/frame_window.h"
#include "platform/codepage.h"
#include "settings/chart_values.h"
#include "tests/app/viewer_fixture.h"
#include "tests/support/box_answerer.h"

namespace zepa::test {
namespace {

// The fixture's installation with a Japanese tip, under the shown, active main window.
struct ViewerWindow : Viewer {
    void show(const std::string& positions) {
        write(paths.positionFile, positions);
        write(paths.tipFile, "# tips\n" + cp932FromUtf8("ひとこと") + "\n");
        // An editor that starts and does nothing, so that no test opens a real one.
        store.set(kMenuSubkey, "EDITOR", "true");
        ASSERT_EQ(startViewer(a, root.string(), store), StartupOutcome::Ready);
        window = std::make_unique<FrameWindow>(a);
        window->resize(900, 600);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->windowHandle(), k, modifiers);
    }
    QImage picture() const { return window->backingImage().copy(); }
    QWidget* chart() const { return window->centralWidget(); }

    std::unique_ptr<FrameWindow> window;
};

TEST_F(ViewerWindow, KeysReachTheChartAndChangeStateAndPicture) {
    BoxAnswerer boxes;
    show(positionLine(1001, 1002) + positionLine(1003, 1004) + positionLine(1002, 1003));
    QComboBox* selector = window->positionSelector();
    ASSERT_EQ(selector->count(), 3);
    EXPECT_EQ(selector->itemText(0), QStringLiteral("買 T1001 BUY　 　　売 T1002 SELL　"));
    EXPECT_EQ(window->statusText(), QStringLiteral(" ひとこと"));
    // Neither creation nor showing wrote the placement that start-up has not restored yet.
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "Size_SY"), "");

    QImage before = picture();
    key(Qt::Key_Down);
    EXPECT_EQ(a.view.currentPosition, 1);
    EXPECT_EQ(selector->currentIndex(), 1);
    EXPECT_NE(picture(), before);

    // The chart switch redraws only the lower pane.
    before = picture();
    key(Qt::Key_Space);
    EXPECT_EQ(a.settings.lowerPaneMode, 2);
    const int lowerTop = a.chart.layout.lowerTitleTop;
    EXPECT_EQ(picture().copy(0, 0, before.width(), lowerTop),
              before.copy(0, 0, before.width(), lowerTop));
    EXPECT_NE(picture(), before);

    before = picture();
    key(Qt::Key_Left);
    const int32_t once = a.view.scrollBack;
    EXPECT_GT(once, 0);
    EXPECT_NE(picture(), before);
    key(Qt::Key_Left, Qt::AltModifier);  // Alt+key is the plain key
    EXPECT_GT(a.view.scrollBack, once);
    key(Qt::Key_K, Qt::AltModifier);  // not even a menu title's Alt+letter takes a key
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    key(Qt::Key_Delete);
    EXPECT_EQ(a.view.weeklyBars, 1);

    // Backspace starts stepping (the button shows it) and steps at once; the next key stops it.
    QToolButton* autoStep = window->toolbarButton(255);
    key(Qt::Key_Backspace);
    EXPECT_EQ(a.view.autoStepActive, 1);
    EXPECT_TRUE(autoStep->isChecked());
    EXPECT_EQ(a.view.currentPosition, 2);
    key(Qt::Key_Up);
    EXPECT_EQ(a.view.autoStepActive, 0);
    EXPECT_FALSE(autoStep->isChecked());
    EXPECT_EQ(a.view.currentPosition, 2);

    // Moves and sizes are recorded once the entry point allows it.
    window->setPlacementRecording(true);
    window->resize(820, 560);
    QTest::qWait(20);
    WindowPlacement placement;
    ASSERT_TRUE(parsePlacement(queryChartValue(store, kChartSubkey, "Size_SY"), placement));
    EXPECT_EQ(placement.right - placement.left, 820);
    EXPECT_EQ(placement.bottom - placement.top, 560);
    EXPECT_EQ(picture().width(), 820);

    key(Qt::Key_Escape);
    EXPECT_TRUE(window->isClosed());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(ViewerWindow, CursorFollowsTheMouseAndAClickJumpsToItsDate) {
    BoxAnswerer boxes;
    show(positionLine(1001, 1002));
    QTest::mouseClick(window->toolbarButton(257), Qt::LeftButton);
    EXPECT_EQ(a.view.cursorState, 1);
    EXPECT_TRUE(window->toolbarButton(257)->isChecked());

    const QImage before = picture();
    const ChartLayout& l = a.chart.layout;
    const QPoint at(l.plotLeft + 100, (l.pricePlotTop + l.pricePaneBottom) / 2);
    QTest::mouseMove(chart(), at);
    EXPECT_TRUE(QTest::qWaitFor([&] { return a.view.cursorState == 2; }));
    EXPECT_NE(picture(), before);  // the inverted line
    // A click on the toolbar strip is the strip's, not the chart's.
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      chart()->mapTo(window.get(), QPoint(650, 15)));
    EXPECT_EQ(a.view.cursorState, 2);

    const int32_t bar = a.view.cursorBar;
    QTest::mouseClick(chart(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(a.view.cursorState, 0);
    EXPECT_FALSE(window->toolbarButton(257)->isChecked());
    EXPECT_EQ(a.view.scrollBack, a.md.set.dateCount - 1 - bar);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(ViewerWindow, WithoutPositionsOnlyExitAndReloadStayUsable) {
    BoxAnswerer boxes;
    show("# nothing yet\n");
    EXPECT_EQ(a.view.commandState, 0);
    for (int id = 250; id <= 260; ++id) {
        EXPECT_EQ(window->toolbarButton(id)->isEnabled(), id == 250 || id == 259) << id;
    }
    std::vector<bool> menus;
    for (const QAction* title : window->menuBar()->actions()) {
        menus.push_back(title->isEnabled());
    }
    EXPECT_EQ(menus, (std::vector<bool>{true, false, false, true}));

    // Timer 10 asks for positions once.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.texts.empty(); }));
    EXPECT_EQ(boxes.texts[0], "建て玉が設定されていませんので\n\n先に、建て玉を登録して下さい\n");

    key(Qt::Key_Down);
    EXPECT_EQ(a.view.currentPosition, 0);
    key(Qt::Key_Escape);
    EXPECT_TRUE(window->isClosed());
}

}  // namespace
}  // namespace zepa::test
