// The ペア検索 window offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "app/window/backtest_window.h"
#include "app/window/pair_search_window.h"
#include "app/window/position_dialogs.h"
#include "base/codepage.h"
#include "chart/info_panel.h"
#include "tests/app/reverting_market.h"
#include "tests/viewer/viewer_window.h"

namespace zepa::test {
namespace {

// On the reverting market alone, in place of the viewer fixture's prices.
struct PairSearchWindowTest : ViewerWindow {
    void SetUp() override {
        writeRevertingMarket(*this, 300);
        show(positionLine(1003, 1004) + positionLine(1004, 1003));
    }
    std::string title() { return utf8FromCp932(headerLineText(chartContext(a))); }
};

TEST_F(PairSearchWindowTest, CtrlFOpensItAndAScreenShowsItsFirstPairAsACandidate) {
    QTest::keyClick(window->windowHandle(), Qt::Key_F, Qt::ControlModifier);
    auto* search = qobject_cast<PairSearchWindow*>(window->pairSearchWindow());
    ASSERT_NE(search, nullptr);
    EXPECT_FALSE(search->isModal());
    search->backtestBox()->setChecked(true);

    // Enter in a settings field runs the screen (検索 is the default button); a second 検索
    // cancels the first.
    search->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(search));
    QWidget* field = search->focusWidget();
    ASSERT_NE(field, nullptr);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(search->searching());
    search->startSearch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search->searching(); }, 30000));
    QTableWidget* table = search->table();
    ASSERT_EQ(table->rowCount(), 1) << search->funnelLabel()->text().toStdString();
    EXPECT_TRUE(search->funnelLabel()->text().startsWith(QStringLiteral("4銘柄 → 6組")));
    EXPECT_EQ(table->currentRow(), 0);
    // The settings were stored, 検証 with them.
    EXPECT_EQ(splitSettingFields(*store.find(kChartSubkey, "PairScreen"))[16], "1");

    ASSERT_TRUE(a.candidate.shown);
    EXPECT_EQ(title().rfind("候補 ", 0), 0u) << title();
    const int32_t buy = a.series.buyStockCode;
    const int32_t quantity = a.candidate.record.buy.quantity;
    EXPECT_TRUE(buy == 1001 || buy == 1002);
    EXPECT_TRUE(a.shownBacktest.valid);
    EXPECT_FALSE(a.shownBacktest.marks.empty());

    // 検証データ表示 lists the trades of what the chart shows, and follows the chart.
    window->openBacktestWindow();
    auto* trades = window->findChild<BacktestWindow*>();
    ASSERT_NE(trades, nullptr);
    EXPECT_EQ(trades->table()->rowCount(), static_cast<int>(a.shownBacktest.trades.size()));
    EXPECT_TRUE(trades->statsLabel()->text().startsWith(QStringLiteral("取引 ")));
    EXPECT_TRUE(trades->windowTitle().startsWith(QStringLiteral("検証  買 T%1 ").arg(buy)))
        << trades->windowTitle().toStdString();
    QTest::keyClick(trades, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().count(QLatin1Char('\n')),
              static_cast<int>(a.shownBacktest.trades.size()) + 1);

    // Down on the main window goes to the held positions; チャートに表示 brings the pair back.
    QTest::keyClick(window->windowHandle(), Qt::Key_Down);
    EXPECT_TRUE(QTest::qWaitFor([&] { return trades->table()->rowCount() == 0; }, 3000));
    EXPECT_FALSE(a.candidate.shown);
    EXPECT_EQ(a.series.buyStockCode, 1004);
    search->showSelected();
    EXPECT_EQ(a.series.buyStockCode, buy);

    // Header clicks sort; Ctrl+C copies the table; Ctrl+S saves it as CSV.
    QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(table->horizontalHeader()->sectionViewportPosition(5) + 5, 5));
    EXPECT_EQ(search->results().sortColumn, PairColumn::Correlation);
    QTest::keyClick(search, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("買い\t買い銘柄名")));
    const std::string saved = (root / "pairs.csv").string();
    QString proposed;
    search->setSaveChooser([&](const QString& name) {
        proposed = name;
        return QString::fromStdString(saved);
    });
    QTest::keyClick(search, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readText(saved).substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_TRUE(proposed.startsWith(QStringLiteral("ペア検索_20"))) << proposed.toStdString();
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_TRUE(search->amountsLabel()->text().startsWith(QStringLiteral("金額　買い ")));

    // 建玉に追加: the add dialog holds the pair; its write adds the position and shows it.
    search->setPositionDialogRunner([&](PositionDialog& dialog) {
        EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.control(position_dialog::kBuyQuantity))->text(),
                  QString::number(quantity));
        dialog.press(position_dialog::kOk);
    });
    search->addSelectedAsPosition();
    EXPECT_EQ(a.positions.positionCount, 3);
    EXPECT_FALSE(a.candidate.shown);
    EXPECT_EQ(a.series.buyStockCode, buy);
    EXPECT_EQ(a.positions.records[2].buy.stockCode, buy);

    search->close();
    window->close();
}

// A field out of range is refused by name and nothing runs; neither a refusal nor 中止 leaves
// the last table under settings it was not made with.
TEST_F(PairSearchWindowTest, RefusedAndCancelledRunsLeaveNoOldTable) {
    window->openPairSearch();
    auto* search = qobject_cast<PairSearchWindow*>(window->pairSearchWindow());
    ASSERT_NE(search, nullptr);
    search->startSearch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search->searching(); }, 30000));
    ASSERT_EQ(search->table()->rowCount(), 1);

    auto* days = qobject_cast<QSpinBox*>(search->fieldBox(PairField::Days));
    ASSERT_NE(days, nullptr);
    days->setValue(10);
    search->startSearch();
    EXPECT_FALSE(search->searching());
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"期間は 20〜1500 の整数にして下さい"});
    EXPECT_EQ(search->table()->rowCount(), 0);
    EXPECT_EQ(search->funnelLabel()->text(),
              QString::fromUtf8("期間は 20〜1500 の整数にして下さい"));
    // Nothing of the refused settings was stored.
    EXPECT_NE(splitSettingFields(*store.find(kChartSubkey, "PairScreen"))[0], "10");

    days->setValue(250);
    search->startSearch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search->searching(); }, 30000));
    ASSERT_EQ(search->table()->rowCount(), 1);
    search->startSearch();
    search->cancelSearch();
    EXPECT_FALSE(search->searching());
    EXPECT_EQ(search->table()->rowCount(), 0);
    EXPECT_EQ(search->funnelLabel()->text(), QString::fromUtf8("中止しました"));

    // The choices are kept for the next opening, searched with or not.
    search->backtestBox()->setChecked(true);
    search->close();
    EXPECT_EQ(splitSettingFields(*store.find(kChartSubkey, "PairScreen"))[16], "1");
    // ... also when the program ends with the window open.
    window->openPairSearch();
    search->backtestBox()->setChecked(false);
    window->close();
    EXPECT_EQ(splitSettingFields(*store.find(kChartSubkey, "PairScreen"))[16], "0");
}

}  // namespace
}  // namespace zepa::test
