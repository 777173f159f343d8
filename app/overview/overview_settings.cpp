#include "app/overview/overview_settings.h"

#include <charconv>

#include "settings/chart_values.h"
#include "settings/color_table.h"
#include "settings/settings_persistence.h"

namespace zepa {

int32_t loadDeadlineDays(ValueStore& store) {
    const std::string text = queryChartValue(store, kChartSubkey, kDeadlineDaysValue);
    int32_t days = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), days);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || days < 0 ||
        days > kMaxDeadlineDays) {
        return kDefaultDeadlineDays;
    }
    return days;
}

OverviewSettings overviewSettingsOf(const ChartSettings& chart, const PairSearchSettings& pair,
                                    int32_t deadlineDays) {
    OverviewSettings s;
    s.ratioPeriod = chart.ratioPeriod;
    s.exit = pair.rule.exit;
    s.stop = pair.rule.stop;
    s.buyRate = pair.rule.buyRate;
    s.borrowRate = pair.rule.borrowRate;
    s.deadlineDays = deadlineDays;
    return s;
}

OverviewSettings loadOverviewSettings(ValueStore& store) {
    ChartSettings chart;
    ColorTable colors;
    loadChartSettings(store, chart, colors);
    return overviewSettingsOf(chart, loadPairSearchSettings(store), loadDeadlineDays(store));
}

}  // namespace zepa
