// The settings dialog "設定" as plain code: its control ids, the fill of its controls from the
// settings, and what each control does when pressed. The window that shows it implements
// SettingsDialogControls; nothing here knows the toolkit.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/chart_settings.h"
#include "settings/color_table.h"

namespace zepa {

namespace settings_dialog {
// Colour buttons: button b edits ColorTable[90 + (b - 230)].
inline constexpr int kFirstColorButton = 230;
inline constexpr int kLastColorButton = 239;
// Swatches: swatch s shows ColorTable[90 + (s - 240)].
inline constexpr int kFirstSwatch = 240;
inline constexpr int kSwatchCount = 10;
inline constexpr int kBuyPeriodEdit = 225;
inline constexpr int kSellPeriodEdit = 226;
inline constexpr int kBuyCandlesCheck = 300;
inline constexpr int kBuyTomeashiCheck = 301;
inline constexpr int kSellCandlesCheck = 302;
inline constexpr int kSellTomeashiCheck = 303;
inline constexpr int kBuyAverageCheck = 304;
inline constexpr int kSellAverageCheck = 305;
inline constexpr int kBaseSellRadio = 310;
inline constexpr int kBaseBuyRadio = 311;
inline constexpr int kSourceCloseRadio = 312;
inline constexpr int kSourceAverageRadio = 313;
// Options below the groups: "株式分割を調整して表示" (splitAdjustedDisplay), "レシオケータを表示"
// (ratioChart), "売り銘柄を建値で重ねる" (overlaySellAtEntry), "検証を表示" (showBacktest) and the
// ratio chart's period.
inline constexpr int kRatioPeriodEdit = 227;
inline constexpr int kSplitAdjustedCheck = 320;
inline constexpr int kRatioChartCheck = 321;
inline constexpr int kOverlaySellCheck = 322;
inline constexpr int kShowBacktestCheck = 323;
// "変動率を建値に対する％で表示" (changeRateOfEntry).
inline constexpr int kChangeRateOfEntryCheck = 324;
// "期日の合図(残日数)": 建玉一覧's 期日 from this many days before the deadline (deadlineDays).
inline constexpr int kDeadlineDaysEdit = 228;
inline constexpr int kResetButton = 221;
inline constexpr int kCloseButton = 220;

inline constexpr std::string_view kTitle = "設定";
inline constexpr std::string_view kResetQuestion =
    "今までの設定が失われます\n\n実行してもよろしいですか？";
inline constexpr std::string_view kResetCaption = "設定の初期化";
inline constexpr std::string_view kInputErrorCaption = "入力エラー";
inline constexpr std::string_view kNoInput = "入力がありません";
inline constexpr std::string_view kRatioPeriodRange = "レシオケータの期間は 5 から 250 までです";
inline constexpr std::string_view kDeadlineDaysLabel = "期日の合図(残日数)";
inline constexpr std::string_view kDeadlineDaysRange = "期日の合図(残日数)は 0 から 366 までです";
}  // namespace settings_dialog

// The sixteen custom colours the colour chooser offers, set afresh on every call.
inline constexpr std::array<ColorRef, 16> kSpreadCustomColors = {
    rgbColor(0, 0, 0),     rgbColor(63, 63, 63),  rgbColor(127, 127, 127), rgbColor(255, 255, 255),
    rgbColor(255, 0, 0),   rgbColor(127, 0, 0),   rgbColor(0, 255, 0),     rgbColor(0, 127, 0),
    rgbColor(0, 0, 255),   rgbColor(0, 0, 127),   rgbColor(0, 255, 255),   rgbColor(0, 127, 127),
    rgbColor(255, 0, 255), rgbColor(127, 0, 127), rgbColor(255, 255, 0),   rgbColor(127, 127, 0)};

// What the dialog logic asks of the dialog window and of the program behind it.
class SettingsDialogControls {
  public:
    virtual ~SettingsDialogControls() = default;

    // The check mark of a check box or radio button: 0 off, 1 on; other values are what the
    // field held (a stored 2 is neither on nor off for the chart).
    virtual void setCheck(int id, int32_t value) = 0;
    virtual void setEditText(int id, std::string_view text) = 0;
    // The edit's text as typed (ASCII digits are all that counts).
    virtual std::string editText(int id) = 0;
    // A Yes/No question with the information icon; true for Yes.
    virtual bool askYesNo(std::string_view text, std::string_view caption) = 0;
    // A message with the warning icon and an OK button; the dialog stays open.
    virtual void warn(std::string_view text, std::string_view caption) = 0;
    // The colour chooser opened on `initial` with the given custom colours; empty when the user
    // cancelled.
    virtual std::optional<ColorRef> chooseColor(ColorRef initial,
                                                const std::array<ColorRef, 16>& customColors) = 0;
    // The dialog's swatches show the spread colours anew.
    virtual void repaintSwatches() = 0;
    // The chart behind the dialog repaints with the current colours.
    virtual void invalidateFrame() = 0;
    // The series of the current position is built anew; true when it succeeded.
    virtual bool rebuildSeries() = 0;
    virtual void endDialog(int result) = 0;
};

// Check marks, radio groups, the period edits and the deadline days from the settings.
void fillSettingsDialog(const ChartSettings& settings, SettingsDialogControls& controls);

// One press of control `id`; ids without an action do nothing. Returns true when the dialog
// ended (the close button; a ratio period or deadline days missing or out of range keep it
// open, and nothing of the dialog is taken then).
bool settingsDialogCommand(ChartSettings& settings, ColorTable& colors,
                           SettingsDialogControls& controls, int id);

// A rectangle of a dialog, a control or a screen: in pixels or in dialog units.
struct DialogRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The dialog's top-left corner when centred on the screen rectangle; a dialog larger than the
// screen keeps to the screen's left or top edge.
struct DialogPoint {
    int32_t x = 0;
    int32_t y = 0;
};
DialogPoint centerDialog(const DialogRect& screen, int32_t dialogWidth, int32_t dialogHeight);

// A template rectangle in dialog units as pixels, given the dialog font's base units (average
// character width and character height): x and width in quarters of the width, y and height
// in eighths of the height, rounded to the nearest pixel.
DialogRect dialogUnitsToPixels(const DialogRect& units, int32_t baseWidth, int32_t baseHeight);

}  // namespace zepa
