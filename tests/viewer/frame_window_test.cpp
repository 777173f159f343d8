#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QTest>
#include <QToolButton>

#include <fstream>
#include <sstream>

#include "platform/qsettings_value_store.h"
#include "tests/viewer/viewer_window.h"
#include "tools/demo/demo_installation.h"

namespace zepa::test {
namespace {

TEST_F(ViewerWindow, KeysReachTheChartAndChangeStateAndPicture) {
    const auto key = [&](Qt::Key k) { QTest::keyClick(window->windowHandle(), k); };
    const auto picture = [&] { return window->backingImage().copy(); };
    show(positionLine(1001, 1002) + positionLine(1003, 1004) + positionLine(1002, 1003));
    QComboBox* selector = window->positionSelector();
    EXPECT_EQ(selector->itemText(0), QStringLiteral("買 T1001 BUY　 　　売 T1002 SELL　"));
    // Showing must not write the placement that start-up has not restored yet.
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "Size_SY"), "");

    QImage before = picture();
    key(Qt::Key_Down);
    EXPECT_EQ(selector->currentIndex(), 1);
    EXPECT_NE(picture(), before);
    before = picture();
    key(Qt::Key_Space);  // redraws only the lower pane
    const int lowerTop = a.chart.layout.lowerTitleTop;
    EXPECT_EQ(picture().copy(0, 0, before.width(), lowerTop),
              before.copy(0, 0, before.width(), lowerTop));
    EXPECT_NE(picture(), before);

    QToolButton* autoStep = window->toolbarButton(255);
    key(Qt::Key_Backspace);
    EXPECT_TRUE(autoStep->isChecked());
    EXPECT_EQ(a.view.currentPosition, 2);
    key(Qt::Key_Up);
    EXPECT_FALSE(autoStep->isChecked());
    EXPECT_EQ(a.view.currentPosition, 2);

    // A double click on the price pane opens its data window; Esc closes it.
    const ChartLayout& l = a.chart.layout;
    QTest::mouseDClick(window->centralWidget(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(l.plotLeft + 50, (l.pricePlotTop + l.pricePaneBottom) / 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() != window.get(); }));
    QTest::keyClick(QApplication::activeWindow()->windowHandle(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window.get(); }));

    key(Qt::Key_Escape);
    EXPECT_TRUE(window->isClosed() && !window->isVisible());
    EXPECT_TRUE(boxes.texts.empty());
}

// Every entry under root, with its time stamp and, for a file, its bytes.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> out{
        {".", std::to_string(fs::last_write_time(root).time_since_epoch().count())}};
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        std::ostringstream entry;
        entry << e.last_write_time().time_since_epoch().count() << ':';
        if (e.is_regular_file()) {
            entry << std::ifstream(e.path(), std::ios::binary).rdbuf();
        }
        out[fs::relative(e.path(), root).string()] = entry.str();
    }
    return out;
}

// A demo installation in a drive root; nothing under it may change, appear or vanish (a session's
// keys write nothing: the program's start, first chart and end are what may).
struct NoWrite : ::testing::Test {
    void SetUp() override {
        ASSERT_EQ(writeDemoInstallation(drive.string(), kDefaultDemoSeed, false).result,
                  DemoWriteResult::Written);
        before = snapshot(drive);
    }
    std::vector<std::string> changed() const {
        const auto after = snapshot(drive);
        std::vector<std::string> out;
        for (const auto& [path, entry] : after) {
            if (!before.contains(path) || before.at(path) != entry) {
                out.push_back(path);
            }
        }
        if (after.size() != before.size()) {
            out.push_back("(an entry vanished)");
        }
        return out;
    }
    TempInstallation scratch{false};
    fs::path drive = scratch.root / "drive", config = scratch.root / "config";
    std::map<std::string, std::string> before;
};

TEST_F(NoWrite, TheProgramStartedInTheDriveRootOnlyWritesItsSettings) {
    const fs::path ini = config / "VORNEK" / "ZEPA_CHART.ini";
    QSettingsValueStore(ini.string()).writeValue(kMenuSubkey, "EDITOR", "true");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.string()));
    env.insert("ZEPA_SPW_EXIT_AFTER_FIRST_PAINT", "1");
    QProcess viewer;
    viewer.setProcessEnvironment(env);
    viewer.setWorkingDirectory(QString::fromStdString(drive.string()));
    viewer.start(QStringLiteral(ZEPA_SPW_PROGRAM), {});
    // Not a time limit: it keeps a program stuck in a message box from outliving the test.
    if (!viewer.waitForFinished(120000)) {
        viewer.kill();
        viewer.waitForFinished();
        FAIL() << "no exit after the first chart: " << viewer.readAllStandardError().toStdString();
    }
    EXPECT_EQ(viewer.exitCode(), 0) << viewer.readAllStandardError().toStdString();
    EXPECT_EQ(changed(), std::vector<std::string>{});
    QSettingsValueStore saved(ini.string());
    EXPECT_NE(queryChartValue(saved, kChartSubkey, "SayaMode"), "");
}

}  // namespace
}  // namespace zepa::test
