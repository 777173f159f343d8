#include "settings/settings_persistence.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <span>
#include <string>

#include "base/wrapping.h"
#include "settings/chart_values.h"

namespace zepa {
namespace {

// Replacements for values that would stop the viewer from working.
constexpr int32_t kFallbackAutoStepInterval = 40;
constexpr float kFallbackPitch = 4.0f;

// Reads a value of the CHART subkey; false when it is absent or empty.
bool queryFields(ValueStore& store, std::string_view name, SettingFields& fields) {
    std::string text = queryChartValue(store, kChartSubkey, name);
    if (text.empty()) {
        return false;
    }
    fields = splitSettingFields(text);
    return true;
}

void loadMode1(const SettingFields& f, ChartSettings& s) {
    s.pitchMode = settingFieldValue(f, 5);
    s.fillFallingBodies = settingFieldValue(f, 6);
    s.stretchBarCount = settingFieldValue(f, 10);
    if (s.stretchBarCount < 1) {
        s.stretchBarCount = kDefaultStretchBarCount;
    }
    s.autoStepInterval = settingFieldValue(f, 12);
    if (s.autoStepInterval < 1) {
        s.autoStepInterval = kFallbackAutoStepInterval;
    }
    for (int k = 0; k < kPitchPresetCount; ++k) {
        int32_t preset = settingFieldValue(f, 13 + k);
        s.pitchTable[k] = preset < 0 ? 0 : preset;
    }
    s.pitchIndex = settingFieldValue(f, 19);
    if (s.pitchIndex < 0 || s.pitchIndex >= kPitchPresetCount) {
        s.pitchIndex = 0;
    }
}

void loadSayaMode(const SettingFields& f, ChartSettings& s) {
    s.lowerPaneMode = settingFieldValue(f, 0);
    s.buyTomeashi = settingFieldValue(f, 1);
    s.sellTomeashi = settingFieldValue(f, 2);
    s.buyCandles = settingFieldValue(f, 3);
    s.sellCandles = settingFieldValue(f, 4);
    s.spreadBase = settingFieldValue(f, 5);
    // Stored in tenths; float division keeps them.
    s.pitch = static_cast<float>(settingFieldValue(f, 6)) / 10.0f;
    if (!(s.pitch > 0.0f)) {
        s.pitch = kFallbackPitch;
    }
    s.buyAverage = settingFieldValue(f, 7);
    s.sellAverage = settingFieldValue(f, 8);
    s.spreadSource = settingFieldValue(f, 9);
    s.buyAveragePeriod = settingFieldValue(f, 10);
    s.sellAveragePeriod = settingFieldValue(f, 11);
}

// Fields of SayaOption in order; a field the text lacks keeps its start-up value, and a value
// outside what the option allows reads as its start-up value.
void loadSayaOption(const SettingFields& f, ChartSettings& s) {
    const ChartSettings defaults;
    auto flag = [&](size_t index, int32_t fallback) {
        if (f[index].empty()) {
            return fallback;
        }
        const int32_t v = settingFieldValue(f, static_cast<int>(index));
        return v == 0 || v == 1 ? v : fallback;
    };
    s.splitAdjustedDisplay = flag(0, defaults.splitAdjustedDisplay);
    s.ratioChart = flag(1, defaults.ratioChart);
    if (!f[2].empty()) {
        const int32_t period = settingFieldValue(f, 2);
        s.ratioPeriod =
            period >= kRatioPeriodMin && period <= kRatioPeriodMax ? period : defaults.ratioPeriod;
    }
    s.overlaySellAtEntry = flag(3, defaults.overlaySellAtEntry);
    s.showBacktest = flag(4, defaults.showBacktest);
}

void loadColorRow(const SettingFields& f, int row, ColorTable& colors) {
    for (int column = 0; column < kColorRowLength; ++column) {
        // Negative numbers keep their 32-bit pattern, as a COLORREF assigned from an int.
        colors.colors[row * kColorRowLength + column] =
            static_cast<ColorRef>(settingFieldValue(f, column));
    }
}

std::string joinFields(std::span<const int32_t> values) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        text += std::to_string(values[i]);
    }
    return text;
}

}  // namespace

