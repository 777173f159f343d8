// The real main window on writer-made data: real key and mouse events go in through the window
// system, the view state, the controls and the backing image come out.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "app/startup.h"
#include "app/window/frame_window.h"
#include "platform/codepage.h"
#include "platform/qsettings_value_store.h"
#include "settings/chart_values.h"
#include "tests/support/box_answerer.h"
#include "tools/dbw_writer.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;
using test::BoxAnswerer;

constexpr int kDates = 300;

// 300 weekdays from 2 January 2023.
std::vector<PackedDate> tradingDates() {
    using namespace std::chrono;
    std::vector<PackedDate> out;
    for (sys_days d = 2023y / January / 2; std::ssize(out) < kDates; d += days{1}) {
        const year_month_day v{d};
        if (weekday{d} != Saturday && weekday{d} != Sunday) {
            out.push_back(PackedDate{static_cast<uint8_t>(static_cast<int>(v.year()) - 1970),
                                     static_cast<uint8_t>(static_cast<unsigned>(v.month())),
                                     static_cast<uint8_t>(static_cast<unsigned>(v.day()))});
        }
    }
    return out;
}

// Both legs on the Tokyo market, in the position file's fixed columns.
std::string positionLine(int buyCode, int sellCode) {
    std::string line(77, ' ');
    const auto put = [&](size_t column, const std::string& text) {
        line.replace(column - 1, text.size(), text);
    };
    put(1, "T" + std::to_string(buyCode));
    put(10, "B" + std::to_string(buyCode));
    put(20, "230301");
    put(30, "1000");
    put(40, "T" + std::to_string(sellCode));
    put(49, "S" + std::to_string(sellCode));
    put(59, "230301");
    put(69, "1000");
    return line + "\r\n";
}

class ViewerWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() / ("zepa_viewer_" + std::to_string(std::random_device{}()));
        const InstallationPaths paths = makeInstallationPaths(root_.string());
        fs::create_directories(paths.dataDirectory);
        DbwFile file;
        file.dates = tradingDates();
        for (int code = 1001; code <= 1004; ++code) {
            DbwStock s{100000000 + code, "STOCK" + std::to_string(code), {}};
            for (int i = 0; i < kDates; ++i) {
                const auto close =
                    static_cast<int32_t>(1000 + 10 * code % 300 + 150 * std::sin(i / 20.0 + code));
                s.records.push_back(DbwRecord{close - 4, close + 9, close - 11, close, 5000, 0});
            }
            file.stocks.push_back(s);
        }
        ASSERT_TRUE(writePriceDatabase(paths.dataDirectory + "/DBW.001", file));
        write(paths.tipFile, "# tips\n" + cp932FromUtf8("ひとこと") + "\n");
        store_ = std::make_unique<QSettingsValueStore>((root_ / "settings.ini").string());
        // An editor that starts and does nothing, so that no test opens a real one.
        store_->writeValue(kMenuSubkey, "EDITOR", "true");
        a_.clockSeconds = [] { return int64_t{1700000000}; };
    }
    void TearDown() override {
        window_.reset();
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    static void write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Start-up and the shown, active window.
    void open(const std::string& positions) {
        write(makeInstallationPaths(root_.string()).positionFile, positions);
        ASSERT_EQ(startViewer(a_, root_.string(), *store_), StartupOutcome::Ready);
        window_ = std::make_unique<FrameWindow>(a_);
        window_->resize(900, 600);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window_->windowHandle(), k, modifiers);
    }
    QImage picture() const { return window_->backingImage().copy(); }
    QWidget* chart() const { return window_->centralWidget(); }

    fs::path root_;
    std::unique_ptr<QSettingsValueStore> store_;
    AppContext a_;
    std::unique_ptr<FrameWindow> window_;
};

