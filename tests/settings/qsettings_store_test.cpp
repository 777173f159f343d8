#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/qsettings_value_store.h"
#include "settings/chart_values.h"
#include "settings/settings_persistence.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

TEST(QSettingsStore, ReadsHandEditedLinesAndLosesNothingItCannotWrite) {
    TempInstallation t(false);
    // Unquoted commas make QSettings return a list; it must read as the line the user wrote.
    const fs::path hand = t.root / "hand.ini";
    t.writeText(hand, "[CHART]\r\nSayaMode=1, 0,0,1,1,0,25\r\n[MENU]\r\nEDITOR=vi -n\r\n");
    QSettingsValueStore store(hand.string());
    ChartSettings s;
    ColorTable colors;
    loadChartSettings(store, s, colors);
    EXPECT_EQ((std::vector{s.lowerPaneMode, s.buyCandles}), (std::vector{1, 1}));
    EXPECT_EQ(s.pitch, 2.5f);
    EXPECT_EQ(queryChartValue(store, kMenuSubkey, "EDITOR"), "vi -n");

    // A folder that is a file: not even root can write there.
    t.writeText(t.root / "blocker", "x");
    QSettingsValueStore blocked((t.root / "blocker" / "ZEPA_CHART.ini").string());
    saveChartSettings(blocked, s, colors);
    EXPECT_EQ(t.readText(t.root / "blocker"), "x");

    // A file that cannot be parsed is not replaced by the part that could.
    const std::string damaged("[CHART]\nSayaMode=2\n\0\0junk\n", 26);
    t.writeText(t.root / "damaged.ini", damaged);
    QSettingsValueStore damagedStore((t.root / "damaged.ini").string());
    saveChartSettings(damagedStore, s, colors);
    EXPECT_EQ(t.readText(t.root / "damaged.ini"), damaged);
    EXPECT_EQ(std::distance(fs::directory_iterator(t.root), {}), 3);

    if (geteuid() != 0) {  // permissions do not bind root
        fs::permissions(t.root, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(store.writeValue(kChartSubkey, "SayaMode", "3"));
        fs::permissions(t.root, fs::perms::owner_all);
        EXPECT_EQ(t.readText(hand).find("SayaMode=3"), std::string::npos);
    }
}

}  // namespace
}  // namespace zepa::test
