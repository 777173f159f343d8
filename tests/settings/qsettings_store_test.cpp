// The QSettings store on INI files in a temporary folder; the user's own store is never
// touched.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "platform/qsettings_value_store.h"
#include "settings/chart_values.h"
#include "settings/settings_persistence.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

struct QSettingsStoreTest : ::testing::Test, TempInstallation {
    QSettingsStoreTest() : TempInstallation(false) {}

    static std::string readFile(const fs::path& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
    static size_t filesIn(const fs::path& dir) {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
    }
};

TEST_F(QSettingsStoreTest, RoundTripThroughTheUsersConfigFolder) {
    // The viewer's own store, redirected into the temporary folder.
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", root.c_str(), 1), 0);
    const fs::path file = root / "VORNEK" / "ZEPA_CHART.ini";
    ChartSettings saved;
    saved.lowerPaneMode = 2;
    saved.pitch = 3.3f;
    ColorTable colors;
    colors.colors[99] = rgbColor(1, 2, 3);
    {
        QSettingsValueStore store;
        EXPECT_EQ(fs::path(store.location()), file);
        saveChartSettings(store, saved, colors);
    }
    unsetenv("XDG_CONFIG_HOME");
    // Written whole: no temporary or lock file left behind.
    EXPECT_EQ(filesIn(file.parent_path()), 1u);
    EXPECT_NE(readFile(file).find("SayaMode=\"2,0,0,1,1,0,33,0,0,0,5,5,0,0,0,0,0,0,0,0\""),
              std::string::npos);

    QSettingsValueStore store(file.string());
    ChartSettings loaded;
    ColorTable loadedColors;
    loadChartSettings(store, loaded, loadedColors);
    EXPECT_EQ(loaded.lowerPaneMode, 2);
    EXPECT_EQ(loaded.pitch, 3.3f);
    EXPECT_EQ(loadedColors.colors, colors.colors);
}

TEST_F(QSettingsStoreTest, ReadsHandEditedLines) {
    // Unquoted commas make QSettings return a list; it must read as the line the user wrote.
    const fs::path file = root / "hand.ini";
    writeText(file, "[CHART]\r\nSayaMode=1, 0,0,1,1,0,25\r\nMODE=\r\n[MENU]\r\nEDITOR=vi -n\r\n");
    QSettingsValueStore store(file.string());
    ChartSettings s;
    ColorTable colors;
    loadChartSettings(store, s, colors);
    EXPECT_EQ(s.lowerPaneMode, 1);
    EXPECT_EQ(s.buyCandles, 1);
    EXPECT_EQ(s.pitch, 2.5f);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "MODE"), "");
    EXPECT_EQ(queryChartValue(store, kMenuSubkey, "EDITOR"), "vi -n");
}

TEST_F(QSettingsStoreTest, StoreThatCannotBeWrittenLosesNothing) {
    ChartSettings s;
    ColorTable colors;
    // A folder that is a file: not even root can write there.
    writeText(root / "blocker", "x");
    QSettingsValueStore blocked((root / "blocker" / "ZEPA_CHART.ini").string());
    loadChartSettings(blocked, s, colors);
    saveChartSettings(blocked, s, colors);
    EXPECT_EQ(readFile(root / "blocker"), "x");

    // A file that cannot be parsed is not replaced by the part that could.
    const std::string damaged("[CHART]\nSayaMode=2\n\0\0junk\n", 26);
    writeText(root / "damaged.ini", damaged);
    QSettingsValueStore store((root / "damaged.ini").string());
    saveChartSettings(store, s, colors);
    EXPECT_EQ(readFile(root / "damaged.ini"), damaged);
    EXPECT_EQ(filesIn(root), 2u);

    if (geteuid() != 0) {  // permissions do not bind root
        const fs::path file = root / "ZEPA_CHART.ini";
        writeText(file, "[CHART]\nSayaMode=2\n");
        fs::permissions(root, fs::perms::owner_read | fs::perms::owner_exec);
        QSettingsValueStore readOnlyFolder(file.string());
        EXPECT_FALSE(readOnlyFolder.writeValue(kChartSubkey, "SayaMode", "3"));
        EXPECT_EQ(readFile(file), "[CHART]\nSayaMode=2\n");
        fs::permissions(root, fs::perms::owner_all);
    }
}

}  // namespace
}  // namespace zepa::test
