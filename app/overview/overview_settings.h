// Where the 建玉一覧 figures take their settings: the ratio chart's period, the stored rule of
// ペア検索's 検証 (its exit and stop levels, its 買方金利 and 貸株料), and the days before the
// margin deadline from which a position calls "期日", a value of its own (`DeadlineDays` under
// CHART, a whole number of days, 20 when absent or out of range).
#pragma once

#include <cstdint>
#include <string_view>

#include "app/pair_search_settings.h"
#include "positions/position_overview.h"
#include "settings/chart_settings.h"
#include "settings/value_store.h"

namespace zepa {

inline constexpr std::string_view kDeadlineDaysValue = "DeadlineDays";
inline constexpr int32_t kDefaultDeadlineDays = 20;
inline constexpr int32_t kMaxDeadlineDays = 366;

int32_t loadDeadlineDays(ValueStore& store);

OverviewSettings overviewSettingsOf(const ChartSettings& chart, const PairSearchSettings& pair,
                                    int32_t deadlineDays);

// Everything from the store, as the viewer would have it: for the command line.
OverviewSettings loadOverviewSettings(ValueStore& store);

}  // namespace zepa
