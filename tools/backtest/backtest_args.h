// The command line of zepa_backtest, read into options without running anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "screen/backtest_rule.h"

namespace zepa {

// A stock as the user names it: a code with an optional market letter in front (T7203), as the
// position file writes it. Without a letter the market is looked up.
struct BacktestCode {
    std::string text;  // as given
    char market = 0;   // the letter, or 0
    int32_t code = 0;
};

struct BacktestOptions {
    std::string root = ".";  // the folder that holds ZEPAWIN/
    BacktestRule rule;
    bool json = false;
    BacktestCode a;
    BacktestCode b;
};

enum class BacktestArgsResult { Run, Help, Usage };

std::string backtestUsage();

// On Usage, `problem` says what is wrong (one line).
BacktestArgsResult parseBacktestArgs(const std::vector<std::string>& args, BacktestOptions& options,
                                     std::string& problem);

// "7203", "T7203" or "t7203": a code of one to five digits after an optional letter.
bool parseBacktestCode(const std::string& text, BacktestCode& out);

// YYYY-MM-DD or YYYYMMDD, a real calendar date, as YYYYMMDD; 0 when it is none.
int32_t parseBacktestDate(const std::string& text);

}  // namespace zepa
