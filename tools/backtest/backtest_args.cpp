#include "tools/backtest/backtest_args.h"

#include "positions/position_request.h"
#include "settings/chart_settings.h"
#include "tools/backtest/backtest_rule_args.h"

namespace zepa {

namespace {

constexpr const char* kUsageHead =
    "usage: zepa_backtest [--root DIR] [--start DATE] [--end DATE] [--ratio-period N]\n"
    "                     [--entry Z] [--exit Z] [--stop Z] [--max-days D] [--amount YEN]\n"
    "                     [--fill open|close] [--commission RATE] [--buy-rate RATE]\n"
    "                     [--borrow-rate RATE] [--json] CODE_A CODE_B\n"
    "Trades the ratio CODE_A / CODE_B by the z of the ratio chart and prints the trades and\n"
    "their statistics. A code is 7203, or T7203 with the market letter (without one, the\n"
    "first market that lists it: T, O, N, K, G, then the indices). DIR holds ZEPAWIN/\n"
    "(default: the working directory). Rates are fractions: 0.028 is 2.8 % a year.\n"
    "  --start, --end DATE  signals from/to this date (YYYY-MM-DD; default: all dates)\n"
    "  --ratio-period N     dates of the z (5 to 250, default 25)\n";
constexpr const char* kUsageTail =
    "  --json               print JSON\n"
    "Not modelled: 逆日歩 and dividend adjustments (the price files do not hold them).\n"
    "Exit status: 0 done, 1 a code not found or unreadable data, 2 usage.\n";

// The options only zepa_backtest has, besides the rule's; false with the problem said.
bool applyValue(const std::string& name, const std::string& value, BacktestOptions& o,
                std::string& problem) {
    BacktestRule& r = o.rule;
    const auto bad = [&](const char* what) {
        problem = name + " " + value + ": " + what;
        return false;
    };
    if (name == "--root") {
        o.root = value;
    } else if (name == "--start" || name == "--end") {
        const int32_t date = parseBacktestDate(value);
        if (date == 0) {
            return bad("not a date (YYYY-MM-DD)");
        }
        (name == "--start" ? r.startDate : r.endDate) = date;
    } else if (name == "--ratio-period") {
        if (!parseWholeNumber(value, kRatioPeriodMin, kRatioPeriodMax, r.ratioPeriod)) {
            return bad("give a whole number from 5 to 250");
        }
    } else {
        return applyBacktestRuleOption(name, value, r, problem);
    }
    return true;
}

bool takesValue(const std::string& arg) {
    return arg == "--root" || arg == "--start" || arg == "--end" || arg == "--ratio-period" ||
           isBacktestRuleOption(arg);
}

}  // namespace

std::string backtestUsage() {
    return std::string(kUsageHead) + kBacktestRuleUsage + kUsageTail;
}

int32_t parseBacktestDate(const std::string& text) {
    // Exactly the two forms: parseIsoDate alone would also take them padded with spaces.
    const bool form = text.size() == 8 || (text.size() == 10 && text[4] == '-');
    int32_t date = 0;
    return form && parseIsoDate(text, date) && date >= 19700101 && date <= 22551231 ? date : 0;
}

bool parseBacktestCode(const std::string& text, BacktestCode& out) {
    const bool letter =
        !text.empty() && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
    const std::string digits = letter ? text.substr(1) : text;
    int32_t code = 0;
    if (digits.empty() || digits.size() > 5 || !parseWholeNumber(digits, 0, 99999, code)) {
        return false;
    }
    out.text = text;
    out.market = letter ? text[0] : 0;
    out.code = code;
    return true;
}

BacktestArgsResult parseBacktestArgs(const std::vector<std::string>& args, BacktestOptions& o,
                                     std::string& problem) {
    o = BacktestOptions{};
    std::vector<std::string> codes;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            codes.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            return BacktestArgsResult::Help;
        } else if (arg == "--json") {
            o.json = true;
        } else if (!takesValue(arg)) {
            problem = "unknown option " + arg;
            return BacktestArgsResult::Usage;
        } else if (i + 1 >= args.size()) {
            problem = arg + " needs a value";
            return BacktestArgsResult::Usage;
        } else if (!applyValue(arg, args[i + 1], o, problem)) {
            return BacktestArgsResult::Usage;
        } else {
            ++i;
        }
    }
    const BacktestRule& r = o.rule;
    if (codes.size() != 2) {
        problem = "give two codes, CODE_A and CODE_B";
    } else if (!parseBacktestCode(codes[0], o.a) || !parseBacktestCode(codes[1], o.b)) {
        problem = "a code is up to five digits, with a market letter in front or not: " +
                  (parseBacktestCode(codes[0], o.a) ? codes[1] : codes[0]);
    } else if (r.startDate > r.endDate) {
        problem = "--start is after --end";
    } else if (problem = backtestRuleProblem(r); !problem.empty()) {
    } else {
        return BacktestArgsResult::Run;
    }
    return BacktestArgsResult::Usage;
}

}  // namespace zepa
