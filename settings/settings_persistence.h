// Loading the chart settings and colours from the per-user store at start-up, and saving
// the ones the viewer keeps at exit.
#pragma once

#include "settings/chart_settings.h"
#include "settings/color_table.h"
#include "settings/value_store.h"

namespace zepa {

// The value holding the overlaid sell leg's two colours, "falling,rising", written by 詳細設定.
inline constexpr const char* kOverlaidSellColorsValue = "COLOR_OV";
// "1": change rates in percent of the entry close (ChartSettings::changeRateOfEntry); "0" or
// absent: of the current close.
inline constexpr const char* kChangeRateBaseValue = "ChangeRateBase";
inline constexpr const char* kDeadlineDaysValue = "DeadlineDays";

// Reads Mode_1, Mode_2, SayaMode, SayaOption, COLOR_1 ... COLOR_7, COLOR_SY, COLOR_OV and MODE
// from the CHART subkey. A missing value leaves every field it carries as it was; a malformed field
// reads as 0 and then takes the field's replacement, if it has one.
void loadChartSettings(ValueStore& store, ChartSettings& settings, ColorTable& colors);

// Writes SayaMode, then SayaOption when an option differs from its start-up value or the value
// exists already (the options have a value of their own, so SayaMode keeps the format other
// programs read), then COLOR_SY. Failures are silent.
void saveChartSettings(ValueStore& store, const ChartSettings& settings, const ColorTable& colors);

}  // namespace zepa
