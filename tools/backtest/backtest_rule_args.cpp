#include "tools/backtest/backtest_rule_args.h"

#include <charconv>
#include <cmath>

namespace zepa {

const char* const kBacktestRuleUsage =
    "  --entry Z            open at z >= Z (sell a, buy b) or z <= -Z (default 2.0)\n"
    "  --exit Z             target: z back to Z, mirrored below 0 (default 0.0)\n"
    "  --stop Z             stop: z at Z or beyond on the entry's side (default 3.5)\n"
    "  --max-days D         time exit after D calendar days (default 180)\n"
    "  --amount YEN         yen per leg at entry (default 1000000)\n"
    "  --fill open|close    fill at the next date's open (default) or the signal's close\n"
    "  --commission RATE    of the traded value at each fill (default 0)\n"
    "  --buy-rate RATE      margin interest on the bought leg (default 0.028)\n"
    "  --borrow-rate RATE   貸株料 on the sold leg (default 0.0115)\n";

namespace {

bool parseNumber(const std::string& text, double& out) {
    double v = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc{} || stop != end || !std::isfinite(v)) {
        return false;
    }
    out = v;
    return true;
}

}  // namespace

bool parseWholeNumber(const std::string& text, int32_t low, int32_t high, int32_t& out) {
    int32_t v = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc{} || stop != end || v < low || v > high) {
        return false;
    }
    out = v;
    return true;
}

bool isBacktestRuleOption(const std::string& name) {
    static const char* const names[] = {"--entry",      "--exit",     "--stop",
                                        "--max-days",   "--amount",   "--fill",
                                        "--commission", "--buy-rate", "--borrow-rate"};
    for (const char* n : names) {
        if (name == n) {
            return true;
        }
    }
    return false;
}

bool applyBacktestRuleOption(const std::string& name, const std::string& value, BacktestRule& r,
                             std::string& problem) {
    double number = 0;
    const auto bad = [&](const char* what) {
        problem = name + " " + value + ": " + what;
        return false;
    };
    if (name == "--max-days") {
        if (!parseWholeNumber(value, 1, 36500, r.maxDays)) {
            return bad("give a whole number of days from 1 to 36500");
        }
    } else if (name == "--fill") {
        if (value != "open" && value != "close") {
            return bad("give open or close");
        }
        r.fill = value == "open" ? BacktestFill::Open : BacktestFill::Close;
    } else if (!parseNumber(value, number)) {
        return bad("not a number");
    } else if (name == "--entry" || name == "--exit" || name == "--stop") {
        (name == "--entry" ? r.entry : name == "--exit" ? r.exit : r.stop) = number;
    } else if (name == "--amount") {
        if (number < 1 || number > 1e12) {
            return bad("give yen from 1 to 1000000000000");
        }
        r.amount = number;
    } else {
        if (number < 0 || number > 1) {
            return bad("a rate is a fraction from 0 to 1 (0.028 is 2.8 %)");
        }
        (name == "--commission" ? r.commission
         : name == "--buy-rate" ? r.buyRate
                                : r.borrowRate) = number;
    }
    return true;
}

std::string backtestRuleProblem(const BacktestRule& r) {
    if (!(r.exit < r.entry && r.entry < r.stop) || r.entry <= 0) {
        return "give 0 < --entry, --exit below it and --stop above it";
    }
    return {};
}

}  // namespace zepa
