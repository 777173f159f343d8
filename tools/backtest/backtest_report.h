// zepa_backtest's output: the trades and their statistics as a table for people or as JSON for
// scripts.
#pragma once

#include <string>

#include "tools/backtest/backtest_args.h"
#include "tools/backtest/backtest_run.h"
#include "tools/common/json_writer.h"

namespace zepa {

std::string backtestJson(const BacktestOptions& options, const BacktestRunResult& result);
// The statistics as the "stats" object (zepa_screen --backtest writes the same per pair).
void backtestStatsJson(JsonWriter& json, const BacktestStats& stats);
std::string backtestText(const BacktestOptions& options, const BacktestRunResult& result);

// What the price files do not hold, said in every text output and in the README.
inline constexpr const char* kBacktestNotModelled =
    "not modelled: 逆日歩 and dividend adjustments (the price files do not hold them)";

}  // namespace zepa
