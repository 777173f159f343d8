#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

#include <memory>

#include "app/window/help_window.h"

namespace zepa {
namespace {

TEST(HelpWindow, OpensBesideTheOwnerOnTheScreen) {
    const QRect screen(0, 0, 1920, 1080);
    const QSize help(640, 600);
    const struct {
        const char* what;
        QRect owner;
        QPoint expected;
    } cases[] = {
        {"room on the right", QRect(100, 50, 800, 600), QPoint(900, 50)},
        {"room only on the left", QRect(1000, 50, 900, 600), QPoint(360, 50)},
        {"no room either side: over the owner's right edge", QRect(200, 50, 1600, 900),
         QPoint(1280, 50)},
        {"owner low on the screen: the help's top kept on it", QRect(100, 900, 800, 150),
         QPoint(900, 480)},
        {"owner above the screen", QRect(100, -300, 800, 600), QPoint(900, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(helpWindowPosition(c.owner, help, screen), c.expected);
    }
}

QTextBrowser* helpWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* browser = qobject_cast<QTextBrowser*>(w)) {
            return browser;
        }
    }
    return nullptr;
}

TEST(HelpWindow, StaysUsableWhileTheOwnerIsDisabledClosesWithEscAndGoesWithTheOwner) {
    auto owner = std::make_unique<QWidget>();
    owner->setGeometry(40, 40, 400, 300);
    owner->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(owner.get()));
    showHelpWindow(owner.get(), kKeyHelpContext, QString());
    QTextBrowser* help = helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->pos(), helpWindowPosition(owner->frameGeometry(), help->size(),
                                              owner->screen()->availableGeometry()));

    owner->setEnabled(false);  // as a data window does
    EXPECT_TRUE(help->isEnabled());

    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    help->activateWindow();
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());

    showHelpWindow(owner.get(), kMainHelpContext, QString());
    EXPECT_EQ(helpWindow(), help);  // the same window again
    owner.reset();
    EXPECT_EQ(helpWindow(), nullptr);
}

}  // namespace
}  // namespace zepa
