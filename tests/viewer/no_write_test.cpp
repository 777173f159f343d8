// The viewer only reads its installation: a whole session of the real window, and the real
// program from start to its first chart, leave every file and folder under the drive root as it
// was; the per-user settings file is where its writes go.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "app/window/data_window.h"
#include "app/window/frame_window.h"
#include "platform/qsettings_value_store.h"
#include "settings/chart_values.h"
#include "tests/support/box_answerer.h"
#include "tests/support/temp_installation.h"
#include "tools/demo/demo_installation.h"

namespace zepa::test {
namespace {

// What a write would change: for files the bytes and the time stamp, for folders the time
// stamp too, which moves when an entry is created, renamed or removed, even briefly.
struct Entry {
    bool folder = false;
    uintmax_t size = 0;
    uint64_t hash = 0;
    fs::file_time_type modified;
    bool operator==(const Entry&) const = default;
};

uint64_t fnv1a(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    uint64_t h = 0xcbf29ce484222325ull;
    for (char c; in.get(c);) {
        h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    }
    return h;
}

std::map<std::string, Entry> snapshot(const fs::path& root) {
    std::map<std::string, Entry> out;
    out["."] = Entry{true, 0, 0, fs::last_write_time(root)};
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        Entry entry{e.is_directory(), 0, 0, e.last_write_time()};
        if (!entry.folder) {
            entry.size = e.file_size();
            entry.hash = fnv1a(e.path());
        }
        out[fs::relative(e.path(), root).string()] = entry;
    }
    return out;
}

// Every path whose entry differs, appeared or vanished.
std::vector<std::string> differences(const std::map<std::string, Entry>& before,
                                     const std::map<std::string, Entry>& after) {
    std::vector<std::string> out;
    for (const auto& [path, entry] : before) {
        const auto it = after.find(path);
        if (it == after.end()) {
            out.push_back("vanished: " + path);
        } else if (!(it->second == entry)) {
            out.push_back("changed: " + path);
        }
    }
    for (const auto& [path, entry] : after) {
        if (!before.contains(path)) {
            out.push_back("appeared: " + path);
        }
    }
    return out;
}

// The drive root with a demo installation, and a settings folder beside it, outside it.
struct NoWrite : ::testing::Test {
    void SetUp() override {
        fs::create_directories(config);
        ASSERT_EQ(writeDemoInstallation(drive.string(), kDefaultDemoSeed, false).result,
                  DemoWriteResult::Written);
        before = snapshot(drive);
    }
    // The settings values a run left in the file, read afresh.
    static std::string storedSayaMode(const fs::path& ini) {
        QSettingsValueStore store(ini.string());
        return queryChartValue(store, kChartSubkey, "SayaMode");
    }

    TempInstallation scratch{false};
    fs::path drive = scratch.root / "drive";
    fs::path config = scratch.root / "config";
    std::map<std::string, Entry> before;
};

TEST_F(NoWrite, AWholeSessionOfTheWindowOnlyWritesItsSettings) {
    const fs::path ini = config / "settings.ini";
    QSettingsValueStore store(ini.string());
    // An editor that does nothing, should anything ask for one.
    store.writeValue(kMenuSubkey, "EDITOR", "true");
    AppContext a;
    ASSERT_EQ(startViewer(a, drive.string(), store), StartupOutcome::Ready);
    BoxAnswerer boxes;
    auto window = std::make_unique<FrameWindow>(a);
    window->resize(900, 600);
    window->setPlacementRecording(true);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const auto activate = [&] {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    };
    activate();
    const auto key = [&](Qt::Key k) { QTest::keyClick(window->windowHandle(), k); };
    const int32_t count = a.positions.positionCount;
    ASSERT_GT(count, 1);

    // Every position daily, then back through every one weekly; every lower pane; scrolling.
    for (int32_t i = 1; i < count; ++i) {
        key(Qt::Key_Down);
    }
    EXPECT_EQ(a.view.currentPosition, count - 1);
    key(Qt::Key_Delete);
    for (int32_t i = 1; i < count; ++i) {
        key(Qt::Key_Up);
    }
    EXPECT_EQ(a.view.currentPosition, 0);
    EXPECT_EQ(a.view.weeklyBars, 1);
    for (Qt::Key k : {Qt::Key_Space, Qt::Key_Space, Qt::Key_Space, Qt::Key_Left, Qt::Key_Left,
                      Qt::Key_Right, Qt::Key_Delete}) {
        key(k);
    }

    // Both data windows, by a double click on their pane, each closed by Esc.
    const ChartLayout& l = a.chart.layout;
    const int x = (l.pricePaneLeft + l.pricePaneRight) / 2;
    for (int y :
         {(l.pricePaneTop + l.pricePaneBottom) / 2, (l.lowerTitleTop + l.lowerPaneBottom) / 2}) {
        QTest::mouseDClick(window->centralWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
        const auto opened = window->findChildren<DataWindow*>();
        ASSERT_EQ(opened.size(), 1) << "no data window at y " << y;
        ASSERT_TRUE(QTest::qWaitForWindowActive(opened[0]));
        QTest::keyClick(opened[0]->windowHandle(), Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window->findChildren<DataWindow*>().isEmpty());
        activate();
    }

    QTest::mouseClick(window->toolbarButton(command::kReloadPositions), Qt::LeftButton);
    EXPECT_EQ(a.positions.positionCount, count);
    activate();
    key(Qt::Key_Escape);
    EXPECT_TRUE(window->isClosed());
    window.reset();
    shutDownViewer(a);

    EXPECT_EQ(boxes.texts, std::vector<std::string>{});
    EXPECT_EQ(differences(before, snapshot(drive)), std::vector<std::string>{});
    EXPECT_NE(storedSayaMode(ini), "");
}

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
    // Not a time limit on the program: it keeps a program stuck in a message box from
    // outliving the test.
    if (!viewer.waitForFinished(120000)) {
        viewer.kill();
        viewer.waitForFinished();
        FAIL() << "the viewer did not exit after its first chart: "
               << viewer.readAllStandardError().toStdString();
    }
    EXPECT_EQ(viewer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(viewer.exitCode(), 0) << viewer.readAllStandardError().toStdString();
    EXPECT_EQ(differences(before, snapshot(drive)), std::vector<std::string>{});
    EXPECT_NE(storedSayaMode(ini), "");
}

}  // namespace
}  // namespace zepa::test
