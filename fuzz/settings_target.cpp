// The per-user settings as a user may have edited them: every stored text, then a session that
// draws and lists with whatever they gave, and a save that must read back to itself.
#include <iterator>

#include "app/frame_handlers.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/scratch_installation.h"
#include "fuzz/session_installation.h"
#include "fuzz/targets.h"
#include "fuzz/viewer_session.h"
#include "settings/advanced_settings.h"
#include "settings/chart_values.h"
#include "settings/memory_value_store.h"
#include "settings/settings_persistence.h"

namespace zepa::fuzz {

namespace {

struct StoredName {
    std::string_view subkey;
    std::string_view name;
};
constexpr StoredName kNames[] = {
    {kChartSubkey, "Mode_1"},
    {kChartSubkey, "Mode_2"},
    {kChartSubkey, "SayaMode"},
    {kChartSubkey, "COLOR_1"},
    {kChartSubkey, "COLOR_2"},
    {kChartSubkey, "COLOR_3"},
    {kChartSubkey, "COLOR_4"},
    {kChartSubkey, "COLOR_5"},
    {kChartSubkey, "COLOR_6"},
    {kChartSubkey, "COLOR_7"},
    {kChartSubkey, "COLOR_SY"},
    {kChartSubkey, "MODE"},
    {kChartSubkey, "Size_SY"},
    {kChartSubkey, "ChildPos_SY0"},
    {kChartSubkey, "ChildPos_SY1"},
    {kChartSubkey, "SayaOption"},
    {kMenuSubkey, "EDITOR"},
    // Last: the kept inputs of the values above still set them as they did.
    {kChartSubkey, "LastPos_SY"},
};

// What a save writes for the settings loaded from the store.
MemoryValueStore savedBy(ValueStore& from) {
    ChartSettings settings;
    ColorTable colors;
    resetColorTable(colors);
    resetSpreadColors(colors);
    loadChartSettings(from, settings, colors);
    MemoryValueStore to;
    saveChartSettings(to, settings, colors);
    return to;
}

// What the next start shows in the detailed settings.
AdvancedSettings advancedOf(ValueStore& store) {
    ChartSettings settings;
    ColorTable colors;
    resetColorTable(colors);
    resetSpreadColors(colors);
    loadChartSettings(store, settings, colors);
    return currentAdvancedSettings(settings, colors, store);
}

}  // namespace

int settingsTarget(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    MemoryValueStore store;
    for (const StoredName& n : kNames) {
        const std::string_view text = in.until("\n");
        if (!text.empty()) {
            store.set(n.subkey, n.name, text);
        }
    }
    // The entry point reads the placement before it shows the window.
    WindowPlacement placement;
    parsePlacement(queryChartValue(store, kChartSubkey, "Size_SY"), placement);

    const ScratchInstallation& s = scratchInstallation();
    clearDataFolder(s);
    writeFixedPriceFile(s);
    FuzzInput positions(data, size);
    writeSessionTexts(s, {std::begin(kFixedStocks), std::end(kFixedStocks)}, positions);
    runViewerSession(in, store);

    // What a run saves, the next run reads back and saves unchanged.
    MemoryValueStore once = savedBy(store);
    if (savedBy(once).values != once.values) {
        __builtin_trap();
    }

    // The detailed settings confirmed over whatever was stored: the next start reads every
    // value as chosen.
    const AdvancedSettings before = advancedOf(store);
    AdvancedSettings after = before;
    after.pitchMode = before.pitchMode == 0 ? 1 : 0;
    after.stretchBarCount = before.stretchBarCount == 77 ? 78 : 77;
    after.autoStepInterval = before.autoStepInterval == 9 ? 8 : 9;
    after.pitchTable[2] = before.pitchTable[2] == 35 ? 36 : 35;
    after.pitchIndex = 2;
    after.fillFallingBodies = 1;
    after.fillRisingBodies = before.fillRisingBodies == 1 ? 0 : 1;
    after.printScale = before.printScale == 150 ? 151 : 150;
    after.colors[4] = (before.colors[4] ^ 0xFFu) & 0xFFFFFFu;
    ChartSettings settings;
    ColorTable colors;
    applyAdvancedSettings(store, before, after, settings, colors);
    if (advancedOf(store) != after) {
        __builtin_trap();
    }
    return 0;
}

}  // namespace zepa::fuzz
