// Where the 建玉一覧 figures take their settings: the chart settings (the ratio chart's period,
// and the days before the margin deadline from which a position calls "期日", set in 設定 and
// kept as `DeadlineDays` under CHART) and the stored rule of ペア検索's 検証 (its exit and stop
// levels, its 買方金利 and 貸株料).
#pragma once

#include <cstdint>

#include "app/pair_search_settings.h"
#include "positions/position_overview.h"
#include "settings/chart_settings.h"
#include "settings/value_store.h"

namespace zepa {

OverviewSettings overviewSettingsOf(const ChartSettings& chart, const PairSearchSettings& pair);

// Everything from the store, as the viewer would have it: for the command line.
OverviewSettings loadOverviewSettings(ValueStore& store);

}  // namespace zepa
