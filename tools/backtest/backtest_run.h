// zepa_backtest's work between the options and the output: the installation read as the viewer
// reads it, the two codes found, the pair built as the ratio chart sees it, and the backtest run.
#pragma once

#include <string>
#include <vector>

#include "screen/backtest_stats.h"
#include "screen/backtest_trade.h"
#include "tools/backtest/backtest_args.h"

namespace zepa {

inline constexpr int kBacktestExitOk = 0;
inline constexpr int kBacktestExitRefused = 1;  // a code not found, unreadable data
inline constexpr int kBacktestExitUsage = 2;

struct BacktestRunResult {
    int exitCode = kBacktestExitOk;
    std::string problem;  // one line for stderr when exitCode is not 0
    std::string aName;    // UTF-8, as the price file names the stock
    std::string bName;
    std::vector<BacktestTrade> trades;  // an open trade last
    BacktestStats stats;
};

BacktestRunResult runBacktestCommand(const BacktestOptions& options);

}  // namespace zepa
