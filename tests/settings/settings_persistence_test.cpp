#include <gtest/gtest.h>

#include <vector>

#include "settings/chart_values.h"
#include "settings/memory_value_store.h"
#include "settings/settings_persistence.h"

namespace zepa {
namespace {

using Ints = std::vector<int32_t>;

struct ChartSettingsStore : ::testing::Test {
    MemoryValueStore store;
    ChartSettings s;
    ColorTable colors;
    // Loads the settings after a value of kChartSubkey was set.
    const ChartSettings& load(const char* name, const std::string& text) {
        store.set(kChartSubkey, name, text);
        s = ChartSettings{};
        resetColorTable(colors);
        loadChartSettings(store, s, colors);
        return s;
    }
};

TEST_F(ChartSettingsStore, SayaModeRoundTrip) {
    // Quotes are dropped; every field comes back in its place, the rest as 0.
    load("SayaMode", "3,\"11\",12,13,14,15,\"25\",17,18,19,\"26\",9");
    EXPECT_EQ((Ints{s.lowerPaneMode, s.buyTomeashi, s.spreadBase, s.spreadSource,
                    s.buyAveragePeriod, s.sellAveragePeriod}),
              (Ints{3, 11, 15, 19, 26, 9}));
    saveChartSettings(store, s, colors);  // SayaMode and the spread colours only
    EXPECT_EQ(store.values.size(), 2u);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "SayaMode"),
              "3,11,12,13,14,15,25,17,18,19,26,9,0,0,0,0,0,0,0,0");
    // A pitch that is not positive falls back to 4.0.
    EXPECT_EQ(load("SayaMode", "0,0,0,1,1,0,-3").pitch, 4.0f);
    EXPECT_EQ(load("SayaMode", "0,0,0,1,1,0,0").pitch, 4.0f);
    for (int tenths = 1; tenths <= 20000; ++tenths) {
        load("SayaMode", "0,0,0,1,1,0," + std::to_string(tenths));
        saveChartSettings(store, s, colors);
        ASSERT_EQ(splitSettingFields(*store.find(kChartSubkey, "SayaMode"))[6],
                  std::to_string(tenths));
    }
}

TEST_F(ChartSettingsStore, SayaOptionRoundTripAndFallbacks) {
    // Absent fields and values outside an option's range keep the start-up values.
    load("SayaOption", "1,1,250,1");
    EXPECT_EQ((Ints{s.splitAdjustedDisplay, s.ratioChart, s.ratioPeriod, s.overlaySellAtEntry}),
              (Ints{1, 1, 250, 1}));
    load("SayaOption", "2,,4,-1");
    EXPECT_EQ((Ints{s.splitAdjustedDisplay, s.ratioChart, s.ratioPeriod, s.overlaySellAtEntry}),
              (Ints{0, 0, 25, 0}));
    // Once written, the value is kept up to date even when every option is back at its default.
    s = ChartSettings{};
    s.ratioChart = 1;
    saveChartSettings(store, s, colors);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "SayaOption"), "0,1,25,0");
    s.ratioChart = 0;
    saveChartSettings(store, s, colors);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "SayaOption"), "0,0,25,0");
    // 検証を表示 adds a fifth field, which then stays; a value it does not allow reads as off.
    s.showBacktest = 1;
    saveChartSettings(store, s, colors);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "SayaOption"), "0,0,25,0,1");
    EXPECT_EQ(load("SayaOption", "0,0,25,0,1").showBacktest, 1);
    s.showBacktest = 0;
    saveChartSettings(store, s, colors);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "SayaOption"), "0,0,25,0,0");
    EXPECT_EQ(load("SayaOption", "0,0,25,0,7").showBacktest, 0);
}

// Values of their own: nothing written until changed, then kept up to date even back at the
// default, no other value moved; what a hand edit puts outside the range reads as the default.
TEST_F(ChartSettingsStore, ValuesOfTheirOwnAreWrittenOnceChanged) {
    using Reads = std::vector<std::pair<const char*, int32_t>>;
    const Reads rate = {{"1", 1}, {"0", 0}, {"2", 0}, {"-1", 0}, {"x", 0}};  // only "1" is on
    const Reads days = {{"0", 0},   {"366", 366}, {"367", 20},        {"-1", 20},
                        {" 7", 20}, {"7d", 20},   {"99999999999", 20}};  // 0 to 366
    const struct Case {
        const char* name;
        int32_t ChartSettings::*field;
        int32_t byDefault, changed;
        const Reads& read;
    } cases[] = {{kChangeRateBaseValue, &ChartSettings::changeRateOfEntry, 0, 1, rate},
                 {kDeadlineDaysValue, &ChartSettings::deadlineDays, 20, 0, days}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.values.clear();
        s = ChartSettings{};
        saveChartSettings(store, s, colors);
        EXPECT_EQ(store.find(kChartSubkey, c.name), nullptr);
        EXPECT_EQ(s.*c.field, c.byDefault);
        s.*c.field = c.changed;
        saveChartSettings(store, s, colors);
        EXPECT_EQ(queryChartValue(store, kChartSubkey, c.name), std::to_string(c.changed));
        EXPECT_EQ(queryChartValue(store, kChartSubkey, "SayaOption"), "");
        s.*c.field = c.byDefault;
        saveChartSettings(store, s, colors);
        EXPECT_EQ(queryChartValue(store, kChartSubkey, c.name), std::to_string(c.byDefault));
        for (const auto& [text, value] : c.read) {
            EXPECT_EQ(load(c.name, text).*c.field, value) << text;
        }
    }
}

