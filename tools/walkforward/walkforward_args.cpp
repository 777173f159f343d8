#include "tools/walkforward/walkforward_args.h"

#include <algorithm>

#include "positions/position_request.h"
#include "screen/walkforward_periods.h"
#include "tools/backtest/backtest_rule_args.h"

namespace zepa {
namespace {

constexpr const char* kUsageHead =
    "usage: zepa_walkforward [--root DIR] [SCREEN OPTIONS] [RULE OPTIONS] [--trade-days H]\n"
    "                        [--step S] [--from YYYY-MM-DD] [--end YYYY-MM-DD] [--pairs]\n"
    "                        [--csv | --json]\n"
    "Tries the pair screen and the ratio rule forward through the history of the market in\n"
    "DIR/ZEPAWIN/: at each formation end the screen chooses its pairs on the W dates up to it,\n"
    "exactly as zepa_screen --end DATE lists them, and the rule trades them over the next H\n"
    "dates; beside that the same pairs traded over their own W dates.\n"
    "  --trade-days H     trading dates per period, 5 to 1500 (default 125)\n"
    "  --step S           dates from one formation end to the next, 1 to 1500 (default H)\n"
    "  --from DATE        the first formation end: the first date on or after DATE with W dates\n"
    "                     up to it (default the W-th date)\n"
    "  --end DATE         the last date (default the newest)\n"
    "  --pairs            each period's pairs with their figures\n"
    "  --csv, --json      one period a line as CSV, or a JSON document\n"
    "Screen options, as zepa_screen takes them (zepa_screen --help): --days W, --short-days,\n"
    "  --ratio-period, --market, --sector, --borrowable, --min-turnover, --min-price, --codes,\n"
    "  --exclude, --min-correlation, --min-short-correlation, --max-p, --max-q, --half-life,\n"
    "  --min-z, --all, --sort COLUMN or backtest.STAT (with --backtest-years Y), --top K\n"
    "  (default 20 here)\n"
    "Rule options, as zepa_backtest takes them:\n";
constexpr const char* kUsageTail =
    "A trade still open after a period's last date is closed at its close (period_end).\n"
    "Not modelled: 逆日歩 and dividend adjustments (the price files do not hold them).\n"
    "Exit status: 0 done, 1 refused (too few dates, unreadable installation), 2 usage.\n";

// The options of the screen's command line that take no value.
bool isFlag(const std::string& arg) {
    return arg == "--all" || arg == "--borrowable" || arg == "--csv" || arg == "--json" ||
           arg == "--backtest";
}

}  // namespace

std::string walkForwardUsage() {
    return std::string(kUsageHead) + kBacktestRuleUsage + kUsageTail;
}

WalkForwardArgs parseWalkForwardArgs(const std::vector<std::string>& args, WalkForwardCommand& c,
                                     std::string& problem) {
    c = WalkForwardCommand{};
    problem.clear();
    // The walk's own options are taken out; the rest is the screen's command line, whose
    // backtest is always on here (the rule trades every period).
    std::vector<std::string> screenArgs;
    bool stepGiven = false;
    bool topGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return WalkForwardArgs::Help;
        }
        if (arg == "--pairs") {
            c.pairs = true;
            continue;
        }
        if (isFlag(arg) || !arg.starts_with("-")) {
            screenArgs.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            problem = arg + " needs a value";
            return WalkForwardArgs::Usage;
        }
        const std::string& value = args[++i];
        if (arg == "--trade-days") {
            if (!parseWholeNumber(value, kMinTradeDays, kMaxTradeDays, c.tradeDays)) {
                problem = arg + " " + value + ": give a whole number from 5 to 1500";
                return WalkForwardArgs::Usage;
            }
        } else if (arg == "--step") {
            stepGiven = true;
            if (!parseWholeNumber(value, kMinStep, kMaxStep, c.step)) {
                problem = arg + " " + value + ": give a whole number from 1 to 1500";
                return WalkForwardArgs::Usage;
            }
        } else if (arg == "--from") {
            int32_t date = 0;
            if (value.size() != 10 || value[4] != '-' || !parseIsoDate(value, date) ||
                date < 19700101) {
                problem = arg + " " + value + ": give a date as YYYY-MM-DD";
                return WalkForwardArgs::Usage;
            }
            c.fromDate = date;
        } else {
            topGiven = topGiven || arg == "--top";
            screenArgs.push_back(arg);
            screenArgs.push_back(value);
        }
    }
    if (std::find(screenArgs.begin(), screenArgs.end(), "--backtest") == screenArgs.end()) {
        screenArgs.push_back("--backtest");
    }
    if (parseScreenArgs(screenArgs, c.screen, problem) != ScreenArgs::Run) {
        return WalkForwardArgs::Usage;
    }
    if (!topGiven) {
        c.screen.screen.top = kWalkForwardTop;
    }
    if (!stepGiven) {
        c.step = c.tradeDays;
    }
    return WalkForwardArgs::Run;
}

}  // namespace zepa
