// The settings dialog's behaviour: every change goes straight into the settings and the colour
// table; only closing rebuilds the series, so the chart sees the new periods at once.
#include "settings/settings_dialog_logic.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "base/parse_int.h"
#include "base/wrapping.h"

namespace zepa {

namespace {

using namespace settings_dialog;

constexpr int kCheckCount = 6;

// The field behind a check box.
int32_t ChartSettings::*checkField(int id) {
    switch (id) {
        case kSplitAdjustedCheck:
            return &ChartSettings::splitAdjustedDisplay;
        case kRatioChartCheck:
            return &ChartSettings::ratioChart;
        case kOverlaySellCheck:
            return &ChartSettings::overlaySellAtEntry;
        case kShowBacktestCheck:
            return &ChartSettings::showBacktest;
        case kChangeRateOfEntryCheck:
            return &ChartSettings::changeRateOfEntry;
        case kBuyCandlesCheck:
            return &ChartSettings::buyCandles;
        case kBuyTomeashiCheck:
            return &ChartSettings::buyTomeashi;
        case kSellCandlesCheck:
            return &ChartSettings::sellCandles;
        case kSellTomeashiCheck:
            return &ChartSettings::sellTomeashi;
        case kBuyAverageCheck:
            return &ChartSettings::buyAverage;
        default:
            return &ChartSettings::sellAverage;
    }
}

// Marks `id` within first..last and clears the others; an id outside the group clears all.
void markRadio(SettingsDialogControls& controls, int first, int last, int id) {
    for (int i = first; i <= last; ++i) {
        controls.setCheck(i, i == id ? 1 : 0);
    }
}

std::string periodText(int32_t period) {
    char text[16];
    std::snprintf(text, sizeof text, "%4d", period);
    return text;
}

// The edit read as atoi reads it; an empty edit gives 0 as well.
int32_t periodFromEdit(SettingsDialogControls& controls, int id) {
    std::string text = controls.editText(id);
    if (text.size() > 200) {
        text.resize(200);
    }
    return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

bool isCheck(int id) {
    return (id >= kBuyCandlesCheck && id < kBuyCandlesCheck + kCheckCount) ||
           id == kSplitAdjustedCheck || id == kRatioChartCheck || id == kOverlaySellCheck ||
           id == kShowBacktestCheck || id == kChangeRateOfEntryCheck;
}

// A number edit as typed: digits with blanks around them, within [least, most]; otherwise the
// message says what is wrong and nothing is taken.
bool readRangedEdit(SettingsDialogControls& controls, int id, int32_t least, int32_t most,
                    std::string_view rangeMessage, int32_t& number) {
    const std::string text = controls.editText(id);
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        controls.warn(kNoInput, kInputErrorCaption);
        return false;
    }
    const std::string_view digits(text.data() + first, text.find_last_not_of(' ') - first + 1);
    const std::optional<int32_t> value = parseDigits(digits);
    if (!value || *value < least || *value > most) {
        controls.warn(rangeMessage, kInputErrorCaption);
        return false;
    }
    number = *value;
    return true;
}

void resetSettings(ChartSettings& s, ColorTable& colors, SettingsDialogControls& controls) {
    if (!controls.askYesNo(kResetQuestion, kResetCaption)) {
        return;
    }
    s.buyCandles = 1;
    s.sellCandles = 1;
    s.spreadSource = 0;
    s.spreadBase = 0;
    s.buyTomeashi = 0;
    s.sellTomeashi = 0;
    s.buyAverage = 0;
    s.sellAverage = 0;
    s.buyAveragePeriod = 5;
    s.sellAveragePeriod = 5;
    const ChartSettings defaults;
    s.splitAdjustedDisplay = defaults.splitAdjustedDisplay;
    s.ratioChart = defaults.ratioChart;
    s.ratioPeriod = defaults.ratioPeriod;
    s.overlaySellAtEntry = defaults.overlaySellAtEntry;
    s.showBacktest = defaults.showBacktest;
    s.changeRateOfEntry = defaults.changeRateOfEntry;
    s.deadlineDays = defaults.deadlineDays;
    fillSettingsDialog(s, controls);
    resetSpreadColors(colors);
    controls.repaintSwatches();
    controls.invalidateFrame();
}

void chooseSpreadColor(ColorTable& colors, SettingsDialogControls& controls, int k) {
    ColorRef& color = colors.colors[static_cast<size_t>(kSpreadColorBase + k)];
    if (const std::optional<ColorRef> chosen = controls.chooseColor(color, kSpreadCustomColors)) {
        color = *chosen & 0xFFFFFFu;
    }
    controls.repaintSwatches();
    controls.invalidateFrame();
}

}  // namespace

void fillSettingsDialog(const ChartSettings& settings, SettingsDialogControls& controls) {
    for (int id = kBuyCandlesCheck; id < kBuyCandlesCheck + kCheckCount; ++id) {
        controls.setCheck(id, settings.*checkField(id));
    }
    for (const int id : {kSplitAdjustedCheck, kRatioChartCheck, kOverlaySellCheck,
                         kShowBacktestCheck, kChangeRateOfEntryCheck}) {
        controls.setCheck(id, settings.*checkField(id));
    }
    // Stored values are any 32-bit number: one outside the group marks no button.
    markRadio(controls, kBaseSellRadio, kBaseBuyRadio,
              wrapAdd(kBaseSellRadio, settings.spreadBase));
    markRadio(controls, kSourceCloseRadio, kSourceAverageRadio,
              wrapAdd(kSourceCloseRadio, settings.spreadSource));
    controls.setEditText(kBuyPeriodEdit, periodText(settings.buyAveragePeriod));
    controls.setEditText(kSellPeriodEdit, periodText(settings.sellAveragePeriod));
    controls.setEditText(kRatioPeriodEdit, periodText(settings.ratioPeriod));
    controls.setEditText(kDeadlineDaysEdit, periodText(settings.deadlineDays));
}

bool settingsDialogCommand(ChartSettings& settings, ColorTable& colors,
                           SettingsDialogControls& controls, int id) {
    if (isCheck(id)) {
        int32_t& field = settings.*checkField(id);
        field = field == 0 ? 1 : 0;
        controls.setCheck(id, field);
    } else if (id == kBaseSellRadio || id == kBaseBuyRadio) {
        settings.spreadBase = id - kBaseSellRadio;
        markRadio(controls, kBaseSellRadio, kBaseBuyRadio, id);
    } else if (id == kSourceCloseRadio || id == kSourceAverageRadio) {
        settings.spreadSource = id - kSourceCloseRadio;
        markRadio(controls, kSourceCloseRadio, kSourceAverageRadio, id);
    } else if (id >= kFirstColorButton && id <= kLastColorButton) {
        chooseSpreadColor(colors, controls, id - kFirstColorButton);
    } else if (id == kResetButton) {
        resetSettings(settings, colors, controls);
    } else if (id == kCloseButton) {
        int32_t ratioPeriod = 0;
        int32_t deadlineDays = 0;
        if (!readRangedEdit(controls, kRatioPeriodEdit, kRatioPeriodMin, kRatioPeriodMax,
                            kRatioPeriodRange, ratioPeriod) ||
            !readRangedEdit(controls, kDeadlineDaysEdit, kMinDeadlineDays, kMaxDeadlineDays,
                            kDeadlineDaysRange, deadlineDays)) {
            return false;
        }
        settings.ratioPeriod = ratioPeriod;
        settings.deadlineDays = deadlineDays;
        settings.buyAveragePeriod = periodFromEdit(controls, kBuyPeriodEdit);
        settings.sellAveragePeriod = periodFromEdit(controls, kSellPeriodEdit);
        // The frame repaints whatever the build gave; a failed build has shown its message.
        controls.rebuildSeries();
        controls.invalidateFrame();
        controls.endDialog(1);
        return true;
    }
    return false;
}

DialogPoint centerDialog(const DialogRect& screen, int32_t dialogWidth, int32_t dialogHeight) {
    const auto offset = [](int32_t screenSize, int32_t size) {
        const int64_t centred = (int64_t{screenSize} - size) / 2;
        return static_cast<int32_t>(centred < 0 ? 0 : centred);
    };
    return DialogPoint{
        static_cast<int32_t>(screen.x + int64_t{offset(screen.width, dialogWidth)}),
        static_cast<int32_t>(screen.y + int64_t{offset(screen.height, dialogHeight)})};
}

DialogRect dialogUnitsToPixels(const DialogRect& units, int32_t baseWidth, int32_t baseHeight) {
    // As MulDiv rounds: to the nearest, halves away from zero.
    const auto scale = [](int32_t value, int32_t base, int32_t divisor) {
        const int64_t product = int64_t{value} * base;
        const int64_t half = divisor / 2;
        return static_cast<int32_t>(product >= 0 ? (product + half) / divisor
                                                 : (product - half) / divisor);
    };
    return DialogRect{scale(units.x, baseWidth, 4), scale(units.y, baseHeight, 8),
                      scale(units.width, baseWidth, 4), scale(units.height, baseHeight, 8)};
}

}  // namespace zepa