TEST_F(ChartSettingsStore, OutOfRangeAndBadFields) {
    load("Mode_1", "9,9,9,9,9,0,1,9,9,9,80,9,25,30,-5,70,0,0,100,5");
    EXPECT_EQ((Ints{s.pitchMode, s.fillFallingBodies, s.stretchBarCount, s.autoStepInterval,
                    s.pitchIndex}),
              (Ints{0, 1, 80, 25, 5}));
    EXPECT_EQ(s.pitchTable, (std::array<int32_t, 6>{30, 0, 70, 0, 0, 100}));
    load("Mode_1", "0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,6");
    EXPECT_EQ((Ints{s.stretchBarCount, s.autoStepInterval, s.pitchIndex}), (Ints{120, 40, 0}));
    // MODE is scanned up to the first bad field, quotes included.
    EXPECT_EQ(load("MODE", "1, 1, 1").fillRisingBodies, 1);
    EXPECT_EQ(load("MODE", "1,1,x,1").fillRisingBodies, 0);
    EXPECT_EQ(load("MODE", "1,\"1\",1").fillRisingBodies, 0);
}

TEST_F(ChartSettingsStore, ColorRowsLoadAndSpreadColorsRoundTrip) {
    store.set(kChartSubkey, "COLOR_7", "7,7,7,7,7,7,7,7,7,77,99");
    store.set(kChartSubkey, "COLOR_8", "8,8,8");
    load("COLOR_SY", "255,-1,65280");
    EXPECT_EQ(colors.colors[79], 77u);
    EXPECT_EQ(colors.colors[80], rgbColor(64, 128, 128));  // row 8 is never loaded
    EXPECT_EQ(colors.colors[91], 0xFFFFFFFFu);
    saveChartSettings(store, s, colors);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "COLOR_SY"), "255,-1,65280,0,0,0,0,0,0,0");
}

// What a user without stored colours sees: every entry that something is drawn with, by its
// RGB values, so that a wrong default cannot hide behind tests that read the same table.
TEST_F(ChartSettingsStore, DrawnColorsStartWithTheirDefaults) {
    struct Entry {
        int index;
        uint8_t r, g, b;
    };
    constexpr Entry kDrawn[] = {
        {0, 0, 0, 0},       {7, 255, 255, 255},  {8, 192, 192, 192},  {10, 0, 0, 255},
        {13, 64, 128, 128}, {15, 128, 128, 128}, {20, 192, 255, 192}, {21, 192, 255, 255},
        {59, 0, 0, 255},    {90, 0, 0, 255},     {91, 255, 0, 0},     {99, 0, 0, 255},
    };
    colors.colors.fill(0x123456);
    resetColorTable(colors);
    resetSpreadColors(colors);
    loadChartSettings(store, s, colors);  // nothing stored: nothing changes
    for (const Entry& e : kDrawn) {
        const ColorRef c = colors.colors[static_cast<size_t>(e.index)];
        EXPECT_EQ((Ints{static_cast<int32_t>(c & 0xFF), static_cast<int32_t>(c >> 8 & 0xFF),
                        static_cast<int32_t>(c >> 16 & 0xFF), static_cast<int32_t>(c >> 24)}),
                  (Ints{e.r, e.g, e.b, 0}))
            << "ColorTable[" << e.index << "]";
    }
}

TEST_F(ChartSettingsStore, OversizedValuesAreCutNotOverrun) {
    std::string longText;
    for (int i = 0; i < 100; ++i) {
        longText += "123456789012345678901234,";
    }
    for (const char* name : {"Mode_1", "Mode_2", "SayaMode", "COLOR_SY", "MODE"}) {
        store.set(kChartSubkey, name, longText);
    }
    // Values are cut at 199 characters (eight fields here), fields at 19; numbers saturate.
    load("COLOR_1", longText);
    EXPECT_EQ(s.fillRisingBodies, INT32_MAX);
    EXPECT_EQ(colors.colors[17], static_cast<ColorRef>(INT32_MAX));
    EXPECT_EQ(colors.colors[18], 0u);

    EXPECT_EQ(splitSettingFields("\"12\", 7 ,,-3x\r\n9,9")[4], "");  // the CR ended the text
    // A three-byte character across the limit is dropped whole; a NUL ends the value.
    store.set(kMenuSubkey, "D", std::string(198, 'd') + "\xE3\x81\x82");
    EXPECT_EQ(queryChartValue(store, kMenuSubkey, "D"), std::string(198, 'd'));
    store.set(kChartSubkey, "C", std::string("1,2\0junk", 8));
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "C"), "1,2");
}

}  // namespace
}  // namespace zepa
