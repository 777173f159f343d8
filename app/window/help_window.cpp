#include "app/window/help_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

#include "platform/raster_surface.h"

namespace zepa {
namespace {

// Found again by name, so the one window needs no variable of its own.
constexpr const char* kHelpWindowName = "zepaHelpWindow";

QUrl helpPageUrl(int context, const QString& helpRoot) {
    const QString page =
        context == kKeyHelpContext ? QStringLiteral("keys.html") : QStringLiteral("index.html");
    if (!helpRoot.isEmpty()) {
        const QDir root(helpRoot);
        if (QFileInfo(root.filePath(QStringLiteral("index.html"))).isFile()) {
            // An installed help folder without the key page still shows its own main page.
            const QString path = QFileInfo(root.filePath(page)).isFile()
                                     ? root.filePath(page)
                                     : root.filePath(QStringLiteral("index.html"));
            return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
        }
    }
    return QUrl(QStringLiteral("qrc:/help/") + page);
}

QTextBrowser* findHelpWindow(QWidget* owner) {
    if (owner != nullptr) {
        return owner->findChild<QTextBrowser*>(QLatin1String(kHelpWindowName),
                                               Qt::FindDirectChildrenOnly);
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* browser = qobject_cast<QTextBrowser*>(widget);
            browser != nullptr && browser->objectName() == QLatin1String(kHelpWindowName)) {
            return browser;
        }
    }
    return nullptr;
}

}  // namespace

void showHelpWindow(QWidget* owner, int context, const QString& helpRoot) {
    registerIconResources();  // the compiled-in pages live beside the icons
    QTextBrowser* browser = findHelpWindow(owner);
    if (browser == nullptr) {
        // A top-level window owned by the chart window: it closes with it, and closing the
        // help only hides it for the next call.
        browser = new QTextBrowser(owner);
        browser->setWindowFlags(Qt::Window);
        browser->setObjectName(QLatin1String(kHelpWindowName));
        browser->setWindowTitle(QStringLiteral("さやチャート ヘルプ"));
        browser->setOpenExternalLinks(false);
        browser->resize(640, 600);
        if (owner == nullptr) {
            // Nothing would delete an unowned window: let closing it do so.
            browser->setAttribute(Qt::WA_DeleteOnClose);
        }
    }
    browser->setSource(helpPageUrl(context, helpRoot));
    browser->show();
    browser->raise();
    browser->activateWindow();
}

}  // namespace zepa
