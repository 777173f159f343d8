// 過去の成績 offscreen, run from ペア検索.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "app/walkforward_plot.h"
#include "app/window/pair_search_window.h"
#include "app/window/qt_values.h"
#include "app/window/walkforward_window.h"
#include "tests/app/reverting_market.h"
#include "tests/viewer/viewer_window.h"

namespace zepa::test {
namespace {

struct WalkForwardWindowTest : ViewerWindow {
    void SetUp() override {
        writeRevertingMarket(*this, 700);
        show(positionLine(1003, 1004));
        window->openPairSearch();
        search = qobject_cast<PairSearchWindow*>(window->pairSearchWindow());
        ASSERT_NE(search, nullptr);
        setField(PairField::Days, 120);
        setField(PairField::ShortDays, 36);
    }
    void setField(PairField field, int v) {
        qobject_cast<QSpinBox*>(search->fieldBox(field))->setValue(v);
    }
    // Whether the picture holds a pixel of the colour.
    static bool hasColor(const QImage& image, ColorRef color) {
        const QRgb want = qColorOf(color).rgb();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == want) {
                    return true;
                }
            }
        }
        return false;
    }

    PairSearchWindow* search = nullptr;
};

TEST_F(WalkForwardWindowTest, RunsFromPairSearchAndShowsBothCurvesAndThePeriods) {
    // Out of range: refused by name, nothing runs or opens.
    search->tradeDaysBox()->setValue(4);
    search->startWalkForward();
    EXPECT_FALSE(search->walking());
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"取引期間は 5〜1500 の整数にして下さい"});
    EXPECT_EQ(search->walkForwardWindow(), nullptr);

    search->tradeDaysBox()->setValue(60);
    search->stepBox()->setValue(40);
    search->startSearch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search->searching(); }, 30000));
    const QString funnel = search->funnelLabel()->text();
    EXPECT_FALSE(funnel.contains(QStringLiteral("過去の成績")));

    search->startWalkForward();
    EXPECT_TRUE(search->walking());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search->walking(); }, 60000));
    WalkForwardWindow* w = search->walkForwardWindow();
    ASSERT_NE(w, nullptr) << search->stageLabel()->text().toStdString();
    EXPECT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("過去の成績"));
    EXPECT_TRUE(w->summaryLabel()->text().startsWith(QStringLiteral("期間 15  取引 ")))
        << w->summaryLabel()->text().toStdString();
    EXPECT_EQ(w->table()->rowCount(), 15);
    EXPECT_EQ(*store.find(kChartSubkey, "PairWalkForward"), "60,40");
    // The table's settings are the walk's: the funnel adds its ratio.
    EXPECT_TRUE(
        search->funnelLabel()->text().startsWith(funnel + QStringLiteral("　過去の成績 比 ")))
        << search->funnelLabel()->text().toStdString();

    // Both curves on the real picture, inside the plot the layout reports.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const WalkForwardPlotLayout first = w->plotLayout();
    EXPECT_GT(first.right - first.left, 100);
    EXPECT_EQ(w->plotImage().width(), w->plot()->width());
    EXPECT_TRUE(hasColor(w->plotImage(), kWalkForwardOutColor));
    EXPECT_TRUE(hasColor(w->plotImage(), kWalkForwardInColor));
    // Resized with the window.
    w->resize(w->width() + 200, w->height());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->plotLayout().right == first.right + 200; }, 3000))
        << w->plotLayout().right;

    // Ctrl+C and Ctrl+S: numbers and ISO dates for spreadsheets, the file named by the end date.
    QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QStringLiteral("選定日\t取引開始\t取引終了")))
        << copied.toStdString();
    EXPECT_EQ(copied.count(QLatin1Char('\n')), 16);
    EXPECT_FALSE(copied.contains(QStringLiteral("/")));
    QString proposed;
    const std::string saved = (root / "walk.csv").string();
    w->saveChooser = [&](const QString& name) {
        proposed = name;
        return QString::fromStdString(saved);
    };
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(proposed.startsWith(QStringLiteral("過去の成績_20"))) << proposed.toStdString();
    EXPECT_EQ(readText(saved).substr(0, 3), "\xEF\xBB\xBF");

    // Other settings searched: the ratio is not theirs.
    setField(PairField::Days, 121);
    search->startSearch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search->searching(); }, 30000));
    EXPECT_FALSE(search->funnelLabel()->text().contains(QStringLiteral("過去の成績")));

    // A cancelled walk says so and opens nothing.
    search->startWalkForward();
    search->cancelWalkForward();
    EXPECT_FALSE(search->walking());
    EXPECT_EQ(search->stageLabel()->text(), QStringLiteral("過去の成績を中止しました"));
    EXPECT_EQ(search->walkForwardWindow(), w);
    search->close();
    window->close();
}

}  // namespace
}  // namespace zepa::test
