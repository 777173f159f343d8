// zepa_backtest's output: the trades and their statistics as a table for people or as JSON for
// scripts.
#pragma once

#include <string>

#include "tools/backtest/backtest_args.h"
#include "tools/backtest/backtest_run.h"

namespace zepa {

std::string backtestJson(const BacktestOptions& options, const BacktestRunResult& result);
std::string backtestText(const BacktestOptions& options, const BacktestRunResult& result);

// What the price files do not hold, said in every text output and in the README.
inline constexpr const char* kBacktestNotModelled =
    "not modelled: 逆日歩 and dividend adjustments (the price files do not hold them)";

}  // namespace zepa
