// zepa_walkforward: the pair screen and the ratio rule tried forward through the installation's
// history, period by period, as a table, CSV or JSON.
#include <cstdio>
#include <string>
#include <vector>

#include "marketdata/installation_paths.h"
#include "screen/walkforward_run.h"
#include "tools/common/tool_exit.h"
#include "tools/screen/screen_listing.h"
#include "tools/screen/screen_load_refusal.h"
#include "tools/walkforward/walkforward_args.h"
#include "tools/walkforward/walkforward_output.h"

namespace {

constexpr const char* kTool = "zepa_walkforward";

}  // namespace

int main(int argc, char** argv) {
    using namespace zepa;
    WalkForwardCommand command;
    std::string problem;
    switch (
        parseWalkForwardArgs(std::vector<std::string>(argv + 1, argv + argc), command, problem)) {
        case WalkForwardArgs::Help:
            std::fputs(walkForwardUsage().c_str(), stdout);
            return kExitDone;
        case WalkForwardArgs::Usage:
            std::fprintf(stderr, "%s: %s\n%s", kTool, problem.c_str(), walkForwardUsage().c_str());
            return kExitUsageError;
        case WalkForwardArgs::Run:
            break;
    }
    const ScreenCommand& screen = command.screen;
    const InstallationPaths paths = makeInstallationPaths(screen.root);
    ListingTable listing;
    bool hasListing = false;
    if (const std::optional<int> stop =
            readScreenListing(kTool, paths, screen.screen, listing, hasListing)) {
        return *stop;
    }
    MarketData md;
    md.dataDirectory = paths.dataDirectory;
    if (scanPriceDatabases(md) != DataError::None || loadPriceDatabases(md) != DataError::None) {
        return refuse(kTool, dataErrorMessage(md.dataError, md.dataDirectory));
    }
    CorrectionList corrections;
    loadCorrectionList(paths.correctionFile, corrections);

    const int32_t window = screen.screen.days;
    const std::string tooFew = "the installation has fewer than " + std::to_string(window + 1) +
                               " dates up to the end date (the window and one to trade on)";
    WalkForwardMarketRequest request;
    request.endDate = screen.endDate;
    request.window = window;
    request.marketCode = screen.marketCode;
    WalkForwardMarket market;
    if (const ScreenLoad loaded = loadWalkForwardMarket(md, corrections, listing, request, market);
        loaded != ScreenLoad::Loaded) {
        return refuse(kTool, screenLoadRefusal(loaded, md, tooFew));
    }

    WalkForwardOptions options;
    options.screen = screen.screen;
    options.rule = screen.rule;
    options.backtestSort = screen.backtestSort;
    options.backtestYears = screen.backtestYears;
    options.tradeDays = command.tradeDays;
    options.step = command.step;
    options.fromDate = command.fromDate;
    WalkForwardResult result;
    switch (runWalkForward(market, options, result)) {
        case WalkForwardOutcome::Done:
            break;
        case WalkForwardOutcome::TooFewDates:
            return refuse(kTool, tooFew);
        case WalkForwardOutcome::NoPeriod:
            return refuse(kTool, "no formation end before the last date: give an earlier --from");
        case WalkForwardOutcome::OutOfMemory:
            return refuse(kTool, "not enough memory for the walk-forward");
        case WalkForwardOutcome::Cancelled:
            return refuse(kTool, "cancelled");
    }
    const WalkForwardReport report{command, market, result};
    const std::string out = screen.format == ScreenFormat::Json  ? walkForwardJson(report)
                            : screen.format == ScreenFormat::Csv ? walkForwardCsv(report)
                                                                 : walkForwardText(report);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? kExitDone : kExitRefused;
}
