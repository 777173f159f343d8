// The stored values no other dialog edits: pitch mode, bars in stretch mode, stepping interval,
// preset pitches, filled bodies, print scale, the editor command, the chart colours of rows
// 1-7 and the overlaid sell leg's. The "詳細設定" dialog edits them as one record and writes back
// only what changed, into the values' existing text formats.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/chart_settings.h"
#include "settings/color_table.h"
#include "settings/value_store.h"

namespace zepa {

// One editable chart colour: its index in the colour table and what it colours (UTF-8).
struct EditableColor {
    int index;
    std::string_view name;
};

// Every colour of rows 1-7 the chart and the data windows draw with, then the overlaid sell
// leg's two (stored in COLOR_OV). Index 33 (the cursor line's pen) is left out: the line is
// drawn by inverting, so its colour never shows.
inline constexpr std::array<EditableColor, 17> kEditableColors = {{
    {10, "外枠の帯"},
    {11, "チャートの背景"},
    {12, "外枠線・情報行の枠線"},
    {13, "情報行・見出しの背景"},
    {14, "情報行・見出しの文字"},
    {15, "上段の月の区切りと月名"},
    {16, "上段の価格目盛・さや/利益の表示"},
    {20, "棒グラフ（マイナス）"},
    {21, "棒グラフ（プラス）"},
    {50, "下段の背景"},
    {51, "下段の枠線"},
    {56, "下段の月の区切り"},
    {57, "下段のゼロ線"},
    {58, "下段の目盛線"},
    {59, "下段の目盛文字"},
    {kOverlaidSellFallingColor, "重ねた売り銘柄の陰線"},
    {kOverlaidSellRisingColor, "重ねた売り銘柄の陽線"},
}};
inline constexpr int kEditableColorCount = static_cast<int>(kEditableColors.size());

struct AdvancedSettings {
    int32_t pitchMode = 1;  // 1 fixed pitch, 0 aspect stretch; another stored value is kept
    int32_t stretchBarCount = kDefaultStretchBarCount;
    int32_t autoStepInterval = 40;                        // tenths of a second
    std::array<int32_t, kPitchPresetCount> pitchTable{};  // tenths of a pixel, 0 unused
    int32_t pitchIndex = 0;
    int32_t fillFallingBodies = 0;
    int32_t fillRisingBodies = 0;
    int32_t printScale = 100;
    std::string editor;  // the stored EDITOR text; empty means the default editor
    std::array<ColorRef, kEditableColorCount> colors{};

    bool operator==(const AdvancedSettings&) const = default;
};

// The values in force: from the settings, the colour table and the stored EDITOR.
AdvancedSettings currentAdvancedSettings(const ChartSettings& settings, const ColorTable& colors,
                                         ValueStore& store);

// The default colours of the editable entries.
std::array<ColorRef, kEditableColorCount> defaultEditableColors();

// Puts `after` into force and into the store. In memory, only what differs from `before` (the
// values the dialog opened with) changes; the pitch in use becomes the chosen preset when the
// choice, that preset or the pitch mode changed. In the store, only the fields whose stored
// value differs from `after` are written, and every other field of Mode_1, Mode_2, MODE,
// COLOR_n and COLOR_OV stays letter for letter; a value not stored yet is created with its known
// fields and 0 elsewhere.
void applyAdvancedSettings(ValueStore& store, const AdvancedSettings& before,
                           const AdvancedSettings& after, ChartSettings& settings,
                           ColorTable& colors);

}  // namespace zepa
