// The command line of zepa_walkforward: the screen's options and the rule's as zepa_screen reads
// them, and the walk's own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/screen/screen_args.h"

namespace zepa {

inline constexpr int32_t kWalkForwardTop = 20;  // pairs per period unless --top says

struct WalkForwardCommand {
    ScreenCommand screen;  // root, end date, market, format, screen options, rule, --sort
    int32_t tradeDays = 125;
    int32_t step = 125;    // --step, else the trade days
    int32_t fromDate = 0;  // YYYYMMDD, 0: none
    bool pairs = false;    // each period's pairs listed
};

enum class WalkForwardArgs { Run, Help, Usage };

std::string walkForwardUsage();

// On Usage, `problem` says what is wrong (one line).
WalkForwardArgs parseWalkForwardArgs(const std::vector<std::string>& args, WalkForwardCommand& c,
                                     std::string& problem);

}  // namespace zepa
