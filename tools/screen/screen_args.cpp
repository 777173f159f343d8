#include "tools/screen/screen_args.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

#include "marketdata/market_code.h"
#include "positions/position_request.h"
#include "tools/backtest/backtest_rule_args.h"

namespace zepa {

namespace {

constexpr const char* kUsageHead =
    "usage: zepa_screen [--root DIR] [--end YYYY-MM-DD] [--days W] [--short-days S]\n"
    "                   [--ratio-period N] [--market L] [--sector 17|33] [--borrowable]\n"
    "                   [--min-turnover YEN] [--min-price YEN] [--codes LIST] [--exclude LIST]\n"
    "                   [--min-correlation R] [--min-short-correlation R] [--max-p P]\n"
    "                   [--max-q Q] [--half-life MIN:MAX] [--min-z Z] [--all]\n"
    "                   [--sort COLUMN] [--top K] [--csv | --json]\n"
    "                   [--backtest [--backtest-years Y] [RULE OPTIONS]]\n"
    "Screens every pair of the market in DIR/ZEPAWIN/ (default: the working directory) over the\n"
    "W dates (20 to 1500, default 250) ending at the end date (default: the newest date).\n"
    "  --short-days S     the short correlation's dates, 10 to W (default 75)\n"
    "  --ratio-period N   the ratio chart's period of z, 5 to 250 (default 25)\n"
    "  --market L         only the stocks of market letter L\n"
    "  --sector 17|33     only pairs of one industry (listing data)\n"
    "  --borrowable       only pairs of two lendable stocks (listing data)\n"
    "  --min-turnover YEN minimum mean daily close x volume over the window\n"
    "  --min-price YEN    minimum stored close at the end date\n"
    "  --codes, --exclude only these codes, or all but these (LIST: 7203,7267)\n"
    "  --min-correlation R, --min-short-correlation R, --max-p P, --max-q Q,\n"
    "  --half-life MIN:MAX, --min-z Z   filters (defaults: 0.7, 0.5, 0.05, none, 1:60, none)\n"
    "  --all              no default filters (those given still apply)\n"
    "  --sort COLUMN      p (default), q, adf_t, ssd, half_life, correlation,\n"
    "                     correlation_short, crossings or z; with --backtest also\n"
    "                     backtest.STAT: trades, wins, win_rate, net, gross, costs, average_net,\n"
    "                     profit_factor, average_holding, median_holding, largest_win,\n"
    "                     largest_loss, max_drawdown, exits.target, exits.stop, exits.time\n"
    "                     (the better first; the backtest then ranks every pair that passed)\n"
    "  --top K            the best K pairs (default 100)\n"
    "  --csv, --json      a CSV table or a JSON document instead of the text table\n"
    "  --backtest         each listed pair traded as zepa_backtest trades it, over the last Y\n"
    "                     years (--backtest-years, 1 to 50, default 3) up to the end date, with\n"
    "                     the z of --ratio-period; the rule options:\n";
constexpr const char* kUsageTail =
    "Not modelled: 逆日歩 and dividend adjustments (the price files do not hold them).\n"
    "Exit status: 0 screened, 1 refused (no such dates, unreadable installation), 2 usage.\n";

}  // namespace

std::string screenUsage() {
    return std::string(kUsageHead) + kBacktestRuleUsage + kUsageTail;
}

namespace {

bool parseNumber(const std::string& text, double& out) {
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc{} && stop == end && std::isfinite(out);
}

bool parseInteger(const std::string& text, int32_t& out) {
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc{} && stop == end;
}

// YYYY-MM-DD (only) of a real calendar date from 1970 on, to YYYYMMDD; 0 when it is none.
int32_t parseEndDate(const std::string& text) {
    int32_t date = 0;
    const bool dashed = text.size() == 10 && text[4] == '-';
    return dashed && parseIsoDate(text, date) && date >= 19700101 ? date : 0;
}

bool parseCodes(const std::string& text, std::vector<int32_t>& codes) {
    size_t from = 0;
    while (true) {
        const size_t comma = text.find(',', from);
        const std::string item = text.substr(from, comma - from);
        int32_t code = 0;
        if (item.size() != 4 || !parseInteger(item, code) || code < 1000) {
            return false;
        }
        codes.push_back(code);
        if (comma == std::string::npos) {
            return true;
        }
        from = comma + 1;
    }
}

}  // namespace

ScreenArgs parseScreenArgs(const std::vector<std::string>& args, ScreenCommand& c,
                           std::string& problem) {
    c = ScreenCommand{};
    ScreenOptions& o = c.screen;
    bool shortGiven = false;
    bool csv = false;
    bool yearsGiven = false;
    std::string ruleOption;  // the first rule option given
    // Each option with a value: its reader, false (with `problem` set) for a bad value.
    const auto number = [&](const std::string& name, const std::string& v, double low, double high,
                            std::optional<double>& out) {
        double x = 0;
        if (!parseNumber(v, x) || x < low || x > high) {
            char range[64];
            std::snprintf(range, sizeof range, std::isinf(high) ? "%g or more" : "from %g to %g",
                          low, high);
            problem = name + " " + v + ": give a number " + range;
            return false;
        }
        out = x;
        return true;
    };
    const auto integer = [&](const std::string& name, const std::string& v, int32_t low,
                             int32_t high, int32_t& out) {
        if (!parseInteger(v, out) || out < low || out > high) {
            problem = name + " " + v + ": give a whole number from " + std::to_string(low) +
                      " to " + std::to_string(high);
            return false;
        }
        return true;
    };
    const double inf = HUGE_VAL;
    const std::map<std::string, std::function<bool(const std::string&, const std::string&)>> valued{
        {"--root", [&](auto&, auto& v) { return c.root = v, true; }},
        {"--end",
         [&](auto& n, auto& v) {
             c.endDate = parseEndDate(v);
             problem = n + " " + v + ": give a date as YYYY-MM-DD";
             return c.endDate != 0;
         }},
        {"--days", [&](auto& n, auto& v) { return integer(n, v, kMinWindow, kMaxWindow, o.days); }},
        {"--short-days",
         [&](auto& n, auto& v) {
             shortGiven = true;
             return integer(n, v, kMinShortDays, kMaxWindow, o.shortDays);
         }},
        {"--ratio-period",
         [&](auto& n, auto& v) {
             return integer(n, v, kMinRatioPeriod, kMaxRatioPeriod, o.ratioPeriod);
         }},
        {"--market",
         [&](auto& n, auto& v) {
             const bool letter =
                 v.size() == 1 && ((v[0] >= 'A' && v[0] <= 'Z') || (v[0] >= 'a' && v[0] <= 'z'));
             problem = n + " " + v + ": give one letter (T, O, N, K, G; others: index)";
             c.marketCode = letter ? marketCodeOf(v[0]) : -1;
             return letter;
         }},
        {"--sector",
         [&](auto& n, auto& v) {
             o.sector = v == "17" ? 17 : v == "33" ? 33 : 0;
             problem = n + " " + v + ": give 17 or 33";
             return o.sector != 0;
         }},
        {"--min-turnover", [&](auto& n, auto& v) { return number(n, v, 0, inf, o.minTurnover); }},
        {"--min-price", [&](auto& n, auto& v) { return number(n, v, 0, inf, o.minPrice); }},
        {"--codes",
         [&](auto& n, auto& v) {
             problem = n + " " + v + ": give four-digit codes separated by commas";
             return parseCodes(v, o.codes);
         }},
        {"--exclude",
         [&](auto& n, auto& v) {
             problem = n + " " + v + ": give four-digit codes separated by commas";
             return parseCodes(v, o.exclude);
         }},
        {"--min-correlation",
         [&](auto& n, auto& v) { return number(n, v, -1, 1, o.minCorrelation); }},
        {"--min-short-correlation",
         [&](auto& n, auto& v) { return number(n, v, -1, 1, o.minShortCorrelation); }},
        {"--max-p", [&](auto& n, auto& v) { return number(n, v, 0, 1, o.maxP); }},
        {"--max-q", [&](auto& n, auto& v) { return number(n, v, 0, 1, o.maxQ); }},
        {"--min-z", [&](auto& n, auto& v) { return number(n, v, 0, inf, o.minAbsZ); }},
        {"--half-life",
         [&](auto& n, auto& v) {
             const size_t colon = v.find(':');
             problem = n + " " + v + ": give MIN:MAX, two numbers of 0 or more, MIN <= MAX";
             double low = 0;
             double high = 0;
             if (colon == std::string::npos || !parseNumber(v.substr(0, colon), low) ||
                 !parseNumber(v.substr(colon + 1), high) || low < 0 || high < low) {
                 return false;
             }
             o.minHalfLife = low;
             o.maxHalfLife = high;
             return true;
         }},
        {"--sort",
         [&](auto& n, auto& v) {
             const std::optional<ScreenColumn> column = screenColumnNamed(v);
             const std::string_view prefix = "backtest.";
             c.backtestSort = v.starts_with(prefix)
                                  ? backtestColumnNamed(std::string_view(v).substr(prefix.size()))
                                  : std::nullopt;
             problem = n + " " + v +
                       ": not a column (p, q, adf_t, ssd, half_life, "
                       "correlation, correlation_short, crossings, z, backtest.STAT)";
             o.sort = column.value_or(ScreenColumn::P);
             return column.has_value() || c.backtestSort.has_value();
         }},
        {"--backtest-years",
         [&](auto& n, auto& v) {
             yearsGiven = true;
             return integer(n, v, kMinBacktestYears, kMaxBacktestYears, c.backtestYears);
         }},
        {"--top", [&](auto& n, auto& v) { return integer(n, v, 1, INT32_MAX, o.top); }},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return ScreenArgs::Help;
        }
        if (arg == "--backtest") {
            c.backtest = true;
            continue;
        }
        if (isBacktestRuleOption(arg)) {
            ruleOption = ruleOption.empty() ? arg : ruleOption;
            if (i + 1 >= args.size()) {
                problem = arg + " needs a value";
                return ScreenArgs::Usage;
            }
            if (!applyBacktestRuleOption(arg, args[i + 1], c.rule, problem)) {
                return ScreenArgs::Usage;
            }
            ++i;
            continue;
        }
        if (arg == "--all" || arg == "--borrowable" || arg == "--csv" || arg == "--json") {
            c.all = c.all || arg == "--all";
            o.borrowable = o.borrowable || arg == "--borrowable";
            csv = csv || arg == "--csv";
            if (arg == "--json") {
                c.format = ScreenFormat::Json;
            }
            continue;
        }
        const auto reader = valued.find(arg);
        if (reader == valued.end()) {
            problem = arg.starts_with("-") ? "unknown option " + arg : "unexpected argument " + arg;
            return ScreenArgs::Usage;
        }
        if (i + 1 >= args.size()) {
            problem = arg + " needs a value";
            return ScreenArgs::Usage;
        }
        if (!reader->second(arg, args[++i])) {
            return ScreenArgs::Usage;
        }
    }
    if (csv && c.format == ScreenFormat::Json) {
        problem = "--csv and --json exclude each other";
        return ScreenArgs::Usage;
    }
    if (csv) {
        c.format = ScreenFormat::Csv;
    }
    if (!shortGiven) {
        o.shortDays = std::min(o.shortDays, o.days);
    } else if (o.shortDays > o.days) {
        problem = "--short-days " + std::to_string(o.shortDays) + ": give at most the window (" +
                  std::to_string(o.days) + ")";
        return ScreenArgs::Usage;
    }
    // Rule options alone would be dropped without a word: the backtest must be asked for.
    const std::string lonely = !ruleOption.empty() ? ruleOption
                               : yearsGiven        ? "--backtest-years"
                               : c.backtestSort    ? "--sort backtest.*"
                                                   : "";
    if (!c.backtest && !lonely.empty()) {
        problem = lonely + " needs --backtest";
        return ScreenArgs::Usage;
    }
    if (c.backtest) {
        if (problem = backtestRuleProblem(c.rule); !problem.empty()) {
            return ScreenArgs::Usage;
        }
    }
    c.rule.ratioPeriod = o.ratioPeriod;
    if (!c.all) {
        applyDefaultFilters(o);
    }
    problem.clear();
    return ScreenArgs::Run;
}

}  // namespace zepa