TEST_F(ViewerWindow, KeysReachTheChartAndChangeStateAndPicture) {
    BoxAnswerer boxes;
    open(positionLine(1001, 1002) + positionLine(1003, 1004) + positionLine(1002, 1003));
    QComboBox* selector = window_->positionSelector();
    ASSERT_EQ(selector->count(), 3);
    EXPECT_TRUE(selector->itemText(0).startsWith(QStringLiteral("買 T1001 B1001 ")));
    EXPECT_TRUE(selector->itemText(0).contains(QStringLiteral("　　売 T1002 S1002 ")));
    EXPECT_EQ(window_->statusText(), QStringLiteral(" ひとこと"));
    // Neither creation nor showing wrote the placement that start-up has not restored yet.
    EXPECT_EQ(queryChartValue(*store_, kChartSubkey, "Size_SY"), "");

    QImage before = picture();
    key(Qt::Key_Down);
    EXPECT_EQ(a_.view.currentPosition, 1);
    EXPECT_EQ(selector->currentIndex(), 1);
    EXPECT_NE(picture(), before);

    // The chart switch redraws only the lower pane.
    before = picture();
    key(Qt::Key_Space);
    EXPECT_EQ(a_.settings.lowerPaneMode, 2);
    const int lowerTop = a_.chart.layout.lowerTitleTop;
    EXPECT_EQ(picture().copy(0, 0, before.width(), lowerTop),
              before.copy(0, 0, before.width(), lowerTop));
    EXPECT_NE(picture(), before);

    before = picture();
    key(Qt::Key_Left);
    const int32_t once = a_.view.scrollBack;
    EXPECT_GT(once, 0);
    EXPECT_NE(picture(), before);
    key(Qt::Key_Left, Qt::AltModifier);  // Alt+key is the plain key
    EXPECT_GT(a_.view.scrollBack, once);
    key(Qt::Key_K, Qt::AltModifier);  // not even a menu title's Alt+letter takes a key
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    key(Qt::Key_Delete);
    EXPECT_EQ(a_.view.weeklyBars, 1);

    // Backspace starts stepping (the button shows it) and steps at once; the next key stops it.
    QToolButton* autoStep = window_->toolbarButton(255);
    key(Qt::Key_Backspace);
    EXPECT_EQ(a_.view.autoStepActive, 1);
    EXPECT_TRUE(autoStep->isChecked());
    EXPECT_EQ(a_.view.currentPosition, 2);
    key(Qt::Key_Up);
    EXPECT_EQ(a_.view.autoStepActive, 0);
    EXPECT_FALSE(autoStep->isChecked());
    EXPECT_EQ(a_.view.currentPosition, 2);

    // Moves and sizes are recorded once the entry point allows it.
    window_->setPlacementRecording(true);
    window_->resize(820, 560);
    QTest::qWait(20);
    WindowPlacement placement;
    ASSERT_TRUE(parsePlacement(queryChartValue(*store_, kChartSubkey, "Size_SY"), placement));
    EXPECT_EQ(placement.right - placement.left, 820);
    EXPECT_EQ(placement.bottom - placement.top, 560);
    EXPECT_EQ(picture().width(), 820);

    key(Qt::Key_Escape);
    EXPECT_TRUE(window_->isClosed());
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(ViewerWindow, CursorFollowsTheMouseAndAClickJumpsToItsDate) {
    BoxAnswerer boxes;
    open(positionLine(1001, 1002));
    QTest::mouseClick(window_->toolbarButton(257), Qt::LeftButton);
    EXPECT_EQ(a_.view.cursorState, 1);
    EXPECT_TRUE(window_->toolbarButton(257)->isChecked());

    const QImage before = picture();
    const ChartLayout& l = a_.chart.layout;
    const QPoint at(l.plotLeft + 100, (l.pricePlotTop + l.pricePaneBottom) / 2);
    QTest::mouseMove(chart(), at);
    EXPECT_TRUE(QTest::qWaitFor([&] { return a_.view.cursorState == 2; }));
    EXPECT_NE(picture(), before);  // the inverted line
    // A click on the toolbar strip is the strip's, not the chart's.
    QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      chart()->mapTo(window_.get(), QPoint(650, 15)));
    EXPECT_EQ(a_.view.cursorState, 2);

    const int32_t bar = a_.view.cursorBar;
    QTest::mouseClick(chart(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(a_.view.cursorState, 0);
    EXPECT_FALSE(window_->toolbarButton(257)->isChecked());
    EXPECT_EQ(a_.view.scrollBack, a_.md.set.dateCount - 1 - bar);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(ViewerWindow, WithoutPositionsOnlyExitAndReloadStayUsable) {
    BoxAnswerer boxes;
    open("# nothing yet\n");
    EXPECT_EQ(a_.view.commandState, 0);
    for (int id : {251, 252, 253, 254, 255, 256, 257, 258, 260}) {
        EXPECT_FALSE(window_->toolbarButton(id)->isEnabled()) << id;
    }
    EXPECT_TRUE(window_->toolbarButton(250)->isEnabled());
    EXPECT_TRUE(window_->toolbarButton(259)->isEnabled());
    const QList<QAction*> bar = window_->menuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    EXPECT_TRUE(bar[0]->isEnabled());
    EXPECT_FALSE(bar[1]->isEnabled());
    EXPECT_FALSE(bar[2]->isEnabled());
    EXPECT_TRUE(bar[3]->isEnabled());

    // Timer 10 asks for positions once.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.texts.empty(); }));
    EXPECT_EQ(boxes.texts[0], "建て玉が設定されていませんので\n\n先に、建て玉を登録して下さい\n");

    key(Qt::Key_Down);
    EXPECT_EQ(a_.view.currentPosition, 0);
    key(Qt::Key_Escape);
    EXPECT_TRUE(window_->isClosed());
}

}  // namespace
}  // namespace zepa

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
