// The detailed settings' checks: every number is read strictly (digits, and one decimal where
// the value is kept in tenths), so that what is stored is exactly what the dialog showed.
#include "settings/advanced_dialog_logic.h"

#include <optional>

#include "base/parse_int.h"

namespace zepa {
namespace {

using namespace advanced_dialog;

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "12", "12.", "12.3" or ".3" in tenths.
std::optional<int32_t> tenthsValue(std::string_view text) {
    const size_t point = text.find('.');
    if (point == std::string_view::npos) {
        const auto whole = parseDigits(text);
        return whole ? std::optional<int32_t>(*whole * 10) : std::nullopt;
    }
    const std::string_view wholeText = text.substr(0, point);
    const std::string_view tenthText = text.substr(point + 1);
    if (tenthText.size() > 1 || (wholeText.empty() && tenthText.empty())) {
        return std::nullopt;
    }
    const auto whole = wholeText.empty() ? std::optional<int32_t>(0) : parseDigits(wholeText);
    const auto tenth = tenthText.empty() ? std::optional<int32_t>(0) : parseDigits(tenthText);
    if (!whole || !tenth) {
        return std::nullopt;
    }
    return *whole * 10 + *tenth;
}

// How one edit is read: its control, whole numbers or tenths, the accepted range, whether an
// empty edit means 0 (an unused preset), and the message of a refusal.
struct NumberField {
    int control;
    bool tenths;
    int32_t low;
    int32_t high;
    bool emptyIsZero;
    std::string_view message;
};

}  // namespace

std::string tenthsText(int32_t tenths) {
    if (tenths <= 0) {
        return {};
    }
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

bool presetShownInUse(const AdvancedForm& form, int k) {
    return k >= 0 && k < kPitchPresetCount && form.pitchIndex == k &&
           form.presets[static_cast<size_t>(k)].find_first_not_of(" \t") != std::string::npos;
}

AdvancedForm advancedFormOf(const AdvancedSettings& v) {
    AdvancedForm f;
    f.pitchMode = v.pitchMode;
    f.stretchBars = std::to_string(v.stretchBarCount);
    f.stepSeconds = tenthsText(v.autoStepInterval);
    for (int k = 0; k < kPitchPresetCount; ++k) {
        f.presets[static_cast<size_t>(k)] = tenthsText(v.pitchTable[static_cast<size_t>(k)]);
    }
    f.pitchIndex = v.pitchIndex;
    f.fillFallingBodies = v.fillFallingBodies;
    f.fillRisingBodies = v.fillRisingBodies;
    f.printScale = std::to_string(v.printScale);
    f.editor = v.editor;
    f.colors = v.colors;
    return f;
}

AdvancedFormCheck readAdvancedForm(const AdvancedForm& form, const AdvancedSettings& current,
                                   AdvancedSettings& out) {
    out = current;
    // A field left as it was shown keeps its value, even one outside the ranges that another
    // program stored: the user was not asked about it.
    const AdvancedForm shown = advancedFormOf(current);
    AdvancedFormCheck refused;
    const auto read = [&](const NumberField& field, const std::string& text,
                          const std::string& shownText, int32_t& value) {
        if (text == shownText) {
            return true;
        }
        const std::string_view t = trimmed(text);
        if (t.empty() && field.emptyIsZero) {
            value = 0;
            return true;
        }
        if (t.empty()) {
            refused = {field.control, kNoInputMessage};
            return false;
        }
        const auto v = field.tenths ? tenthsValue(t) : parseDigits(t);
        if (!v || *v < field.low || *v > field.high) {
            refused = {field.control, field.message};
            return false;
        }
        value = *v;
        return true;
    };

    out.pitchMode = form.pitchMode;
    if (!read(
            {kStretchBarsEdit, false, kStretchBarsMin, kStretchBarsMax, false, kStretchBarsMessage},
            form.stretchBars, shown.stretchBars, out.stretchBarCount) ||
        !read({kStepSecondsEdit, true, kStepTenthsMin, kStepTenthsMax, false, kStepMessage},
              form.stepSeconds, shown.stepSeconds, out.autoStepInterval)) {
        return refused;
    }
    for (int k = 0; k < kPitchPresetCount; ++k) {
        const auto i = static_cast<size_t>(k);
        if (!read({kFirstPresetEdit + k, true, kPresetTenthsMin, kPresetTenthsMax, true,
                   kPresetMessage},
                  form.presets[i], shown.presets[i], out.pitchTable[i])) {
            return refused;
        }
    }
    out.pitchIndex = form.pitchIndex;
    out.fillFallingBodies = form.fillFallingBodies;
    out.fillRisingBodies = form.fillRisingBodies;
    if (!read({kPrintScaleEdit, false, kPrintScaleMin, kPrintScaleMax, false, kPrintScaleMessage},
              form.printScale, shown.printScale, out.printScale)) {
        return refused;
    }
    // One line of text: a line break would end the value for every reader.
    if (form.editor.size() > kEditorLimit ||
        form.editor.find_first_of(std::string_view("\0\r\n", 3)) != std::string::npos) {
        return {kEditorEdit, kEditorMessage};
    }
    out.editor = form.editor;
    out.colors = form.colors;
    return {};
}

}  // namespace zepa
