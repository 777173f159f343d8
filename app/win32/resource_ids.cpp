// The resource script can only take numbers from the preprocessor; these checks keep its ids
// the ones the plain dialog logic acts on.
#include "resource_ids.h"

#include "app/shell.h"
#include "settings/advanced_dialog_logic.h"
#include "settings/advanced_settings.h"
#include "settings/settings_dialog_logic.h"

namespace zepa::win32 {

static_assert(ZEPA_ADVANCED_SETTINGS_COMMAND == command::kAdvancedSettings);

static_assert(ZEPA_SET_RATIO_PERIOD == settings_dialog::kRatioPeriodEdit);
static_assert(ZEPA_SET_SPLIT_ADJUSTED == settings_dialog::kSplitAdjustedCheck);
static_assert(ZEPA_SET_RATIO_CHART == settings_dialog::kRatioChartCheck);
static_assert(ZEPA_SET_OVERLAY_SELL == settings_dialog::kOverlaySellCheck);
static_assert(ZEPA_SET_SHOW_BACKTEST == settings_dialog::kShowBacktestCheck);
static_assert(ZEPA_SET_CHANGE_RATE_OF_ENTRY == settings_dialog::kChangeRateOfEntryCheck);
static_assert(ZEPA_SET_DEADLINE_DAYS == settings_dialog::kDeadlineDaysEdit);

namespace adv = advanced_dialog;
static_assert(ZEPA_ADV_FIXED_PITCH == adv::kFixedPitchRadio);
static_assert(ZEPA_ADV_STRETCH == adv::kStretchRadio);
static_assert(ZEPA_ADV_STRETCH_BARS == adv::kStretchBarsEdit);
static_assert(ZEPA_ADV_STEP_SECONDS == adv::kStepSecondsEdit);
static_assert(ZEPA_ADV_FIRST_PRESET == adv::kFirstPresetEdit);
static_assert(ZEPA_ADV_FIRST_PRESET_RADIO == adv::kFirstPresetRadio);
static_assert(ZEPA_ADV_FILL_FALLING == adv::kFillFallingCheck);
static_assert(ZEPA_ADV_FILL_RISING == adv::kFillRisingCheck);
static_assert(ZEPA_ADV_PRINT_SCALE == adv::kPrintScaleEdit);
static_assert(ZEPA_ADV_EDITOR == adv::kEditorEdit);
static_assert(ZEPA_ADV_EDITOR_BROWSE == adv::kEditorBrowseButton);
static_assert(ZEPA_ADV_FIRST_COLOR == adv::kFirstColorButton);
static_assert(ZEPA_ADV_RESET_COLORS == adv::kResetColorsButton);
static_assert(ZEPA_ADV_OK == adv::kOkButton);
static_assert(ZEPA_ADV_CANCEL == adv::kCancelButton);
// The script has six presets and seventeen colours, each with its swatch; the swatches' ids run
// clear of every other control's.
static_assert(kPitchPresetCount == 6);
static_assert(kEditableColorCount == 17);
static_assert(ZEPA_ADV_FIRST_PRESET + kPitchPresetCount <= ZEPA_ADV_FIRST_PRESET_RADIO);
static_assert(ZEPA_ADV_FIRST_COLOR + kEditableColorCount <= ZEPA_ADV_RESET_COLORS);
static_assert(ZEPA_ADV_FIRST_SWATCH > ZEPA_ADV_CANCEL);

}  // namespace zepa::win32
