// The input dialog's rules: an empty edit is refused before any conversion, a pitch must lie
// from 0.1 to 50 and a print scale must be positive; the text stays for the user to correct.
#include "settings/input_dialog_logic.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace zepa {

namespace {

using namespace input_dialog;

// The text as the C library converts it: the buffer ends at the first NUL.
std::string terminated(std::string_view text) {
    std::string out(text.substr(0, text.find('\0')));
    return out;
}

}  // namespace

InputDialogTexts inputDialogTexts(int mode, const ChartSettings& settings) {
    InputDialogTexts texts;
    if (mode == kPitchMode) {
        texts.title = kPitchTitle;
        texts.prompt = kPitchPrompt;
    } else if (mode == kPrintScaleMode) {
        texts.title = kScaleTitle;
        texts.prompt = kScalePrompt;
        char preset[16];
        std::snprintf(preset, sizeof preset, " %d", settings.printScale);
        texts.preset = preset;
    }
    return texts;
}

int32_t printScaleFromInput(std::string_view inputText) {
    const long value = std::strtol(terminated(inputText).c_str(), nullptr, 10);
    // atoi's int; out-of-range text saturates instead of wrapping.
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(value);
}

InputDialogStep inputDialogCommand(InputDialogState& state, ChartSettings& settings, int id,
                                   std::string_view editText) {
    if (id == kCancelButton) {
        state.keyCommand = kCancelButton;
        return InputDialogStep{true, {}};
    }
    if (id != kExecuteButton) {
        return InputDialogStep{};
    }
    state.inputText = terminated(editText.substr(0, kInputTextLimit));
    if (state.inputText.empty()) {
        return InputDialogStep{false, kNoInputMessage};
    }
    if (state.mode == kPitchMode) {
        const double typed = std::strtod(state.inputText.c_str(), nullptr);
        // Held as a float, as the pitch is; NaN and values beyond any float never reach the
        // narrowing and are refused.
        const float pitch = typed > -1e30 && typed < 1e30 ? static_cast<float>(typed) : 1e30f;
        if (!(pitch >= 0.1 && pitch <= 50.0)) {
            return InputDialogStep{false, kPitchRangeMessage};
        }
        settings.pitch = pitch;
    } else if (state.mode == kPrintScaleMode) {
        if (printScaleFromInput(state.inputText) <= 0) {
            return InputDialogStep{false, kWrongInputMessage};
        }
    }
    state.keyCommand = kExecuteButton;
    return InputDialogStep{true, {}};
}

}  // namespace zepa
