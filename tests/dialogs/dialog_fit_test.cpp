// 詳細設定 on small screens: run once at scale 1 and once at QT_SCALE_FACTOR=1.5; the dialog must
// fit a 1,024 x 768 screen at the first and a 1,920 x 1,080 screen at the second, with room for
// a title bar and a task bar.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/window/advanced_settings_dialog.h"
#include "settings/memory_value_store.h"

namespace zepa {
namespace {

// A title bar and a task bar, in device pixels.
constexpr int kDesktopFurniture = 90;

TEST(DialogFit, AdvancedSettingsFitsTheSmallestScreenOfItsScale) {
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    const QSize screen = scale < 1.25 ? QSize(1024, 768) : QSize(1920, 1080);
    MemoryValueStore store;
    ChartSettings settings;
    ColorTable colors;
    resetColorTable(colors);
    AdvancedSettingsDialog dialog(nullptr, store, settings, colors);
    dialog.show();
    const QSize hint = dialog.sizeHint();
    const QSize shown = dialog.frameGeometry().size();
    std::printf("scale %.2f: size hint %dx%d, shown %dx%d (logical)\n", scale, hint.width(),
                hint.height(), shown.width(), shown.height());
    for (const QSize s : {hint, shown}) {
        EXPECT_LE(qRound(s.height() * scale) + kDesktopFurniture, screen.height()) << s.height();
        EXPECT_LE(qRound(s.width() * scale), screen.width()) << s.width();
    }
}

}  // namespace
}  // namespace zepa
