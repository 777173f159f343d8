// Files that fail while the viewer runs: a price file lost, cut, grown or rewritten after
// start-up, an editor that cannot start, position files far beyond their limits. Each must
// cost nothing: no crash, no hang, no file written, nothing lost. The real main window runs
// on the offscreen platform where a case involves it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>

#include "app/window/frame_window.h"
#include "tests/app/viewer_fixture.h"
#include "tests/support/box_answerer.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {

// Stands in for the desktop's default application, so that no real one opens.
class DesktopStandIn : public QObject {
    Q_OBJECT
  public:
    DesktopStandIn() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~DesktopStandIn() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    std::vector<QUrl> opened;

  public Q_SLOTS:
    void open(const QUrl& url) { opened.push_back(url); }
};

namespace {

std::string readFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// A position line whose quantities carry its number.
std::string numberedLine(int number) {
    char line[100];
    std::snprintf(line, sizeof line, "T%-7d %-9s %-9s %-9d T%-7d %-9s %-9s %-9d\n", 1001, "BUY",
                  "230301", number, 1002, "SELL", "230301", number);
    return line;
}

// Random bytes without Ctrl+Z (which ends a text file), with line feeds only if asked.
std::string junk(std::mt19937& random, size_t size, bool lineFeeds) {
    std::string out(size, '\0');
    for (char& c : out) {
        do {
            c = static_cast<char>(random() & 0xFF);
        } while (c == '\x1A' || (!lineFeeds && c == '\n'));
    }
    return out;
}

struct Faults : Viewer {
    // The data file of the fixture, kept to put back between the rows of a case.
    std::string db() const { return paths.dataDirectory + "/DBW.001"; }
    void keepDb() { fs::copy_file(db(), root / "DBW.kept"); }
    void restoreDb() {
        fs::remove_all(db());
        fs::copy_file(root / "DBW.kept", db());
    }

    // Start-up on the given position file, as the entry point runs it.
    void startUp(AppContext& c, std::string_view positions) {
        write(paths.positionFile, positions);
        c.clockSeconds = [] { return int64_t{1700000000}; };
        ASSERT_EQ(startViewer(c, root.string(), store), StartupOutcome::Ready);
    }
    // The main window, shown and active, recording its placement as the entry point lets it.
    static std::unique_ptr<FrameWindow> shown(AppContext& c) {
        auto window = std::make_unique<FrameWindow>(c);
        window->resize(800, 600);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->setPlacementRecording(true);
        return window;
    }
};

TEST_F(Faults, PriceFileLostAfterStartUpEndsTheRunAtTheNextReadAndWritesNothing) {
    keepDb();
    enum class Read { AtCreation, NextPosition, SteppingTick, Reload };
    const std::string file = db();
    const struct {
        const char* name;
        std::function<void()> lose;
        Read read;
    } rows[] = {
        {"deleted", [&] { fs::remove(file); }, Read::NextPosition},
        {"deleted while stepping", [&] { fs::remove(file); }, Read::SteppingTick},
        // As root, permissions stop no read: a folder or a pipe in its place does.
        {"folder",
         [&] {
             fs::remove(file);
             fs::create_directory(file);
         },
         Read::Reload},
        {"pipe",
         [&] {
             fs::remove(file);
             mkfifo(file.c_str(), 0600);
         },
         Read::AtCreation},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        restoreDb();
        BoxAnswerer boxes;
        AppContext c;
        startUp(c, positionLine(1001, 1002) + positionLine(1003, 1004) + positionLine(1005, 1006));
        c.settings.autoStepInterval = 1;  // a tick every 100 ms
        std::unique_ptr<FrameWindow> window;
        decltype(store.values) before;
        if (row.read == Read::AtCreation) {
            row.lose();
            window = std::make_unique<FrameWindow>(c);
        } else {
            window = shown(c);
            before = store.values;
            if (row.read == Read::SteppingTick) {
                QTest::keyClick(window->windowHandle(), Qt::Key_Backspace);  // steps once at once
                ASSERT_EQ(c.view.currentPosition, 1);
            }
            row.lose();
            if (row.read == Read::NextPosition) {
                QTest::keyClick(window->windowHandle(), Qt::Key_Down);
            } else if (row.read == Read::Reload) {
                QTest::mouseClick(window->toolbarButton(command::kReloadPositions), Qt::LeftButton);
            }
            EXPECT_TRUE(QTest::qWaitFor([&] { return window->isClosed(); }));
        }
        EXPECT_EQ(boxes.texts, std::vector<std::string>{
                                   dataErrorMessage(DataError::OpenFailed, paths.dataDirectory)});
        EXPECT_TRUE(window->endedByDataError());
        EXPECT_TRUE(window->isClosed());
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(c.md.tablesAllocated);
        // No tick or box comes after the end.
        QTest::qWait(250);
        window.reset();
        EXPECT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(store.values, before);
    }
}

TEST_F(Faults, PriceFileCutGrownOrRewrittenAfterStartUpReadsWithoutFault) {
    keepDb();
    openThree();
    const std::vector<DayBar> buy = a.series.buyBars;
    const std::vector<DayBar> sell = a.series.sellBars;
    const auto closes = [](const std::vector<DayBar>& bars, size_t from, size_t to) {
        return column(bars, &DayBar::close, from, to);
    };
    const auto build = [&] {
        a.view.currentPosition = 0;
        return rebuildSeries(a, shell);
    };
    // Six stocks of 300 dates: the block of slot s starts at 4 + 16 * 6 + 3 * 300 + s * 6000.
    constexpr uintmax_t kSecondBlock = 1000 + 6000;
    std::mt19937 random(11);
    const uintmax_t size = fs::file_size(db());

    // Bytes added at the end lie past every block that start-up placed.
    std::ofstream(db(), std::ios::binary | std::ios::app) << junk(random, 1 << 20, true);
    ASSERT_TRUE(build());
    EXPECT_EQ(closes(a.series.buyBars, 0, kDates), closes(buy, 0, kDates));
    EXPECT_EQ(closes(a.series.sellBars, 0, kDates), closes(sell, 0, kDates));

    // Cut inside the sell leg's block: the records cut off read as days without trade.
    restoreDb();
    fs::resize_file(db(), kSecondBlock + 100 * kPriceRecordSize);
    ASSERT_TRUE(build());
    EXPECT_EQ(closes(a.series.buyBars, 0, kDates), closes(buy, 0, kDates));
    EXPECT_EQ(closes(a.series.sellBars, 0, 100), closes(sell, 0, 100));
    EXPECT_EQ(closes(a.series.sellBars, 100, kDates),
              std::vector<int32_t>(kDates - 100, sell[99].close));
    EXPECT_EQ(column(a.series.sellBars, &DayBar::volume, 100, kDates),
              std::vector<int32_t>(kDates - 100, 0));

    // Emptied: no traded date is left, which is the build's own message, not a fatal error.
    fs::resize_file(db(), 0);
    EXPECT_FALSE(build());
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "データが登録されていません");
    EXPECT_EQ(shell.messages[0].caption, "データの読み込み");

