#include "settings/advanced_settings.h"

#include <algorithm>
#include <vector>

#include "settings/chart_values.h"
#include "settings/settings_persistence.h"

namespace zepa {
namespace {

// Fields of the stored texts the dialog owns.
constexpr int kMode1PitchMode = 5;
constexpr int kMode1FillFalling = 6;
constexpr int kMode1StretchBars = 10;
constexpr int kMode1StepInterval = 12;
constexpr int kMode1FirstPreset = 13;
constexpr int kMode1PresetIndex = 19;
constexpr int kMode2PrintScale = 8;
constexpr int kModeFillRising = 2;

struct FieldChange {
    int index;
    int32_t before;
    int32_t after;
};

std::vector<std::string> splitRaw(std::string_view text) {
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back().push_back(c);
        }
    }
    return fields;
}

std::string joinRaw(const std::vector<std::string>& fields) {
    std::string text;
    for (size_t i = 0; i < fields.size(); ++i) {
        text += (i > 0 ? "," : "") + fields[i];
    }
    return text;
}

// A field sscanf's "%d" reads whole: blanks, an optional sign and digits.
bool scansAsInteger(std::string_view field) {
    const size_t start = field.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string_view::npos) {
        return false;
    }
    size_t digits = start;
    if (field[digits] == '+' || field[digits] == '-') {
        ++digits;
    }
    return digits < field.size() &&
           std::all_of(field.begin() + static_cast<std::ptrdiff_t>(digits), field.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// The fields of a value's text with the changes made. An existing text keeps every other field as
// it stands (cut where the readers stop: at their length, a NUL, CR or LF); a missing one is made
// of every known field and 0 elsewhere.
std::vector<std::string> editedFields(const std::string* existing, int fieldCount,
                                      const std::vector<FieldChange>& changes, int highest) {
    std::vector<std::string> fields;
    if (existing != nullptr) {
        fields = splitRaw(existing->substr(
            0, std::min(existing->size(), existing->find_first_of(std::string_view("\0\r\n", 3)))));
    }
    const auto needed = static_cast<size_t>(existing != nullptr ? highest + 1 : fieldCount);
    if (fields.size() < needed) {
        fields.resize(needed, "0");
    }
    for (const FieldChange& c : changes) {
        if (existing == nullptr || c.before != c.after) {
            fields[static_cast<size_t>(c.index)] = std::to_string(c.after);
        }
    }
    return fields;
}

// Writes the changed fields of a CHART value of `fieldCount` fields, keeping the others. With
// `scanned`, the value is read with sscanf up to the first bad field, so the fields before a
// changed one must read as numbers.
void rewriteFields(ValueStore& store, std::string_view name, int fieldCount,
                   const std::vector<FieldChange>& changes, bool scanned = false) {
    if (std::none_of(changes.begin(), changes.end(),
                     [](const FieldChange& c) { return c.before != c.after; })) {
        return;
    }
    // The text as the readers see it: a field past their cut must not come into view when an
    // edit makes the text shorter.
    const std::string raw = queryChartValue(store, kChartSubkey, name);
    const bool present = !raw.empty();
    const int highest = std::max_element(changes.begin(), changes.end(), [](auto& l, auto& r) {
                            return l.index < r.index;
                        })->index;
    std::vector<std::string> fields =
        editedFields(present ? &raw : nullptr, fieldCount, changes, highest);
    if (scanned) {
        for (int i = 0; i < highest; ++i) {
            if (!scansAsInteger(fields[static_cast<size_t>(i)])) {
                fields[static_cast<size_t>(i)] = "0";
            }
        }
    }
    // The readers keep kValueTextLimit characters and twenty fields: a text that grows beyond
    // them loses the fields past twenty, which nobody reads, and if that is not enough it is
    // made anew, so that what was chosen is what is read.
    if (joinRaw(fields).size() > kValueTextLimit && fields.size() > kSettingFieldCount) {
        fields.resize(kSettingFieldCount);
    }
    if (joinRaw(fields).size() > kValueTextLimit) {
        fields = editedFields(nullptr, fieldCount, changes, highest);
    }
    storeChartValue(store, kChartSubkey, name, joinRaw(fields));
}

// Colours are stored as the 32-bit signed numbers the loader reads back.
int32_t storedColor(ColorRef color) {
    return static_cast<int32_t>(color);
}

// What the viewer's next start would read from the store, as the dialog shows it.
AdvancedSettings storedAdvancedSettings(ValueStore& store) {
    ChartSettings settings;
    ColorTable colors;
    resetColorTable(colors);
    resetSpreadColors(colors);
    loadChartSettings(store, settings, colors);
    return currentAdvancedSettings(settings, colors, store);
}

void writeColorRows(ValueStore& store, const AdvancedSettings& before,
                    const AdvancedSettings& after, const ColorTable& colors) {
    for (int row = 1; row <= 7; ++row) {
        std::vector<FieldChange> changes;
        for (int k = 0; k < kEditableColorCount; ++k) {
            const int index = kEditableColors[static_cast<size_t>(k)].index;
            if (index / kColorRowLength == row) {
                const auto i = static_cast<size_t>(k);
                changes.push_back({index % kColorRowLength, storedColor(before.colors[i]),
                                   storedColor(after.colors[i])});
            }
        }
        // A new row carries all ten colours, the ones the viewer does not draw with included;
        // unchanged, they change nothing in an existing row.
        for (int column = 0; column < kColorRowLength; ++column) {
            const bool owned = std::any_of(changes.begin(), changes.end(),
                                           [&](const FieldChange& c) { return c.index == column; });
            if (!owned) {
                const int32_t kept =
                    storedColor(colors.colors[static_cast<size_t>(row * kColorRowLength + column)]);
                changes.push_back({column, kept, kept});
            }
        }
        rewriteFields(store, "COLOR_" + std::to_string(row), kColorRowLength, changes);
    }
    std::vector<FieldChange> overlaid;
    for (int k = 0; k < kEditableColorCount; ++k) {
        const int index = kEditableColors[static_cast<size_t>(k)].index;
        if (index == kOverlaidSellFallingColor || index == kOverlaidSellRisingColor) {
            const auto i = static_cast<size_t>(k);
            overlaid.push_back({index == kOverlaidSellFallingColor ? 0 : 1,
                                storedColor(before.colors[i]), storedColor(after.colors[i])});
        }
    }
    rewriteFields(store, kOverlaidSellColorsValue, 2, overlaid);
}

template <typename T>
void setIfChanged(T& field, const T& before, const T& after) {
    if (before != after) {
        field = after;
    }
}

void applyInMemory(const AdvancedSettings& b, const AdvancedSettings& a, ChartSettings& settings,
                   ColorTable& colors) {
    setIfChanged(settings.pitchMode, b.pitchMode, a.pitchMode);
    setIfChanged(settings.stretchBarCount, b.stretchBarCount, a.stretchBarCount);
    setIfChanged(settings.autoStepInterval, b.autoStepInterval, a.autoStepInterval);
    setIfChanged(settings.pitchTable, b.pitchTable, a.pitchTable);
    setIfChanged(settings.pitchIndex, b.pitchIndex, a.pitchIndex);
    setIfChanged(settings.fillFallingBodies, b.fillFallingBodies, a.fillFallingBodies);
    setIfChanged(settings.fillRisingBodies, b.fillRisingBodies, a.fillRisingBodies);
    setIfChanged(settings.printScale, b.printScale, a.printScale);
    for (int k = 0; k < kEditableColorCount; ++k) {
        const auto i = static_cast<size_t>(k);
        setIfChanged(colors.colors[static_cast<size_t>(kEditableColors[i].index)], b.colors[i],
                     a.colors[i]);
    }
    const bool inRange = a.pitchIndex >= 0 && a.pitchIndex < kPitchPresetCount;
    const int32_t preset = inRange ? a.pitchTable[static_cast<size_t>(a.pitchIndex)] : 0;
    const bool choiceChanged =
        a.pitchIndex != b.pitchIndex || a.pitchMode != b.pitchMode ||
        (inRange && b.pitchTable[static_cast<size_t>(a.pitchIndex)] != preset);
    if (a.pitchMode == 1 && preset > 0 && choiceChanged) {
        // As the next-pitch command sets it.
        settings.pitch = static_cast<float>(preset * 0.1);
    }
}

// `b` is what the next start would read from the store.
void storeChanges(ValueStore& store, const AdvancedSettings& b, const AdvancedSettings& a,
                  const ColorTable& colors) {
    std::vector<FieldChange> mode1 = {{kMode1PitchMode, b.pitchMode, a.pitchMode},
                                      {kMode1FillFalling, b.fillFallingBodies, a.fillFallingBodies},
                                      {kMode1StretchBars, b.stretchBarCount, a.stretchBarCount},
                                      {kMode1StepInterval, b.autoStepInterval, a.autoStepInterval},
                                      {kMode1PresetIndex, b.pitchIndex, a.pitchIndex}};
    for (int k = 0; k < kPitchPresetCount; ++k) {
        const auto i = static_cast<size_t>(k);
        mode1.push_back({kMode1FirstPreset + k, b.pitchTable[i], a.pitchTable[i]});
    }
    rewriteFields(store, "Mode_1", kSettingFieldCount, mode1);
    rewriteFields(store, "Mode_2", kSettingFieldCount,
                  {{kMode2PrintScale, b.printScale, a.printScale}});
    rewriteFields(store, "MODE", kSettingFieldCount,
                  {{kModeFillRising, b.fillRisingBodies, a.fillRisingBodies}}, true);
    writeColorRows(store, b, a, colors);
    if (a.editor != b.editor) {
        storeChartValue(store, kMenuSubkey, "EDITOR", a.editor);
    }
}

}  // namespace

