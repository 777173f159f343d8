#include <gtest/gtest.h>

#include "app/position_forms.h"
#include "positions/closed_trades.h"
#include "positions/position_file_edit.h"
#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

// Answers the question and runs the dialogs' forms as a trader would fill them.
class PositionShell : public RecordingShell {
  public:
    bool askYesNo(std::string_view text, std::string_view caption) override {
        questions.push_back(std::string(caption) + ":" + std::string(text));
        return answer;
    }
    int runPositionDialog(int kind) override {
        dialogs.push_back(kind);
        return dialog ? dialog(kind) : -1;
    }
    void openClosedTradesWindow() override { opened.push_back("closed trades"); }

    bool answer = false;
    std::function<int(int)> dialog;
    std::vector<std::string> questions;
    std::vector<int> dialogs;
};

class PositionCommands : public Viewer {
  protected:
    void SetUp() override {
        Viewer::SetUp();
        openThree();
    }
    std::string file() const { return readText(paths.positionFile); }
    void press(int id) { onCommand(a, shell, id); }
    // The dialog writes this form and closes.
    void dialogWrites(PositionForm form) {
        shell.dialog = [this, form](int kind) {
            const int position = kind == 0 ? -1 : a.view.currentPosition;
            const FormWrite w = writePositionForm(a, position, form);
            EXPECT_TRUE(w.ok) << w.message;
            return w.ok ? w.position : -1;
        };
    }

    PositionShell shell;
};

TEST_F(PositionCommands, AnAddedPositionIsShownAfterTheWrite) {
    PositionForm form = positionFormFor(a, -1);
    form.buyCode = "1005";
    form.sellCode = "T1001";
    form.byAmount = true;
    form.amount = "500000";
    dialogWrites(form);
    press(command::kAddPosition);
    EXPECT_EQ(shell.dialogs, (std::vector<int>{0}));
    ASSERT_EQ(a.positions.positionCount, 4);
    EXPECT_EQ(a.view.currentPosition, 3);
    EXPECT_EQ(shell.selectorItems.size(), 4u);
    EXPECT_EQ(a.positions.records[3].buy.stockCode, 1005);
    EXPECT_EQ(a.positions.records[3].buy.quantity % 100, 0);
    EXPECT_EQ(a.series.buyStockCode, 1005);
}

TEST_F(PositionCommands, RemovalAsksFirstAndShowsTheNextPosition) {
    const std::string before = file();
    press(command::kButtonNext);
    press(command::kRemovePosition);
    EXPECT_EQ(shell.questions.size(), 1u);
    // Numbered from 1, as the selector lists them: the second position is 建玉 2.
    EXPECT_NE(shell.questions[0].find("建玉の削除:建玉 2（買い T1003 / 売り T1004）"),
              std::string::npos);
    EXPECT_EQ(file(), before);  // answered No
    shell.answer = true;
    press(command::kRemovePosition);
    EXPECT_EQ(a.positions.positionCount, 2);
    EXPECT_EQ(a.view.currentPosition, 1);
    EXPECT_EQ(a.positions.records[1].buy.stockCode, 1005);
    EXPECT_EQ(file(), positionLine(1001, 1002) + positionLine(1005, 1006));
}

TEST_F(PositionCommands, AFileChangedSinceTheViewerReadItIsLeftAlone) {
    write(paths.positionFile, positionLine(1003, 1004));
    shell.answer = true;
    press(command::kRemovePosition);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, positionFileChangedMessage());
    EXPECT_EQ(file(), positionLine(1003, 1004));
    EXPECT_FALSE(writePositionForm(a, 0, positionFormFor(a, 0)).ok);
}

