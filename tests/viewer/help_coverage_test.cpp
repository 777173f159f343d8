// The help cannot fall behind the program: every menu entry (of the Qt window's menu bar and of
// the Windows program's menu resource) and every key of the key table is in the help pages.
#include <gtest/gtest.h>

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include "app/key_table.h"
#include "app/window/frame_window.h"
#include "platform/raster_surface.h"
#include "tests/app/viewer_fixture.h"
#include "tests/support/box_answerer.h"

namespace zepa::test {
namespace {

// "&E\t建玉ファイル編集" -> "建玉ファイル編集", "ファイル(&F)" -> "ファイル", "情報..." -> "情報",
// "検索...  Ctrl+F" -> "検索" (the key has a table of its own).
QString entryWords(QString text) {
    text = text.mid(text.indexOf(u'\t') + 1).remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    text.remove(QRegularExpression(QStringLiteral("\\s+Ctrl\\+\\S+$")));
    return text.remove(QRegularExpression(QStringLiteral("\\.+$"))).trimmed();
}

void collect(const QList<QAction*>& actions, QStringList& out) {
    for (const QAction* action : actions) {
        out << (action->isSeparator() ? QString() : entryWords(action->text()));
        if (action->menu() != nullptr) {
            collect(action->menu()->actions(), out);
        }
    }
}

QString page(const char* name) {
    registerIconResources();  // the compiled-in pages live beside the icons
    QFile file(QStringLiteral(":/help/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST_F(Viewer, EveryMenuEntryAndKeyIsInTheHelp) {
    BoxAnswerer boxes;
    write(paths.positionFile, positionLine(1001, 1002));
    ASSERT_EQ(startViewer(a, root.string(), store), StartupOutcome::Ready);
    FrameWindow window(a);
    QStringList entries;
    collect(window.menuBar()->actions(), entries);
    // The Windows program's menu resource, up to its END at the start of a line.
    QFile rc(QStringLiteral(ZEPA_WIN32_RESOURCES));
    ASSERT_TRUE(rc.open(QIODevice::ReadOnly));
    QString menu = QString::fromUtf8(rc.readAll());
    menu = menu.mid(menu.indexOf(QStringLiteral("ZEPA_MAIN_MENU MENU")));
    menu = menu.left(menu.indexOf(QRegularExpression(QStringLiteral("\\nEND\\s"))));
    const QRegularExpression entry(QStringLiteral("(?:POPUP|MENUITEM)\\s+\"([^\"]*)\""));
    for (auto it = entry.globalMatch(menu); it.hasNext();) {
        entries << entryWords(
            it.next().captured(1).replace(QStringLiteral("\\t"), QStringLiteral("\t")));
    }
    entries.removeAll(QString());  // the separators
    EXPECT_GE(entries.size(), 2 * 19);
    const QString help = page("index.html") + page("keys.html");
    for (const QString& e : entries) {
        EXPECT_TRUE(help.contains(e)) << e.toStdString();
    }
    for (const KeyBinding& k : kKeyTable) {
        const QString cell =
            QStringLiteral("<td>%1</td>").arg(QString::fromUtf8(k.name.data(), k.name.size()));
        EXPECT_TRUE(page("keys.html").contains(cell)) << cell.toStdString();
    }
}

}  // namespace
}  // namespace zepa::test
