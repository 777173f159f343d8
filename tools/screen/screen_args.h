// The command line of zepa_screen, read into options without running anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "screen/backtest_rule.h"
#include "screen/screen_backtest.h"
#include "screen/screen_options.h"

namespace zepa {

enum class ScreenFormat { Text, Csv, Json };

struct ScreenCommand {
    std::string root = ".";
    int32_t endDate = 0;  // YYYYMMDD, 0: the newest date
    int marketCode = -1;  // -1: every market
    bool all = false;     // the default filters off
    ScreenFormat format = ScreenFormat::Text;
    ScreenOptions screen;  // with the default filters applied unless --all
    // --backtest: each listed pair's backtest over the last backtestYears years.
    bool backtest = false;
    int backtestYears = 3;
    BacktestRule rule;  // with the screen's ratio period
    std::optional<BacktestColumn>
        backtestSort;  // --sort backtest.NAME, ranking instead of `screen.sort`
};

enum class ScreenArgs { Run, Help, Usage };

std::string screenUsage();

// On Usage, `problem` says what is wrong (one line).
ScreenArgs parseScreenArgs(const std::vector<std::string>& args, ScreenCommand& command,
                           std::string& problem);

}  // namespace zepa
