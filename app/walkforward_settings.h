// The ペア検索 window's two walk-forward fields, 取引期間 (H, the trading days after each
// selection) and 間隔 (S, the days between selections), remembered per user in a value of their
// own (`PairWalkForward` under CHART) beside the screen's and the rule's; and what the funnel
// line says once a walk-forward has been run for the settings its table was made with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/pair_search_settings.h"
#include "settings/value_store.h"

namespace zepa {

struct WalkForwardFields {
    int32_t tradeDays = 125;  // H
    int32_t step = 125;       // S
};

enum class WalkForwardField { TradeDays, Step };

// "取引期間", "間隔".
std::string_view walkForwardFieldName(WalkForwardField field);
// "取引期間は 5〜1500 の整数にして下さい".
std::string walkForwardFieldRangeMessage(WalkForwardField field);

// Both fields as typed (nullopt: empty, NaN: not a number): "" when both were taken, else the
// first refused field's message, `fields` then left as they were. An empty 間隔 is 取引期間's.
std::string readWalkForwardFields(WalkForwardFields& fields, std::optional<double> tradeDays,
                                  std::optional<double> step);

// "H,S", and reading it back: a field absent, not whole or out of its range keeps what `fields`
// held; a missing S follows H.
std::string formatWalkForwardValue(const WalkForwardFields& fields);
void parseWalkForwardValue(std::string_view text, WalkForwardFields& fields);
WalkForwardFields loadWalkForwardFields(ValueStore& store);
void saveWalkForwardFields(ValueStore& store, const WalkForwardFields& fields);

// The ratio of the last walk-forward and the screen and rule settings it ran with.
struct WalkForwardMark {
    PairSearchSettings settings;
    std::optional<double> ratio;  // out-of-sample net / in-sample net; none when that is 0
};

// Whether two settings screen and trade alike (検証も計算 aside, which only adds columns).
bool sameScreenAndRule(const PairSearchSettings& a, const PairSearchSettings& b);

// The funnel line of a table made with `shown`, with "　過去の成績 比 0.44" added when `mark` was
// run with the same screen and rule ("比 --" when its in-sample net was 0).
std::string funnelWithWalkForward(const std::string& funnel, const PairSearchSettings& shown,
                                  const std::optional<WalkForwardMark>& mark);

}  // namespace zepa
