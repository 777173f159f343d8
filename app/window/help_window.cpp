#include "app/window/help_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

#include <algorithm>

#include "platform/raster_surface.h"

namespace zepa {
namespace {

// Found again by name (and owner), so the one window needs no variable of its own.
constexpr const char* kHelpWindowName = "zepaHelpWindow";
constexpr const char* kOwnerProperty = "zepaHelpOwner";
constexpr int kHelpWidth = 640;
constexpr int kHelpHeight = 600;

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
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* browser = qobject_cast<QTextBrowser*>(widget);
            browser != nullptr && browser->objectName() == QLatin1String(kHelpWindowName) &&
            browser->property(kOwnerProperty).value<QObject*>() == owner) {
            return browser;
        }
    }
    return nullptr;
}

QTextBrowser* createHelpWindow(QWidget* owner) {
    // A window of its own, not a child of the chart window: a data window disables the chart
    // window and all its children while it is open, and the help must stay usable beside it.
    auto* browser = new QTextBrowser();
    browser->setObjectName(QLatin1String(kHelpWindowName));
    browser->setProperty(kOwnerProperty, QVariant::fromValue<QObject*>(owner));
    browser->setWindowTitle(QStringLiteral("さやチャート ヘルプ"));
    browser->setOpenExternalLinks(false);
    browser->resize(kHelpWidth, kHelpHeight);
    auto* close = new QAction(browser);
    close->setShortcut(Qt::Key_Escape);
    close->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(close, &QAction::triggered, browser, &QWidget::close);
    browser->addAction(close);
    if (owner == nullptr) {
        // Nothing would delete an unowned window: let closing it do so.
        browser->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        // It closes with the chart window; closing it alone only hides it for the next call.
        QPointer<QTextBrowser> guard(browser);
        QObject::connect(owner, &QObject::destroyed, [guard] { delete guard.data(); });
    }
    if (owner != nullptr) {
        const QScreen* screen = owner->screen();
        const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
        browser->move(helpWindowPosition(owner->frameGeometry(), browser->size(), available));
    }
    return browser;
}

}  // namespace

QPoint helpWindowPosition(const QRect& owner, const QSize& help, const QRect& available) {
    if (available.isEmpty()) {
        return QPoint(owner.right() + 1, owner.top());
    }
    const int top = std::clamp(owner.top(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - help.height()));
    // Right of the chart window, else left of it, else over its right edge as far right as
    // the screen lets it be: the chart's left side, its oldest dates, stays visible.
    if (int64_t{owner.right()} + 1 + help.width() <= int64_t{available.right()} + 1) {
        return QPoint(owner.right() + 1, top);
    }
    if (int64_t{owner.left()} - help.width() >= available.left()) {
        return QPoint(owner.left() - help.width(), top);
    }
    return QPoint(std::max(available.left(), available.right() + 1 - help.width()), top);
}

void showHelpWindow(QWidget* owner, int context, const QString& helpRoot) {
    registerIconResources();  // the compiled-in pages live beside the icons
    QTextBrowser* browser = findHelpWindow(owner);
    if (browser == nullptr) {
        browser = createHelpWindow(owner);
    }
    browser->setSource(helpPageUrl(context, helpRoot));
    browser->show();
    browser->raise();
    browser->activateWindow();
}

}  // namespace zepa
