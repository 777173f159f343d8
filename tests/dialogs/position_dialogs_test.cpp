#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "app/startup.h"
#include "app/window/closed_trades_window.h"
#include "app/window/position_dialogs.h"
#include "base/codepage.h"
#include "positions/closed_trades.h"
#include "settings/memory_value_store.h"
#include "tests/support/temp_installation.h"

namespace zepa {
namespace {

using namespace position_dialog;

class PositionDialogs : public ::testing::Test, public test::TempInstallation {
  protected:
    void SetUp() override {
        std::vector<int32_t> a(20, 1000);
        std::vector<int32_t> b(20, 400);
        writeDb("DBW.001", test::dbw(test::weekdays(2025, 3, 3, 20),
                                     {test::stock(test::tokyo(1111), "ALPHA", a),
                                      test::stock(test::tokyo(2222), "BETA", b)}));
        writeText(
            paths.positionFile,
            "# mine\nT1111    ALPHA     250303    100       T2222    BETA      250303    200\n");
        ASSERT_EQ(startViewer(app, root.string(), store), StartupOutcome::Ready);
        readPositionFile(paths.positionFile, app.positions, nullptr);
        app.view.currentPosition = 0;
    }
    static QLineEdit* edit(const TemplateDialog& d, int id) {
        return qobject_cast<QLineEdit*>(d.control(id));
    }
    static QString label(const TemplateDialog& d, int id) {
        return qobject_cast<QLabel*>(d.control(id))->text();
    }

    MemoryValueStore store;
    AppContext app;
    std::vector<std::string> messages;
};

TEST_F(PositionDialogs, AddFillsNamesClosesAndQuantitiesAndWritesOnlyWhatIsSound) {
    PositionDialog d(nullptr, app, -1);
    d.showMessage = [&](std::string_view text, std::string_view caption) {
        messages.push_back(std::string(caption) + ":" + std::string(text));
    };
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("建玉の追加"));
    EXPECT_EQ(edit(d, kBuyDate)->text(), QStringLiteral("2025-03-28"));
    edit(d, kBuyCode)->setText(QStringLiteral("2222"));
    edit(d, kSellCode)->setText(QStringLiteral("1111"));
    qobject_cast<QCheckBox*>(d.control(kByAmount))->setChecked(true);
    edit(d, kAmount)->setText(QStringLiteral("150000"));
    d.refresh();
    EXPECT_EQ(edit(d, kBuyName)->text(), QStringLiteral("BETA"));
    EXPECT_EQ(label(d, kSellFound), QString::fromUtf8("ALPHA  2025-03-28  終値 1,000"));
    EXPECT_EQ(edit(d, kBuyQuantity)->text(), QStringLiteral("300"));   // 150000 / 400
    EXPECT_EQ(edit(d, kSellQuantity)->text(), QStringLiteral("100"));  // 150, at least 100
    EXPECT_EQ(label(d, kAmounts),
              QString::fromUtf8("金額　買い 120,000 円　売り 100,000 円　差 20,000 円"));

    edit(d, kSellCode)->setText(QStringLiteral("2222"));
    d.press(kOk);
    EXPECT_EQ(messages, std::vector<std::string>{"建玉の追加:買いと売りが同じ銘柄です"});
    EXPECT_EQ(d.written(), -1);
    edit(d, kSellCode)->setText(QStringLiteral("T1111"));
    edit(d, kSellName)->setText(QString::fromUtf8("アルファ"));
    d.press(kOk);
    EXPECT_EQ(d.written(), 1);
    PositionTable table;
    readPositionFile(paths.positionFile, table, nullptr);
    ASSERT_EQ(table.positionCount, 2);
    EXPECT_EQ(table.records[1].sell.shortName, cp932FromUtf8("アルフ"));
    EXPECT_EQ(table.records[1].buy.quantity, 300);
}

TEST_F(PositionDialogs, CloseTakesTheDatesClosesAndRecordsTheTrade) {
    CloseDialog d(nullptr, app, 0);
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("建玉の決済"));
    EXPECT_EQ(edit(d, kExitDate)->text(), QStringLiteral("2025-03-28"));
    EXPECT_EQ(edit(d, kBuyExitPrice)->text(), QStringLiteral("1000"));
    edit(d, kBuyExitPrice)->setText(QStringLiteral("1100"));
    d.refresh();
    EXPECT_EQ(label(d, kProfit),
              QString::fromUtf8("損益　買い 10,000 円　売り 0 円　合計 10,000 円\n"
                                // 100,000 yen at 2.8 % and 80,000 at 1.15 %, for the 28 days
                                // from 03-05 to 04-01 (two weekdays past the data).
                                "金利・貸株料 285 円　実質損益 9,715 円"));
    edit(d, kExitDate)->setText(QStringLiteral("2025-03-09"));  // a Sunday: Friday's close
    d.dateChanged();
    // The price typed stays; the one the dialog filled in is the new date's close.
    EXPECT_EQ(edit(d, kBuyExitPrice)->text(), QStringLiteral("1100"));
    EXPECT_EQ(edit(d, kSellExitPrice)->text(), QStringLiteral("400"));
    d.press(kCloseOk);
    EXPECT_EQ(d.written(), 0);
    ClosedTradesFile closed;
    ASSERT_TRUE(readClosedTrades(closedTradesPath(paths), closed));
    ASSERT_EQ(closed.trades.size(), 1u);
    EXPECT_EQ(closed.trades[0].closeDate, 20250307);

    ClosedTradesWindow w(nullptr, app);
    const auto* grid = w.findChild<QTableWidget*>();
    ASSERT_EQ(grid->rowCount(), 4);  // the trade, its month, its year, overall
    EXPECT_EQ(grid->item(3, 0)->text(), QString::fromUtf8("合計"));
    // Grouped on the screen like the other tables, plain in the file.
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("10,000"));
    EXPECT_EQ(grid->item(0, 5)->text(), QStringLiteral("T1111"));
    const std::string saved = (root / "saved.csv").string();  // Ctrl+C: the 検証 window's test
    w.saveChooser = [&](const QString&) { return QString::fromStdString(saved); };
    w.saveTable();
    EXPECT_EQ(readText(saved).rfind("\xEF\xBB\xBF決済日,損益合計", 0), 0u);
    EXPECT_NE(readText(saved).find("\r\n2025-03-07,10000,"), std::string::npos);
}

}  // namespace
}  // namespace zepa
