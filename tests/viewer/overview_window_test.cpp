// The 建玉一覧 window offscreen.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTableWidget>
#include <QTest>

#include "app/overview/overview_table.h"
#include "app/window/overview_window.h"
#include "app/window/qt_values.h"
#include "tests/viewer/viewer_window.h"

namespace zepa::test {
namespace {

struct OverviewWindowTest : ViewerWindow {
    void SetUp() override {
        Viewer::SetUp();
        store.set(kChartSubkey, "DeadlineDays", "366");  // every position calls 期日
        show(positionLine(1001, 1002) + positionLine(1004, 1003) + positionLine(1001, 4321));
    }
    OverviewWindow* overview() { return window->findChild<OverviewWindow*>(); }
};

TEST_F(OverviewWindowTest, CtrlLShowsEveryPositionSortsAndEnterShowsTheRow) {
    // The figures follow the load once its chart is up.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->signalSummary().isEmpty(); }, 5000));
    EXPECT_TRUE(window->signalSummary().endsWith(QString::fromUtf8("期日 2 — 建玉一覧 (Ctrl+L)")))
        << window->signalSummary().toStdString();

    QTest::keyClick(window->windowHandle(), Qt::Key_L, Qt::ControlModifier);
    OverviewWindow* w = overview();
    ASSERT_NE(w, nullptr);
    QTableWidget* grid = w->grid();
    ASSERT_EQ(grid->rowCount(), 4);  // three positions and the totals
    ASSERT_EQ(grid->columnCount(), kOverviewColumnCount);
    EXPECT_EQ(grid->horizontalHeaderItem(6)->text(), QString::fromUtf8("損益"));
    EXPECT_EQ(grid->item(3, 0)->text(), QString::fromUtf8("合計"));

    // 1004/1003 loses (1003 rises by twice as much): its profit in the falling colour.
    const QColor loss = qColorOf(a.colors.colors[kOverviewLossColor]);
    const int profit = static_cast<int>(OverviewColumn::Profit);
    ASSERT_LT(a.overview.rows[1].profit.value_or(0), 0);
    EXPECT_EQ(grid->item(1, profit)->foreground().color(), loss);
    EXPECT_NE(grid->item(0, profit)->foreground().color(), loss);

    // Ascending by profit: the loss first, the row without figures last.
    grid->horizontalHeader()->sectionClicked(profit);
    EXPECT_EQ(grid->item(0, 0)->text().left(5), QStringLiteral("T1004"));
    EXPECT_EQ(grid->item(2, 1)->text().left(5), QStringLiteral("T4321"));
    grid->horizontalHeader()->sectionClicked(profit);  // descending: still last
    EXPECT_EQ(grid->item(2, 1)->text().left(5), QStringLiteral("T4321"));
    EXPECT_EQ(grid->item(1, 0)->text().left(5), QStringLiteral("T1004"));

    grid->selectRow(1);
    QTest::keyClick(w, Qt::Key_Return);
    EXPECT_EQ(a.view.currentPosition, 1);
    QTest::keyClick(w, Qt::Key_Up);
    QTest::keyClick(w, Qt::Key_Enter);
    EXPECT_EQ(a.view.currentPosition, 0);
}

}  // namespace
}  // namespace zepa::test
