// Files that fail while the viewer runs: none may crash, hang, write a file or lose one.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDesktopServices>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <memory>
#include <random>

#include <QComboBox>

#include "app/window/frame_window.h"
#include "tests/app/viewer_fixture.h"
#include "tests/support/box_answerer.h"

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

struct Faults : Viewer {
    std::string db() const { return paths.dataDirectory + "/DBW.001"; }
    // The main window after start-up, shown and active, recording its placement.
    std::unique_ptr<FrameWindow> startShown(AppContext& c, std::string_view positions) {
        write(paths.positionFile, positions);
        EXPECT_EQ(startViewer(c, root.string(), store), StartupOutcome::Ready);
        auto window = std::make_unique<FrameWindow>(c);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->setPlacementRecording(true);
        return window;
    }
};

TEST_F(Faults, PriceFileLostAfterStartUpEndsTheRunAtTheNextReadAndWritesNothing) {
    fs::copy_file(db(), root / "DBW.kept");
    // As root, permissions stop no read: a pipe in its place does.
    for (const bool pipe : {false, true}) {
        SCOPED_TRACE(pipe ? "a pipe, read by a reload" : "deleted, read by a stepping tick");
        fs::copy_file(root / "DBW.kept", db(), fs::copy_options::overwrite_existing);
        BoxAnswerer boxes;
        AppContext c;
        auto window = startShown(
            c, positionLine(1001, 1002) + positionLine(1003, 1004) + positionLine(1005, 1006));
        c.settings.autoStepInterval = 1;  // a tick every 100 ms
        const auto before = store.values;
        if (!pipe) {
            QTest::keyClick(window->windowHandle(), Qt::Key_Backspace);  // steps once at once
        }
        fs::remove(db());
        if (pipe) {
            mkfifo(db().c_str(), 0600);
            QTest::mouseClick(window->toolbarButton(command::kReloadPositions), Qt::LeftButton);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->isClosed(); }));
        EXPECT_TRUE(window->endedByDataError() && !window->isVisible());
        EXPECT_FALSE(c.md.tablesAllocated);
        QTest::qWait(250);  // no tick or box comes after the end
        window.reset();
        EXPECT_EQ(boxes.texts, std::vector<std::string>{
                                   dataErrorMessage(DataError::OpenFailed, paths.dataDirectory)});
        EXPECT_EQ(store.values, before);
    }
}

TEST_F(Faults, PriceFileEmptiedOrRewrittenAfterStartUpReadsWithoutFault) {
    openThree();
    const auto build = [&] {
        a.view.currentPosition = 0;
        return rebuildSeries(a, shell);
    };
    const uintmax_t size = fs::file_size(db());
    // Emptied: no traded date is left, the build's own message, not a fatal error.
    fs::resize_file(db(), 0);
    EXPECT_FALSE(build());
    ASSERT_EQ(shell.captions(), std::vector<std::string>{"データの読み込み"});
    EXPECT_EQ(shell.messages[0].text, "データが登録されていません");

    // Rewritten with junk of the same size: whatever the old offsets hold is read and drawn.
    std::string bytes(size, '\0');
    std::mt19937 random(11);
    for (char& c : bytes) {
        c = static_cast<char>(random());
    }
    write(db(), bytes);
    EXPECT_TRUE(build());
    paint();
    EXPECT_TRUE(shell.fatal.empty());
}

TEST_F(Faults, EditorThatCannotStartHandsTheFileToTheDesktop) {
    DesktopStandIn desktop;
    BoxAnswerer boxes;
    AppContext c;
    // The position file is an executable script too: no editor value may get it run.
    const std::string positions =
        "#!/bin/sh\necho ran >" + (root / "ran").string() + "\n" + positionLine(1001, 1002);
    auto window = startShown(c, positions);
    fs::permissions(paths.positionFile, fs::perms::owner_all);
    for (const char* editor : {"/nonexistent/editor", "", "   ", "\"\"", "\"", "/"}) {
        SCOPED_TRACE(editor);
        store.set("MENU", "EDITOR", editor);
        desktop.opened.clear();
        onCommand(c, *window, command::kEditPositions);
        EXPECT_EQ(
            desktop.opened,
            std::vector<QUrl>{QUrl::fromLocalFile(QString::fromStdString(paths.positionFile))});
    }
    QTest::qWait(100);
    EXPECT_FALSE(fs::exists(root / "ran"));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(Faults, ValidLinesAmidTenMegabytesOfJunkGiveTheFirst5000) {
    // Junk with a NUL every 30 bytes is never a position; a reader that loses its place in it
    // (1 MB lines, lone CRs, NULs) takes the wrong numbered lines.
    std::mt19937 random(5);
    std::string text;
    for (int number = 0; number < 6000; ++number) {
        std::string piece(number % 2000 == 11 ? 1 << 20 : 1700, '\0');
        for (size_t i = 0; i < piece.size(); ++i) {
            piece[i] = i % 30 == 0 ? '\0' : static_cast<char>(random() % 255 + 1);
            piece[i] = piece[i] == '\x1A' || piece[i] == '\n' ? '\r' : piece[i];
        }
        char line[100];
        std::snprintf(line, sizeof line, "T1001    BUY       230301    %-9d T1002    SELL", number);
        text += piece + "\n" + line + "\n";
    }
    ASSERT_GT(text.size(), 10u << 20);
    BoxAnswerer boxes;
    AppContext c;
    auto window = startShown(c, text);
    ASSERT_EQ(c.positions.positionCount, kMaxPositions);
    EXPECT_EQ(window->positionSelector()->count(), kMaxPositions);
    for (int i : {0, 1, 2500, kMaxPositions - 1}) {
        EXPECT_EQ(c.positions.records[static_cast<size_t>(i)].buy.quantity, i);
    }
    EXPECT_TRUE(boxes.texts.empty());
}

}  // namespace
}  // namespace zepa::test

#include "failing_files_test.moc"
