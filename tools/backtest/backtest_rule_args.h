// The backtest rule's options as zepa_backtest and zepa_screen --backtest both read them: the
// entry, exit and stop, the time exit, the amount, the fill and the costs.
#pragma once

#include <string>

#include "screen/backtest_rule.h"

namespace zepa {

// The rule options' lines of a usage text.
extern const char* const kBacktestRuleUsage;

// True for the name of a rule option (each takes a value).
bool isBacktestRuleOption(const std::string& name);

// The option's value into the rule; false with `problem` set ("--entry 2x: not a number").
bool applyBacktestRuleOption(const std::string& name, const std::string& value, BacktestRule& rule,
                             std::string& problem);

// What is wrong with the rule's levels taken together; empty when nothing.
std::string backtestRuleProblem(const BacktestRule& rule);

// A whole number of text from low to high into out; false otherwise.
bool parseWholeNumber(const std::string& text, int32_t low, int32_t high, int32_t& out);

}  // namespace zepa