TEST_F(PositionCommands, ACloseRecordsTheTradeAndTakesTheLineOut) {
    CloseForm form = closeFormFor(a, 0);
    EXPECT_FALSE(form.exitDate.empty());
    const CloseFormPreview preview = previewCloseForm(a, 0, form);
    EXPECT_TRUE(preview.ok) << preview.text;
    CloseForm typed = form;
    typed.buyPrice = "1";  // the profit shown is the typed price's
    EXPECT_NE(previewCloseForm(a, 0, typed).text, preview.text);
    typed.buyPrice = "1,000";  // refused as a whole, not read as 1
    EXPECT_FALSE(previewCloseForm(a, 0, typed).ok);
    shell.dialog = [&](int kind) {
        EXPECT_EQ(kind, 2);
        const FormWrite w = writeCloseForm(a, a.view.currentPosition, form);
        EXPECT_TRUE(w.ok) << w.message;
        return w.position;
    };
    press(command::kClosePosition);
    EXPECT_EQ(a.positions.positionCount, 2);
    EXPECT_EQ(file(), positionLine(1003, 1004) + positionLine(1005, 1006));
    EXPECT_TRUE(fs::exists(closedTradesPath(paths)));
    press(command::kClosedTrades);
    EXPECT_EQ(shell.opened.back(), "closed trades");
}

TEST_F(PositionCommands, CloseAndAddFormsSayWhatTheyWouldWrite) {
    const CloseForm newest = closeFormFor(a, 0);
    ASSERT_EQ(newest.exitDate, "2023-03-20");
    EXPECT_EQ(closeSummaryText(a, 0).rfind("建玉 1：", 0), 0u);
    CloseForm late = newest;
    late.exitDate = "2023-03-21";
    const CloseFormPreview refused = previewCloseForm(a, 0, late);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.text, "決済日 2023-03-21 は価格ファイルの最新日 2023-03-20 より後です");
    EXPECT_FALSE(writeCloseForm(a, 0, late).ok);
    EXPECT_EQ(file(),
              positionLine(1001, 1002) + positionLine(1003, 1004) + positionLine(1005, 1006));

    // The buy price typed stays through a date change; the sell price the dialog filled in
    // follows the new date (1002's close ten dates earlier).
    CloseForm filled = newest;
    CloseForm form = newest;
    form.buyPrice = "1234";
    form.exitDate = "2023-03-10";
    refillClosePrices(a, 0, form, filled);
    EXPECT_EQ(form.buyPrice, "1234");
    EXPECT_EQ(form.sellPrice, "1011");
    form.exitDate = "2023-03-20";  // and back: the filled one follows again, the typed one stays
    refillClosePrices(a, 0, form, filled);
    EXPECT_EQ(form.buyPrice, "1234");
    EXPECT_EQ(form.sellPrice, newest.sellPrice);

    PositionForm add = positionFormFor(a, -1);
    add.buyCode = "1001";
    add.sellCode = "1002";
    add.buyQuantity = "100";
    add.sellQuantity = "200";
    EXPECT_EQ(previewPositionForm(a, add).amounts,
              "金額　買い 103,900 円　売り 204,200 円　差 -100,300 円");
    add.sellQuantity = "x";
    EXPECT_EQ(previewPositionForm(a, add).amounts, "");
}

TEST_F(PositionCommands, WithoutPositionsOnlyAddingIsOffered) {
    shell.answer = true;
    shell.dialog = [](int) { return -1; };
    for (int i = 0; i < 3; ++i) {
        press(command::kRemovePosition);
    }
    EXPECT_EQ(a.positions.positionCount, 0);
    EXPECT_EQ(file(), "");
    // The last one gone, the record of the closed ones stays.
    EXPECT_FALSE(shell.menuEnabled.at(command::kChangePosition));
    EXPECT_FALSE(shell.menuEnabled.at(command::kSpreadData));
    press(command::kClosedTrades);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"closed trades"}));
    shell.messages.clear();
    press(command::kChangePosition);
    press(command::kClosePosition);
    EXPECT_EQ(shell.captions(), (std::vector<std::string>{"建玉の変更", "建玉の決済"}));
    press(command::kAddPosition);
    EXPECT_EQ(shell.dialogs, (std::vector<int>{0}));
}

}  // namespace
}  // namespace zepa::test
