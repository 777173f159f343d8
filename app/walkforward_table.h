// What the 過去の成績 window shows in text: the summary line and the period table, one row a
// period, as both shells show, copy and save it.
#pragma once

#include <optional>
#include <string>

#include "positions/closed_trades_table.h"
#include "screen/walkforward_run.h"

namespace zepa {

inline constexpr const char* kWalkForwardTitle = "過去の成績";
inline constexpr const char* kWalkForwardFileName = "過去の成績.csv";

// The ratio as the windows show it: none when the in-sample net is no gain, where out ÷ in of
// two losses would read as a success ("比 2.00" for twice the loss).
std::optional<double> walkForwardShownRatio(const WalkForwardResult& result);

// "期間 4  取引 52回  勝率 90.4%  純損益 951,581円  (選定期間 2,244,863円, 比 0.42)", UTF-8.
std::string walkForwardSummaryLine(const WalkForwardResult& result);

// What the window says under the summary: the installation lacks most stocks delisted before its
// newest date, which flatters every past figure.
inline constexpr const char* kWalkForwardSurvivorshipNote =
    "注意: 上場廃止になった銘柄はデータにないことが多く、過去の成績は実際より良く出ます"
    "（生存バイアス）";

// "選定日", "取引開始", "取引終了", "銘柄数", "組数", "取引", "勝率", "純損益", "選定期間の純損益",
// and a row a period; a short last period's end date is marked "(途中)". `plain`, for the
// clipboard and the CSV file: ISO dates, numbers without grouping or "%" (empty where missing),
// and the mark as a column "途中" of its own (1 or 0).
TextTable walkForwardTable(const WalkForwardResult& result, bool plain = false);

}  // namespace zepa
