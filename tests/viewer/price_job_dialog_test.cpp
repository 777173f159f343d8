#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

#include "app/window/price_update_dialog.h"

namespace zepa {
namespace {

TEST(PriceJobDialog, EscapeWhileRunningStopsTheJobAndKeepsItsEnd) {
    PriceJobDialog dialog(nullptr, QStringLiteral("株価取り込み"), [](PriceJobProgress& p) {
        p.total = 10;
        while (!p.cancel) {  // a job between two of its days
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        PriceJobOutcome end;
        end.status = 0;
        end.reload = true;  // the days before the stop were written
        end.summary = "3 日を書きました";
        return end;
    });
    QTimer::singleShot(300, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    dialog.exec();
    PriceJobOutcome out;
    ASSERT_TRUE(dialog.outcome(out));
    EXPECT_TRUE(out.reload);
    EXPECT_EQ(out.summary, "3 日を書きました");
}

}  // namespace
}  // namespace zepa
