// The data window on the offscreen platform: it opens over a disabled frame, scrolls by keys
// and closes by Esc, keeping its placement in the store.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QTest>

#include <array>

#include "app/window/data_window.h"
#include "settings/chart_values.h"
#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

TEST_F(Viewer, DataWindowOpensOverADisabledFrameScrollsAndClosesByEsc) {
    store.set(kChartSubkey, "ChildPos_SY1", "30,40,5,250");
    openThree();

    QWidget frame;
    frame.show();
    QPointer<DataWindow> window = openDataWindow(&frame, a, kStockDataKind);
    ASSERT_TRUE(window);
    EXPECT_FALSE(frame.isEnabled());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("株価データ"));
    const DataWindowState& s = window->state();
    EXPECT_EQ(s.rowCount, kDates);
    EXPECT_EQ(window->geometry(), QRect(30, 40, s.columnX[5] + 27, 250));
    EXPECT_FALSE(window->picture().isNull());

    QTest::keyClick(window, Qt::Key_End);  // keys move the bar, the bar moves the rows
    EXPECT_EQ(window->verticalBar()->value(), s.topRowMax);
    window->verticalBar()->setValue(3);
    EXPECT_EQ(s.topRow, 3);

    const int width = window->width();
    window->setGeometry(60, 70, width, 260);
    QTest::keyClick(window, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
    EXPECT_TRUE(frame.isEnabled());
    const std::string stored = queryChartValue(store, kChartSubkey, "ChildPos_SY1");
    std::array<int32_t, 4> v{};
    ASSERT_EQ(scanIntegerFields(stored, v), 4) << stored;
    EXPECT_EQ(v, (std::array<int32_t, 4>{60, 70, width, 260}));
}

}  // namespace
}  // namespace zepa::test
