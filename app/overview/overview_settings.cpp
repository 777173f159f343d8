#include "app/overview/overview_settings.h"

#include "settings/color_table.h"
#include "settings/settings_persistence.h"

namespace zepa {

OverviewSettings overviewSettingsOf(const ChartSettings& chart, const PairSearchSettings& pair) {
    OverviewSettings s;
    s.ratioPeriod = chart.ratioPeriod;
    s.exit = pair.rule.exit;
    s.stop = pair.rule.stop;
    s.buyRate = pair.rule.buyRate;
    s.borrowRate = pair.rule.borrowRate;
    s.deadlineDays = chart.deadlineDays;
    return s;
}

OverviewSettings loadOverviewSettings(ValueStore& store) {
    ChartSettings chart;
    ColorTable colors;
    loadChartSettings(store, chart, colors);
    return overviewSettingsOf(chart, loadPairSearchSettings(store));
}

}  // namespace zepa