std::array<ColorRef, kEditableColorCount> defaultEditableColors() {
    ColorTable table;
    resetColorTable(table);
    std::array<ColorRef, kEditableColorCount> out{};
    for (int k = 0; k < kEditableColorCount; ++k) {
        out[static_cast<size_t>(k)] =
            table.colors[static_cast<size_t>(kEditableColors[static_cast<size_t>(k)].index)];
    }
    return out;
}

AdvancedSettings currentAdvancedSettings(const ChartSettings& settings, const ColorTable& colors,
                                         ValueStore& store) {
    AdvancedSettings v;
    v.pitchMode = settings.pitchMode;
    v.stretchBarCount = stretchBarsShown(settings);
    v.autoStepInterval = settings.autoStepInterval;
    v.pitchTable = settings.pitchTable;
    v.pitchIndex = settings.pitchIndex;
    v.fillFallingBodies = settings.fillFallingBodies;
    v.fillRisingBodies = settings.fillRisingBodies;
    v.printScale = settings.printScale;
    v.editor = queryChartValue(store, kMenuSubkey, "EDITOR");
    for (int k = 0; k < kEditableColorCount; ++k) {
        v.colors[static_cast<size_t>(k)] =
            colors.colors[static_cast<size_t>(kEditableColors[static_cast<size_t>(k)].index)];
    }
    return v;
}

void applyAdvancedSettings(ValueStore& store, const AdvancedSettings& before,
                           const AdvancedSettings& after, ChartSettings& settings,
                           ColorTable& colors) {
    applyInMemory(before, after, settings, colors);
    // The store keeps what the dialog showed when confirmed: a field differing from what the
    // next start would read is written, also one changed during the session (the pitch in
    // use, by the 0 key).
    storeChanges(store, storedAdvancedSettings(store), after, colors);
}

}  // namespace zepa
