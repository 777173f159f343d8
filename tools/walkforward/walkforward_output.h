// zepa_walkforward's three outputs: the text table of the periods with the totals, CSV and JSON.
#pragma once

#include <string>

#include "screen/walkforward_run.h"
#include "tools/walkforward/walkforward_args.h"

namespace zepa {

// The note every output carries: the past seen through today's files.
inline constexpr const char* kSurvivorshipNote =
    "survivorship: the installation holds the stocks that are in its price files; stocks "
    "delisted before the newest date are usually missing, which flatters the past";

struct WalkForwardReport {
    const WalkForwardCommand& command;
    const WalkForwardMarket& market;
    const WalkForwardResult& result;
};

std::string walkForwardText(const WalkForwardReport& report);
std::string walkForwardCsv(const WalkForwardReport& report);
std::string walkForwardJson(const WalkForwardReport& report);

}  // namespace zepa
