// zepa_screen: every pair of the market screened for a ratio that reverts, as a table, CSV or
// JSON.
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "marketdata/installation_paths.h"
#include "marketdata/listing_file.h"
#include "screen/screen_backtest.h"
#include "screen/screen_chart_z.h"
#include "screen/screen_load.h"
#include "screen/screen_run.h"
#include "tools/common/tool_exit.h"
#include "tools/screen/screen_args.h"
#include "tools/screen/screen_listing.h"
#include "tools/screen/screen_load_refusal.h"
#include "tools/screen/screen_output.h"

namespace {

constexpr const char* kTool = "zepa_screen";

}  // namespace

int main(int argc, char** argv) {
    using namespace zepa;
    ScreenCommand command;
    std::string problem;
    switch (parseScreenArgs(std::vector<std::string>(argv + 1, argv + argc), command, problem)) {
        case ScreenArgs::Help:
            std::fputs(screenUsage().c_str(), stdout);
            return kExitDone;
        case ScreenArgs::Usage:
            std::fprintf(stderr, "%s: %s\n%s", kTool, problem.c_str(), screenUsage().c_str());
            return kExitUsageError;
        case ScreenArgs::Run:
            break;
    }
    ScreenOptions& options = command.screen;

    const InstallationPaths paths = makeInstallationPaths(command.root);
    ListingTable listing;
    bool hasListing = false;
    if (const std::optional<int> stop =
            readScreenListing(kTool, paths, options, listing, hasListing)) {
        return *stop;
    }

    MarketData md;
    md.dataDirectory = paths.dataDirectory;
    if (scanPriceDatabases(md) != DataError::None || loadPriceDatabases(md) != DataError::None) {
        return refuse(kTool, dataErrorMessage(md.dataError, md.dataDirectory));
    }
    // Every stock is read, then the listed pairs' again: each price file is opened once.
    const HeldPriceFiles held(md);
    CorrectionList corrections;
    loadCorrectionList(paths.correctionFile, corrections);

    ScreenLoadRequest request;
    request.endDate = command.endDate;
    request.days = options.days;
    request.rows = std::max(options.days, options.ratioPeriod);
    request.marketCode = command.marketCode;
    ScreenMarket market;
    if (const ScreenLoad loaded = loadScreenMarket(md, corrections, listing, request, market);
        loaded != ScreenLoad::Loaded) {
        return refuse(kTool, screenLoadRefusal(loaded, md,
                                               "the installation has fewer than " +
                                                   std::to_string(options.days) +
                                                   " dates up to the end date"));
    }

    // Ranked by the backtest, every pair that passed the filters is backtested, then the best
    // `top` kept; the screen's ranking by p breaks ties.
    ScreenOptions screened = options;
    if (command.backtestSort) {
        screened.top = INT32_MAX;
        screened.sort = ScreenColumn::P;
    }
    ScreenResult result;
    if (runScreen(market, screened, result) != ScreenOutcome::Done) {
        return refuse(kTool, "not enough memory for the screen");
    }
    std::vector<BacktestStats> stats;
    if (command.backtest) {
        md.dataError = DataError::None;
        const int ran = backtestScreenPairs(md, corrections, market, result, command.rule,
                                            command.backtestYears, stats);
        if (ran < 0) {
            return refuse(kTool, "not enough memory for the backtest");
        }
        if (ran == 0) {
            return refuse(kTool, md.dataError != DataError::None
                                     ? dataErrorMessage(md.dataError, md.dataDirectory)
                                     : "a listed stock's prices could not be read again");
        }
        if (command.backtestSort) {
            rankByBacktest(market, *command.backtestSort, result, stats,
                           static_cast<size_t>(options.top));
        }
    }
    // The listed pairs' z from the viewer's own ratio chart computation.
    for (ScreenPair& p : result.pairs) {
        p.z = chartRatioZ(md, corrections, market.stocks[static_cast<size_t>(p.a)],
                          market.stocks[static_cast<size_t>(p.b)], options.ratioPeriod,
                          market.endSlot);
    }

    ScreenReport report{market, result, options.sector, hasListing};
    if (command.backtest) {
        report.backtest = &stats;
        report.backtestStart = backtestStartOf(market.dates.back(), command.backtestYears);
    }
    const std::string out = command.format == ScreenFormat::Json  ? screenJson(report)
                            : command.format == ScreenFormat::Csv ? screenCsv(report)
                                                                  : screenText(report);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? kExitDone : kExitRefused;
}
