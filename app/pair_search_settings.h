// The ペア検索 window's settings: the screen's window, universe and filters, the backtest rule
// with its costs and whether it runs, remembered per user in two values of their own
// (`PairScreen` and `PairRule` under CHART), which no other value's format shares.
#pragma once

#include <string>
#include <string_view>

#include "screen/backtest_rule.h"
#include "screen/screen_options.h"
#include "settings/value_store.h"

namespace zepa {

struct PairSearchSettings {
    ScreenOptions screen;  // days, short days, ratio period, universe, pairs, filters, top
    int marketCode = -1;   // -1 every market, else the market code of a letter (T 東証 ...)
    BacktestRule rule;     // its ratio period follows the screen's
    bool withBacktest = false;
};

// What a first run starts with: the screen's default filters, the rule's defaults, no backtest.
PairSearchSettings defaultPairSearchSettings();

// The two stored texts, and reading them back: a field that is absent, does not parse or is out
// of its range keeps what `settings` held; an empty filter field turns the filter off.
std::string formatPairScreenValue(const PairSearchSettings& settings);
std::string formatPairRuleValue(const PairSearchSettings& settings);
void parsePairScreenValue(std::string_view text, PairSearchSettings& settings);
void parsePairRuleValue(std::string_view text, PairSearchSettings& settings);

// Defaults, then whatever the store keeps.
PairSearchSettings loadPairSearchSettings(ValueStore& store);
void savePairSearchSettings(ValueStore& store, const PairSearchSettings& settings);

// The first reason the settings cannot run (UTF-8, for the window), or "" when they can.
std::string pairSearchSettingsProblem(const PairSearchSettings& settings);

// The options runScreen takes, and the rule the backtest takes (its ratio period the screen's).
ScreenOptions screenOptionsOf(const PairSearchSettings& settings);
BacktestRule backtestRuleOf(const PairSearchSettings& settings);

}  // namespace zepa
