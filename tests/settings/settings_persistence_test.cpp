#include <gtest/gtest.h>

#include <string>

#include "settings/chart_values.h"
#include "settings/memory_value_store.h"
#include "settings/settings_persistence.h"

namespace zepa {
namespace {

struct Loaded {
    ChartSettings settings;
    ColorTable colors;
};

Loaded load(MemoryValueStore& store) {
    Loaded loaded;
    resetColorTable(loaded.colors);
    resetSpreadColors(loaded.colors);
    loadChartSettings(store, loaded.settings, loaded.colors);
    return loaded;
}

ChartSettings loadChart(const char* name, const std::string& text) {
    MemoryValueStore store;
    store.set(kChartSubkey, name, text);
    return load(store).settings;
}

TEST(ChartSettingsStore, EmptyStoreSavesTheDefaultTexts) {
    MemoryValueStore store;
    Loaded loaded = load(store);
    saveChartSettings(store, loaded.settings, loaded.colors);
    EXPECT_EQ(store.values.size(), 2u);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "SayaMode"),
              "0,0,0,1,1,0,50,0,0,0,5,5,0,0,0,0,0,0,0,0");
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "COLOR_SY"),
              "16711680,255,255,255,16711680,255,16711680,16711680,255,16711680");
}

TEST(ChartSettingsStore, SayaModeFieldsAsUsersWriteThem) {
    const ChartSettings single = loadChart("SayaMode", "2");
    EXPECT_EQ(single.lowerPaneMode, 2);
    EXPECT_EQ(single.buyCandles, 0);
    EXPECT_EQ(single.buyAveragePeriod, 0);
    EXPECT_EQ(single.pitch, 4.0f);

    EXPECT_EQ(loadChart("SayaMode", "0,0,0,1,1,0,-3").pitch, 4.0f);

    const ChartSettings quoted = loadChart("SayaMode", "3,\"1\",0,1,1,1,\"25\",1,1,1,\"26\",9");
    EXPECT_EQ(quoted.lowerPaneMode, 3);
    EXPECT_EQ(quoted.pitch, 2.5f);
    EXPECT_EQ(quoted.buyAveragePeriod, 26);
    EXPECT_EQ(quoted.sellAveragePeriod, 9);
}

TEST(ChartSettingsStore, Mode1ReplacesOutOfRangeFields) {
    ChartSettings s = loadChart("Mode_1", "9,9,9,9,9,0,1,9,9,9,80,9,25,30,-5,70,0,0,100,5");
    EXPECT_EQ(s.pitchMode, 0);
    EXPECT_EQ(s.fillFallingBodies, 1);
    EXPECT_EQ(s.stretchBarCount, 80);
    EXPECT_EQ(s.autoStepInterval, 25);
    EXPECT_EQ(s.pitchTable, (std::array<int32_t, 6>{30, 0, 70, 0, 0, 100}));
    EXPECT_EQ(s.pitchIndex, 5);

    s = loadChart("Mode_1", "0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,6");
    EXPECT_EQ(s.stretchBarCount, 120);
    EXPECT_EQ(s.autoStepInterval, 40);
    EXPECT_EQ(s.pitchIndex, 0);
    EXPECT_EQ(loadChart("Mode_1", ",,,,,,,,,,,,,,,,,,,-1").pitchIndex, 0);
    EXPECT_EQ(loadChart("Mode_2", "0,0,0,0,0,0,0,0,150").printScale, 150);
}

TEST(ChartSettingsStore, ModeIsScannedUpToTheFirstBadField) {
    EXPECT_EQ(loadChart("MODE", "0,0,1").fillRisingBodies, 1);
    EXPECT_EQ(loadChart("MODE", "1, 1, 1").fillRisingBodies, 1);
    EXPECT_EQ(loadChart("MODE", "1,1,x,1").fillRisingBodies, 0);
    EXPECT_EQ(loadChart("MODE", "1,\"1\",1").fillRisingBodies, 0);  // quotes are not dropped here
}

TEST(ChartSettingsStore, ColorRowsLoadAndSpreadColorsRoundTrip) {
    MemoryValueStore store;
    store.set(kChartSubkey, "COLOR_1", "1,2,3");
    store.set(kChartSubkey, "COLOR_7", "7,7,7,7,7,7,7,7,7,77,99");
    store.set(kChartSubkey, "COLOR_8", "8,8,8");
    store.set(kChartSubkey, "COLOR_SY", "255,-1,65280");
    Loaded loaded = load(store);
    EXPECT_EQ(loaded.colors.colors[12], 3u);
    EXPECT_EQ(loaded.colors.colors[79], 77u);
    EXPECT_EQ(loaded.colors.colors[80], rgbColor(64, 128, 128));  // row 8 is never loaded
    EXPECT_EQ(loaded.colors.colors[91], 0xFFFFFFFFu);

    saveChartSettings(store, loaded.settings, loaded.colors);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "COLOR_SY"), "255,-1,65280,0,0,0,0,0,0,0");
    EXPECT_EQ(load(store).colors.colors, loaded.colors.colors);
}

TEST(ChartSettingsStore, PitchTenthsRoundTrip) {
    MemoryValueStore store;
    Loaded loaded;
    for (int tenths = 1; tenths <= 20000; ++tenths) {
        store.set(kChartSubkey, "SayaMode", "0,0,0,1,1,0," + std::to_string(tenths));
        loadChartSettings(store, loaded.settings, loaded.colors);
        saveChartSettings(store, loaded.settings, loaded.colors);
        ASSERT_EQ(splitSettingFields(*store.find(kChartSubkey, "SayaMode"))[6],
                  std::to_string(tenths));
    }
}

TEST(ChartSettingsStore, OversizedValuesAreCutNotOverrun) {
    MemoryValueStore store;
    std::string longText;
    for (int i = 0; i < 100; ++i) {
        longText += "123456789012345678901234,";
    }
    for (const char* name : {"Mode_1", "Mode_2", "SayaMode", "COLOR_1", "COLOR_SY", "MODE"}) {
        store.set(kChartSubkey, name, longText);
    }
    // Values are cut at 199 characters (eight fields here), fields at 19, and numbers saturate.
    Loaded loaded = load(store);
    EXPECT_EQ(loaded.settings.fillRisingBodies, INT32_MAX);
    EXPECT_EQ(loaded.colors.colors[17], static_cast<ColorRef>(INT32_MAX));
    EXPECT_EQ(loaded.colors.colors[18], 0u);
}

}  // namespace
}  // namespace zepa
