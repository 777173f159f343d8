// The main window on a screen of device pixel ratio 2 (offscreen, QT_SCALE_FACTOR=2).
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <set>

#include "tests/viewer/viewer_window.h"

namespace zepa::test {
namespace {

using HiDpiWindow = ViewerWindow;

TEST_F(HiDpiWindow, OnARatioTwoScreenThePictureHasTheDevicePixelsAndTheCursorIsUnderTheMouse) {
    show(positionLine(1001, 1002), {700, 500});
    const qreal ratio = window->devicePixelRatioF();
    if (ratio != 2.0) {
        GTEST_SKIP() << "run with QT_SCALE_FACTOR=2 (ratio " << ratio << ")";
    }
    QWidget* chart = window->centralWidget();
    const QImage& image = window->backingImage();
    EXPECT_EQ(image.devicePixelRatio(), 2.0);
    EXPECT_EQ(image.width(), chart->width() * 2);

    QTest::mouseClick(window->toolbarButton(257), Qt::LeftButton);
    const QImage before = image.copy();
    const ChartLayout& l = a.chart.layout;
    const QPoint at(l.plotLeft + 101, (l.pricePlotTop + l.pricePaneBottom) / 2);
    // Straight to the chart, at an exact logical position.
    QMouseEvent move(QEvent::MouseMove, QPointF(at), chart->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(chart, &move);
    ASSERT_TRUE(QTest::qWaitFor([&] { return a.view.cursorState == 2; }));
    EXPECT_EQ(a.view.cursorLineX, at.x());
    // The inverted line: exactly the two device columns under the mouse's logical column.
    const QImage after = window->backingImage();
    std::set<int> columns;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (after.pixel(x, y) != before.pixel(x, y)) {
                EXPECT_EQ(after.pixel(x, y) & 0xFFFFFFu, ~before.pixel(x, y) & 0xFFFFFFu);
                columns.insert(x);
            }
        }
    }
    EXPECT_EQ(columns, (std::set<int>{2 * at.x(), 2 * at.x() + 1}));
}

}  // namespace
}  // namespace zepa::test