    // Rewritten with other contents of the same size: whatever prices the old offsets now
    // hold are read and drawn, and nothing undefined happens on the way.
    write(db(), junk(random, size, true));
    EXPECT_TRUE(build());
    paint();
    key(13);
    EXPECT_TRUE(shell.fatal.empty());
    EXPECT_FALSE(a.md.dataAborted);
}

TEST_F(Faults, EditorThatCannotStartHandsTheFileToTheDesktop) {
    DesktopStandIn desktop;
    BoxAnswerer boxes;
    AppContext c;
    // The position file is a script too, executable as every file on a disk formatted for
    // Windows is: no editor value may get it run.
    const std::string positions = "#!/bin/sh\n" + positionLine(1001, 1002);
    startUp(c, positions);
    fs::permissions(paths.positionFile, fs::perms::owner_all | fs::perms::group_read |
                                            fs::perms::group_exec | fs::perms::others_read |
                                            fs::perms::others_exec);
    auto window = shown(c);
    for (const char* editor : {"/nonexistent/editor", "", "   ", "\"\"", "\"", "/"}) {
        SCOPED_TRACE(editor);
        store.set("MENU", "EDITOR", editor);
        desktop.opened.clear();
        onCommand(c, *window, command::kEditPositions);
        EXPECT_EQ(
            desktop.opened,
            std::vector<QUrl>{QUrl::fromLocalFile(QString::fromStdString(paths.positionFile))});
    }
    EXPECT_EQ(readFile(paths.positionFile), positions);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(Faults, ValidLinesAmidTenMegabytesOfJunkGiveTheFirst5000) {
    // Junk with a NUL in every 30 bytes ends each of its lines and pieces before column 40, so
    // none of it is a position: only the 6,000 numbered lines are, and a reader that loses its
    // place in the junk (long lines, lone CRs, NULs) takes the wrong ones.
    std::mt19937 random(5);
    std::string text;
    for (int number = 0; number < 6000; ++number) {
        std::string piece = junk(random, number % 2000 == 11 ? 1 << 20 : 1700, number % 2 == 0);
        for (size_t i = 0; i < piece.size(); i += 30) {
            piece[i] = '\0';
        }
        text += piece + "\n" + numberedLine(number);
    }
    ASSERT_GT(text.size(), 10u << 20);
    write(paths.positionFile, text);
    PositionTable table;
    ASSERT_EQ(readPositionFile(paths.positionFile, table, nullptr), kMaxPositions);
    std::vector<int32_t> numbers(kMaxPositions);
    std::iota(numbers.begin(), numbers.end(), 0);
    EXPECT_EQ(column(
                  table.records, [](const PositionRecord& r) { return r.sell.quantity; }, 0,
                  kMaxPositions),
              numbers);

    // The viewer at start-up on that file, then re-reading plain junk, much of which reads as
    // positions of unknown stocks with names that are no text.
    BoxAnswerer boxes;
    AppContext c;
    startUp(c, text);
    auto window = shown(c);
    EXPECT_EQ(c.positions.positionCount, kMaxPositions);
    EXPECT_EQ(window->positionSelector()->count(), kMaxPositions);
    EXPECT_TRUE(boxes.texts.empty());

    write(paths.positionFile, junk(random, 10 << 20, true));
    QTest::mouseClick(window->toolbarButton(command::kReloadPositions), Qt::LeftButton);
    EXPECT_GT(c.positions.positionCount, 0);
    EXPECT_LE(c.positions.positionCount, kMaxPositions);
    EXPECT_EQ(window->positionSelector()->count(), c.positions.positionCount);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"指定銘柄は登録されていません"});
    EXPECT_FALSE(window->endedByDataError());
}

}  // namespace
}  // namespace zepa::test

#include "failing_files_test.moc"
