// The data windows on the offscreen platform: over a disabled frame, copied, saved and closed,
// keeping their placement in the store.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QTest>

#include <array>

#include "app/window/data_window.h"
#include "settings/chart_values.h"
#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

TEST_F(Viewer, DataWindowsCopyAndSaveEveryRowWithTheirHeaders) {
    store.set(kChartSubkey, "ChildPos_SY1", "30,40,5,250");  // the stock data window's
    openThree();
    QWidget frame;
    frame.show();
    struct Kind {
        int kind;
        const char* header;
        const char* proposed;
        const char* row280;  // the entry date: buy 1001, sell 1002
    };
    const Kind kinds[] = {
        {kSpreadDataKind, "日付,さや,買 変動,売 変動,利益", "T1001-T1002_さやデータ.csv",
         "2023-03-01,1,0,0,0"},
        {kStockDataKind, "日付,買 終値,買 出来高,売 終値,売 出来高", "T1001-T1002_株価データ.csv",
         "2023-03-01,1001,1,1002,1"},
    };
    for (const Kind& k : kinds) {
        QPointer<DataWindow> window = openDataWindow(&frame, a, k.kind);
        ASSERT_TRUE(window);
        EXPECT_FALSE(frame.isEnabled());

        QGuiApplication::clipboard()->clear();
        QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
        ASSERT_EQ(lines.size(), kDates + 2) << "header, rows, and the empty text after the last";
        EXPECT_EQ(lines[0], QString::fromUtf8(k.header).replace(u',', u'\t'));
        EXPECT_EQ(lines[281], QString::fromUtf8(k.row280).replace(u',', u'\t'));

        const std::string path = (root / "table.csv").string();
        QString offered;
        window->setSaveChooser([&](const QString& proposed) {
            offered = proposed;
            return QString::fromStdString(path);
        });
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(offered, QString::fromUtf8(k.proposed));
        const std::string csv = readText(path);
        EXPECT_EQ(csv.rfind("\xEF\xBB\xBF" + std::string(k.header) + "\r\n", 0), 0u) << csv;
        EXPECT_NE(csv.find("\r\n" + std::string(k.row280) + "\r\n"), std::string::npos);
        EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), kDates + 1);

        // Neither key closed the window; a click or Esc does, and keeps where it was.
        ASSERT_TRUE(window);
        if (k.kind == kSpreadDataKind) {
            QTest::mouseClick(window->childAt(10, 40), Qt::LeftButton);
        } else {
            EXPECT_EQ(window->geometry().topLeft(), QPoint(30, 40));
            window->setGeometry(60, 70, window->width(), 260);
            QTest::keyClick(window, Qt::Key_Escape);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(window);
        EXPECT_TRUE(frame.isEnabled());
    }
    std::array<int32_t, 4> v{};
    ASSERT_EQ(scanIntegerFields(queryChartValue(store, kChartSubkey, "ChildPos_SY1"), v), 4);
    EXPECT_EQ((std::array{v[0], v[1], v[3]}), (std::array{60, 70, 260}));
}

}  // namespace
}  // namespace zepa::test
