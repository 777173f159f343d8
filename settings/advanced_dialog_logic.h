// The "詳細設定" dialog as plain code: its control ids and texts, the form it shows (edits as
// text, marks and colours), and the checks that turn the form back into values. The Qt dialog
// holds a form, shows it, and on "OK" reads it here; a refused field keeps the dialog open with
// a message (caption "入力エラー") and the focus on that field.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/advanced_settings.h"

namespace zepa {

namespace advanced_dialog {
inline constexpr std::string_view kTitle = "詳細設定";
inline constexpr std::string_view kMenuText = "詳細設定(&D)";
// What a pitch and its presets are measured in: the width of one bar.
inline constexpr std::string_view kPitchUnit = "ピクセル";

inline constexpr int kFixedPitchRadio = 400;
inline constexpr int kStretchRadio = 401;
inline constexpr int kStretchBarsEdit = 402;
inline constexpr int kStepSecondsEdit = 403;
inline constexpr int kFirstPresetEdit = 410;   // 410..415
inline constexpr int kFirstPresetRadio = 420;  // 420..425: the preset in use
inline constexpr int kFillFallingCheck = 430;
inline constexpr int kFillRisingCheck = 431;
inline constexpr int kPrintScaleEdit = 432;
inline constexpr int kEditorEdit = 433;
inline constexpr int kEditorBrowseButton = 434;
inline constexpr int kFirstColorButton = 440;  // one per editable colour
inline constexpr int kResetColorsButton = 470;
inline constexpr int kOkButton = 480;
inline constexpr int kCancelButton = 481;

inline constexpr int32_t kStretchBarsMin = 10;
inline constexpr int32_t kStretchBarsMax = 1000;
inline constexpr int32_t kStepTenthsMin = 1;  // 0.1 s
inline constexpr int32_t kStepTenthsMax = 600;
inline constexpr int32_t kPresetTenthsMin = 1;  // as the temporary pitch: 0.1 to 50
inline constexpr int32_t kPresetTenthsMax = 500;
inline constexpr int32_t kPrintScaleMin = 1;
inline constexpr int32_t kPrintScaleMax = 1000;
// What the per-user store's reader keeps of a value.
inline constexpr size_t kEditorLimit = 199;

inline constexpr std::string_view kInputErrorCaption = "入力エラー";
inline constexpr std::string_view kNoInputMessage = "入力がありません";
inline constexpr std::string_view kStretchBarsMessage = "表示本数は 10 から 1000 までです";
inline constexpr std::string_view kStepMessage =
    "自動移動の間隔は 0.1 から 60 秒まで、0.1 秒単位です";
inline constexpr std::string_view kPresetMessage =
    "ピッチは 0.1 から 50 まで、0.1 単位です（空欄は未使用）";
inline constexpr std::string_view kPrintScaleMessage = "印刷倍率は 1 から 1000 ％までです";
inline constexpr std::string_view kEditorMessage =
    "エディタのコマンドが長すぎます（199 バイトまで）";
}  // namespace advanced_dialog

// What the dialog shows. Marks hold the stored number, so that a value other than 0 and 1 that
// the user did not touch is written back as it was; clicking sets 0 or 1.
struct AdvancedForm {
    int32_t pitchMode = 1;  // the fixed-pitch radio is marked for any value but 0
    std::string stretchBars;
    std::string stepSeconds;
    std::array<std::string, kPitchPresetCount> presets;
    int32_t pitchIndex = 0;
    int32_t fillFallingBodies = 0;
    int32_t fillRisingBodies = 0;
    std::string printScale;
    std::string editor;
    std::array<ColorRef, kEditableColorCount> colors{};
};

AdvancedForm advancedFormOf(const AdvancedSettings& values);

// A tenth-based number as the dialog shows it: "4.0", "2.5"; a preset of 0 shows as empty.
std::string tenthsText(int32_t tenths);

// Whether preset k's 使用中 mark shows: it is the preset in use and its field is not empty (an
// empty preset is unused, and the pitch button skips it).
bool presetShownInUse(const AdvancedForm& form, int k);

// The result of reading the form: empty message when every field was accepted.
struct AdvancedFormCheck {
    int control = 0;  // the refused field's control id
    std::string_view message;
    bool ok() const { return message.empty(); }
};

// Reads the form into `out` (fields the dialog does not show are taken from `current`), checking
// each field in the dialog's order; the first refusal is returned and `out` is then unusable.
AdvancedFormCheck readAdvancedForm(const AdvancedForm& form, const AdvancedSettings& current,
                                   AdvancedSettings& out);

}  // namespace zepa
