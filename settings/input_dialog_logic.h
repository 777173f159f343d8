// The input dialog as plain code: one value asked for in one of two modes, the temporary
// pitch and the print scale, and the About box's texts. The caller reads keyCommand (220 the
// execute button, 221 cancel) and, for the print scale, inputText.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/chart_settings.h"

namespace zepa {

namespace input_dialog {
inline constexpr int kPitchMode = 2;
inline constexpr int kPrintScaleMode = 4;

inline constexpr int kPromptLabel = 241;
inline constexpr int kValueEdit = 225;
inline constexpr int kExecuteButton = 220;
inline constexpr int kCancelButton = 221;

inline constexpr std::string_view kExecuteText = "実行";
inline constexpr std::string_view kCancelText = "ｷｬﾝｾﾙ";
inline constexpr std::string_view kPitchTitle = "ピッチの一時変更";
inline constexpr std::string_view kPitchPrompt = "ピッチを入力して下さい";
inline constexpr std::string_view kScaleTitle = "印刷のサイズ指定";
inline constexpr std::string_view kScalePrompt = "倍率（％）を指定して下さい";
inline constexpr std::string_view kInputErrorCaption = "入力エラー";
inline constexpr std::string_view kNoInputMessage = "入力がありません";
inline constexpr std::string_view kPitchRangeMessage = "ピッチは 0.1 から 50 までです";
inline constexpr std::string_view kWrongInputMessage = "入力に誤りがあります";

// inputText keeps at most this many bytes.
inline constexpr size_t kInputTextLimit = 199;
}  // namespace input_dialog

namespace about_dialog {
inline constexpr std::string_view kTitle = "バージョン情報";
inline constexpr std::string_view kProgramLine = "ZEPA_SPW.EXE   Version  1.0";
inline constexpr std::string_view kMakerLine = "さやチャート開発チーム";
inline constexpr std::string_view kOkText = "O K";
inline constexpr int kOkButton = 220;
inline constexpr int kProgramIcon = 600;
}  // namespace about_dialog

// Title, prompt and the edit's first text of a mode (UTF-8). A mode other than the two leaves
// all three empty.
struct InputDialogTexts {
    std::string title;
    std::string prompt;
    std::string preset;
};
InputDialogTexts inputDialogTexts(int mode, const ChartSettings& settings);

struct InputDialogState {
    int mode = 0;
    int32_t keyCommand = -1;  // the button that closed the dialog
    std::string inputText;    // the edit's text when "実行" was pressed, cut at the limit
};

// What one button press did: the dialog ended, or it stays open with a message (caption
// kInputErrorCaption, warning icon) or without one.
struct InputDialogStep {
    bool ended = false;
    std::string_view message;
};

// One press of control `id` with the edit holding `editText`. "実行" stores the text in
// inputText and, when it is accepted, sets pitch in the pitch mode; cancel changes nothing but
// keyCommand. Other ids do nothing.
InputDialogStep inputDialogCommand(InputDialogState& state, ChartSettings& settings, int id,
                                   std::string_view editText);

// The print scale an accepted inputText stands for (atoi).
int32_t printScaleFromInput(std::string_view inputText);

}  // namespace zepa
