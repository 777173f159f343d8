// zepa_backtest: how the ratio rule would have traded one pair, with the costs of margin trading.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/backtest/backtest_args.h"
#include "tools/backtest/backtest_report.h"
#include "tools/backtest/backtest_run.h"

int main(int argc, char** argv) {
    using namespace zepa;
    const std::vector<std::string> args(argv + 1, argv + argc);
    BacktestOptions options;
    std::string problem;
    switch (parseBacktestArgs(args, options, problem)) {
        case BacktestArgsResult::Help:
            std::fputs(backtestUsage().c_str(), stdout);
            return kBacktestExitOk;
        case BacktestArgsResult::Usage:
            std::fprintf(stderr, "zepa_backtest: %s\n%s", problem.c_str(), backtestUsage().c_str());
            return kBacktestExitUsage;
        case BacktestArgsResult::Run:
            break;
    }
    const BacktestRunResult result = runBacktestCommand(options);
    if (result.exitCode != kBacktestExitOk) {
        std::fprintf(stderr, "%s\n", result.problem.c_str());
        return result.exitCode;
    }
    const std::string out =
        options.json ? backtestJson(options, result) : backtestText(options, result);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kBacktestExitOk;
}