void loadChartSettings(ValueStore& store, ChartSettings& settings, ColorTable& colors) {
    SettingFields fields;
    if (queryFields(store, "Mode_1", fields)) {
        loadMode1(fields, settings);
    }
    if (queryFields(store, "Mode_2", fields)) {
        settings.printScale = settingFieldValue(fields, 8);
    }
    if (queryFields(store, "SayaMode", fields)) {
        loadSayaMode(fields, settings);
    }
    if (queryFields(store, "SayaOption", fields)) {
        loadSayaOption(fields, settings);
    }
    for (int row = 1; row <= 7; ++row) {
        if (queryFields(store, "COLOR_" + std::to_string(row), fields)) {
            loadColorRow(fields, row, colors);
        }
    }
    if (queryFields(store, "COLOR_SY", fields)) {
        loadColorRow(fields, kSpreadColorRow, colors);
    }
    if (queryFields(store, kOverlaidSellColorsValue, fields)) {
        // A field the text lacks keeps its colour.
        const int indices[] = {kOverlaidSellFallingColor, kOverlaidSellRisingColor};
        for (int k = 0; k < 2; ++k) {
            if (!fields[static_cast<size_t>(k)].empty()) {
                colors.colors[static_cast<size_t>(indices[k])] =
                    static_cast<ColorRef>(settingFieldValue(fields, k));
            }
        }
    }
    // Anything but "1" is the current close's rate, as before the option existed.
    settings.changeRateOfEntry =
        queryChartValue(store, kChartSubkey, kChangeRateBaseValue) == "1" ? 1 : 0;
    // Whole days in range, nothing else; anything another hand wrote reads as the default.
    {
        const std::string text = queryChartValue(store, kChartSubkey, kDeadlineDaysValue);
        int32_t days = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), days);
        settings.deadlineDays = !text.empty() && ec == std::errc{} &&
                                        end == text.data() + text.size() &&
                                        days >= kMinDeadlineDays && days <= kMaxDeadlineDays
                                    ? days
                                    : ChartSettings{}.deadlineDays;
    }
    // MODE is scanned as a whole text, not split: quotes are not dropped and the first
    // field that is not a number ends the reading.
    std::string mode = queryChartValue(store, kChartSubkey, "MODE");
    if (!mode.empty()) {
        std::array<int32_t, kSettingFieldCount> numbers{};
        scanIntegerFields(mode, numbers);
        settings.fillRisingBodies = numbers[2];
    }
}

void saveChartSettings(ValueStore& store, const ChartSettings& settings, const ColorTable& colors) {
    // Multiplied in float, as it was divided: every pitch of whole tenths comes back exactly.
    const int32_t pitchTenths = truncToInt32(settings.pitch * 10.0f);
    const std::array<int32_t, kSettingFieldCount> sayaMode = {settings.lowerPaneMode,
                                                              settings.buyTomeashi,
                                                              settings.sellTomeashi,
                                                              settings.buyCandles,
                                                              settings.sellCandles,
                                                              settings.spreadBase,
                                                              pitchTenths,
                                                              settings.buyAverage,
                                                              settings.sellAverage,
                                                              settings.spreadSource,
                                                              settings.buyAveragePeriod,
                                                              settings.sellAveragePeriod};
    storeChartValue(store, kChartSubkey, "SayaMode", joinFields(sayaMode));
    // A user who never changed an option keeps exactly the values the viewer always wrote.
    const ChartSettings defaults;
    const std::array<int32_t, 5> sayaOption = {settings.splitAdjustedDisplay, settings.ratioChart,
                                               settings.ratioPeriod, settings.overlaySellAtEntry,
                                               settings.showBacktest};
    const std::array<int32_t, 5> defaultOption = {
        defaults.splitAdjustedDisplay, defaults.ratioChart, defaults.ratioPeriod,
        defaults.overlaySellAtEntry, defaults.showBacktest};
    const std::string stored = queryChartValue(store, kChartSubkey, "SayaOption");
    if (sayaOption != defaultOption || !stored.empty()) {
        // The fifth field (検証を表示) came later: a value without it keeps four fields until
        // the option is first turned on.
        const bool fifth = settings.showBacktest != defaults.showBacktest ||
                           std::count(stored.begin(), stored.end(), ',') >= 4;
        storeChartValue(store, kChartSubkey, "SayaOption",
                        joinFields(std::span(sayaOption).first(fifth ? 5 : 4)));
    }

    // Written once the option is first turned on, so that a user who never does keeps the
    // values the viewer always wrote.
    if (settings.changeRateOfEntry == 1 ||
        !queryChartValue(store, kChartSubkey, kChangeRateBaseValue).empty()) {
        storeChartValue(store, kChartSubkey, kChangeRateBaseValue,
                        settings.changeRateOfEntry == 1 ? "1" : "0");
    }

    // Likewise written once it differs from the default or was written before.
    if (settings.deadlineDays != defaults.deadlineDays ||
        !queryChartValue(store, kChartSubkey, kDeadlineDaysValue).empty()) {
        storeChartValue(store, kChartSubkey, kDeadlineDaysValue,
                        std::to_string(settings.deadlineDays));
    }

    // Written as 32-bit signed numbers, which is what the loader reads back.
    std::array<int32_t, kColorRowLength> spread;
    for (int column = 0; column < kColorRowLength; ++column) {
        spread[column] = static_cast<int32_t>(colors.colors[kSpreadColorBase + column]);
    }
    storeChartValue(store, kChartSubkey, "COLOR_SY", joinFields(spread));
}

}  // namespace zepa
