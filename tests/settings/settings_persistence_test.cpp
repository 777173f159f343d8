// The per-user store: its text values and fields, and the chart settings kept in them.
#include <gtest/gtest.h>

#include <vector>

#include "settings/chart_values.h"
#include "settings/memory_value_store.h"
#include "settings/settings_persistence.h"

namespace zepa {
namespace {

using Ints = std::vector<int32_t>;

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

TEST(ChartSettingsStore, SayaModeFieldsAsUsersWriteThem) {
    // Quotes are dropped; every field goes to its own setting and comes back in its place.
    MemoryValueStore store;
    store.set(kChartSubkey, "SayaMode", "3,\"11\",12,13,14,15,\"25\",17,18,19,\"26\",9");
    const Loaded loaded = load(store);
    const ChartSettings& s = loaded.settings;
    EXPECT_EQ((Ints{s.lowerPaneMode, s.buyTomeashi, s.sellTomeashi, s.buyCandles, s.sellCandles,
                    s.spreadBase, s.buyAverage, s.sellAverage, s.spreadSource, s.buyAveragePeriod,
                    s.sellAveragePeriod}),
              (Ints{3, 11, 12, 13, 14, 15, 17, 18, 19, 26, 9}));
    EXPECT_EQ(s.pitch, 2.5f);
    saveChartSettings(store, s, loaded.colors);  // SayaMode and the spread colours only
    EXPECT_EQ(store.values.size(), 2u);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "SayaMode"),
              "3,11,12,13,14,15,25,17,18,19,26,9,0,0,0,0,0,0,0,0");

    // Missing fields read as 0; a pitch that is not positive falls back to 4.0.
    const ChartSettings single = loadChart("SayaMode", "2");
    EXPECT_EQ((Ints{single.lowerPaneMode, single.buyCandles, single.buyAveragePeriod}),
              (Ints{2, 0, 0}));
    EXPECT_EQ(single.pitch, 4.0f);
    EXPECT_EQ(loadChart("SayaMode", "0,0,0,1,1,0,-3").pitch, 4.0f);
}

TEST(ChartSettingsStore, Mode1ReplacesOutOfRangeFields) {
    ChartSettings s = loadChart("Mode_1", "9,9,9,9,9,0,1,9,9,9,80,9,25,30,-5,70,0,0,100,5");
    EXPECT_EQ((Ints{s.pitchMode, s.fillFallingBodies, s.stretchBarCount, s.autoStepInterval,
                    s.pitchIndex}),
              (Ints{0, 1, 80, 25, 5}));
    EXPECT_EQ(s.pitchTable, (std::array<int32_t, 6>{30, 0, 70, 0, 0, 100}));

    s = loadChart("Mode_1", "0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,6");
    EXPECT_EQ((Ints{s.stretchBarCount, s.autoStepInterval, s.pitchIndex}), (Ints{120, 40, 0}));
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

TEST(SplitSettingFields, DropsQuotesEndsAtLineBreaksAndStaysInBounds) {
    SettingFields f = splitSettingFields("\"12\", 7 ,,-3x\r\n9,9");
    EXPECT_EQ(f[0], "12");
    EXPECT_EQ(settingFieldValue(f, 1), 7);
    EXPECT_EQ(f[2], "");
    EXPECT_EQ(settingFieldValue(f, 3), -3);
    EXPECT_EQ(f[4], "");  // the CR ended the text

    f = splitSettingFields(std::string(40, '7') + ",5");
    EXPECT_EQ(f[0], std::string(19, '7'));
    EXPECT_EQ(f[1], "5");
}

TEST(ChartValues, QueryCutsLongValuesAndStoreFailsSilently) {
    MemoryValueStore store;
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "SayaMode"), "");
    store.set(kChartSubkey, "A", std::string(5000, 'a'));
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "A").size(), 199u);
    store.set(kChartSubkey, "C", std::string("1,2\0junk", 8));
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "C"), "1,2");
    // A three-byte character across the limit is dropped whole.
    store.set(kMenuSubkey, "D", std::string(198, 'd') + "\xE3\x81\x82");
    EXPECT_EQ(queryChartValue(store, kMenuSubkey, "D"), std::string(198, 'd'));

    store.readOnly = true;
    storeChartValue(store, kChartSubkey, "A", "3, 4");
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "A").size(), 199u);
}

TEST(ScanIntegerFields, StopsAtTheFirstFieldThatDoesNotMatch) {
    std::array<int32_t, 5> n{};
    EXPECT_EQ(scanIntegerFields(" 1,\t-2, +3,4,5,6", n), 5);
    EXPECT_EQ(n, (std::array<int32_t, 5>{1, -2, 3, 4, 5}));

    n = {9, 9, 9, 9, 9};
    EXPECT_EQ(scanIntegerFields("1,1,x,1", n), 2);
    EXPECT_EQ(n, (std::array<int32_t, 5>{1, 1, 9, 9, 9}));

    EXPECT_EQ(scanIntegerFields("7 ,8", n), 1);  // the comma must follow the number at once
    EXPECT_EQ(scanIntegerFields("", n), 0);
    EXPECT_EQ(scanIntegerFields("-,1", n), 0);
    EXPECT_EQ(scanIntegerFields("99999999999,-99999999999", n), 2);
    EXPECT_EQ(n[0], INT32_MAX);
    EXPECT_EQ(n[1], INT32_MIN);
}

}  // namespace
}  // namespace zepa
