// The help cannot fall behind the program: every menu entry (of the Qt window's menu bar and of
// the Windows program's menu resource) and every key of the key table is in the help pages.
#include <gtest/gtest.h>

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include <memory>

#include "app/key_table.h"
#include "app/window/frame_window.h"
#include "platform/raster_surface.h"
#include "tests/app/viewer_fixture.h"
#include "tests/support/box_answerer.h"

namespace zepa::test {
namespace {

// The words of a menu entry: "&E\t建玉ファイル編集" -> "建玉ファイル編集", "ファイル(&F)" ->
// "ファイル", "バージョン情報..." -> "バージョン情報".
QString entryWords(QString text) {
    if (const qsizetype tab = text.indexOf(u'\t'); tab >= 0) {
        text = text.mid(tab + 1);
    }
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
    text.remove(u'&');
    while (text.endsWith(u'.')) {
        text.chop(1);
    }
    return text.trimmed();
}

void collect(const QList<QAction*>& actions, QStringList& out) {
    for (const QAction* action : actions) {
        if (action->isSeparator()) {
            continue;
        }
        out << entryWords(action->text());
        if (const QMenu* menu = action->menu()) {
            collect(menu->actions(), out);
        }
    }
}

QString page(const char* name) {
    registerIconResources();  // the compiled-in pages live beside the icons
    QFile file(QStringLiteral(":/help/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

TEST_F(Viewer, EveryMenuEntryOfTheWindowIsInTheHelp) {
    BoxAnswerer boxes;
    write(paths.positionFile, positionLine(1001, 1002));
    ASSERT_EQ(startViewer(a, root.string(), store), StartupOutcome::Ready);
    auto window = std::make_unique<FrameWindow>(a);
    QStringList entries;
    collect(window->menuBar()->actions(), entries);
    ASSERT_GE(entries.size(), 15);
    const QString help = page("index.html") + page("keys.html");
    for (const QString& entry : entries) {
        EXPECT_TRUE(help.contains(entry)) << entry.toStdString();
    }
}

TEST(HelpCoverage, EveryMenuEntryOfTheWindowsProgramIsInTheHelp) {
    QFile rc(QStringLiteral(ZEPA_WIN32_RESOURCES));
    ASSERT_TRUE(rc.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(rc.readAll());
    // The menu resource, up to its closing END at the start of a line.
    const qsizetype start = text.indexOf(QStringLiteral("ZEPA_MAIN_MENU MENU"));
    ASSERT_GE(start, 0);
    const QRegularExpression end(QStringLiteral("\\nEND\\r?\\n"));
    const QString menu = text.mid(start, end.match(text, start).capturedStart() - start);
    const QRegularExpression entry(QStringLiteral("(?:POPUP|MENUITEM)\\s+\"([^\"]*)\""));
    const QString help = page("index.html") + page("keys.html");
    int entries = 0;
    for (auto it = entry.globalMatch(menu); it.hasNext(); ++entries) {
        const QString words =
            entryWords(it.next().captured(1).replace(QStringLiteral("\\t"), QStringLiteral("\t")));
        EXPECT_TRUE(help.contains(words)) << words.toStdString();
    }
    EXPECT_GE(entries, 15);
}

TEST(HelpCoverage, EveryKeyOfTheKeyTableHasItsRowInTheKeyHelp) {
    const QString keys = page("keys.html");
    for (const KeyBinding& k : kKeyTable) {
        const QString cell =
            QStringLiteral("<td>") +
            QString::fromUtf8(k.name.data(), static_cast<qsizetype>(k.name.size())) +
            QStringLiteral("</td>");
        EXPECT_TRUE(keys.contains(cell)) << cell.toStdString();
    }
}

}  // namespace
}  // namespace zepa::test
