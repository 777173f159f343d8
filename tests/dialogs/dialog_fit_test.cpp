// 詳細設定 on the smallest screens of scales 1 and 1.5 (QT_SCALE_FACTOR, one run each).
#include <gtest/gtest.h>

#include <QApplication>

#include "app/window/advanced_settings_dialog.h"
#include "settings/memory_value_store.h"

namespace zepa {
namespace {

TEST(DialogFit, AdvancedSettingsFitsTheSmallestScreenOfItsScale) {
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    // Device pixels of the screen, less a title bar and a task bar.
    const QSize screen = scale < 1.25 ? QSize(1024, 768 - 100) : QSize(1920, 1080 - 100);
    MemoryValueStore store;
    ChartSettings settings;
    ColorTable colors;
    AdvancedSettingsDialog dialog(nullptr, store, settings, colors);
    const QSize hint = dialog.sizeHint() * scale;
    EXPECT_TRUE(hint.width() <= screen.width() && hint.height() <= screen.height())
        << hint.width() << "x" << hint.height() << " at " << scale;
}

}  // namespace
}  // namespace zepa
