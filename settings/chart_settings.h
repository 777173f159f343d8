// The user's chart settings: switches, moving-average periods, pitch and modes. One instance
// lives in the application context; the chart, the dialogs and the data windows read it at
// their next drawing.
#pragma once

#include <array>
#include <cstdint>

namespace zepa {

inline constexpr int kPitchPresetCount = 6;

// The member initialisers are the values the viewer starts with before the per-user store
// is read; a field that the store does not carry keeps them.
struct ChartSettings {
    // 0 profit, 1 change rate, 2 spread, 3 ratio (3 only arrives from the store).
    int32_t lowerPaneMode = 0;
    // 1 = draw the leg's tomeashi line in the price pane; any other value = off.
    int32_t buyTomeashi = 0;
    int32_t sellTomeashi = 0;
    // 1 = draw the leg's candlesticks; any other value = off.
    int32_t buyCandles = 1;
    int32_t sellCandles = 1;
    // Reference stock of the spread: 0 the sell stock, 1 the buy stock.
    int32_t spreadBase = 0;
    // Horizontal distance between two bars in pixels (stored in tenths), the user's: in stretch
    // mode the chart draws with a pitch of its own (ChartLayout::pitch).
    float pitch = 5.0f;
    // 1 = draw the leg's moving average (only with a period above 0).
    int32_t buyAverage = 0;
    int32_t sellAverage = 0;
    // What the spread is computed from: 0 the closes, 1 the moving averages.
    int32_t spreadSource = 0;
    int32_t buyAveragePeriod = 5;
    int32_t sellAveragePeriod = 5;
    // 1 fixed pitch; 0 aspect stretch (stretchBarCount bars fill the width).
    int32_t pitchMode = 1;
    // 1 = fill the bodies of falling candles.
    int32_t fillFallingBodies = 0;
    // 1 = together with fillFallingBodies, fill the rising bodies too.
    int32_t fillRisingBodies = 0;
    // Bars shown in aspect stretch mode; set only from the store (stretchBarsShown).
    int32_t stretchBarCount = 0;
    // Automatic stepping period in tenths of a second.
    int32_t autoStepInterval = 40;
    // Preset pitches in tenths of a pixel; 0 marks an unused preset.
    std::array<int32_t, kPitchPresetCount> pitchTable{};
    int32_t pitchIndex = 0;
    // Print size in percent.
    int32_t printScale = 100;

    // Options no other stored value has a field for, kept together in `SayaOption`.
    // 1 = draw bars before a stock split in the basis of the newest bar.
    int32_t splitAdjustedDisplay = 0;
    // 1 = the chart-switch key also reaches the ratio chart (lower pane 3).
    int32_t ratioChart = 0;
    // Bars over which the ratio's mean and deviation are taken.
    int32_t ratioPeriod = 25;
    // 1 = draw the sell leg scaled so that both legs meet at the entry.
    int32_t overlaySellAtEntry = 0;
    // 1 = the held position's trades by the default ratio rule on the ratio chart (検証を表示).
    int32_t showBacktest = 0;

    // Kept in a value of its own, `ChangeRateBase`: 1 = the change rates (panel, 変動率 chart,
    // さやデータ) in percent of the entry close rather than of the current close.
    int32_t changeRateOfEntry = 0;

    // Kept in a value of its own, `DeadlineDays`: 建玉一覧 calls "期日" from this many days
    // before the margin deadline on (kMinDeadlineDays to kMaxDeadlineDays).
    int32_t deadlineDays = 20;
};

// Bars shown in aspect stretch mode while the store never set a count (a Mode_1 of 0 reads so).
inline constexpr int32_t kDefaultStretchBarCount = 120;

inline int32_t stretchBarsShown(const ChartSettings& s) {
    return s.stretchBarCount > 0 ? s.stretchBarCount : kDefaultStretchBarCount;
}

inline constexpr int32_t kRatioPeriodMin = 5;
inline constexpr int32_t kRatioPeriodMax = 250;

inline constexpr int32_t kMinDeadlineDays = 0;
inline constexpr int32_t kMaxDeadlineDays = 366;

}  // namespace zepa
