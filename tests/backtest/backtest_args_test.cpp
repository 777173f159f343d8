// zepa_backtest's command line.
#include <gtest/gtest.h>

#include "tools/backtest/backtest_args.h"

namespace zepa {
namespace {

TEST(BacktestArgs, OptionsSetTheRule) {
    BacktestOptions o;
    std::string problem;
    ASSERT_EQ(
        parseBacktestArgs(
            {"--root",         "/r",    "--start",      "2024-01-04", "--end",      "20251230",
             "--ratio-period", "40",    "--entry",      "1.5",        "--exit",     "-0.25",
             "--stop",         "3",     "--max-days",   "90",         "--amount",   "5e5",
             "--fill",         "close", "--commission", "0.001",      "--buy-rate", "0.03",
             "--borrow-rate",  "0",     "--json",       "t8306",      "8316"},
            o, problem),
        BacktestArgsResult::Run)
        << problem;
    const BacktestRule& r = o.rule;
    EXPECT_EQ(o.root, "/r");
    EXPECT_EQ((std::vector{r.startDate, r.endDate, r.ratioPeriod, r.maxDays}),
              (std::vector{20240104, 20251230, 40, 90}));
    EXPECT_EQ(
        (std::vector{r.entry, r.exit, r.stop, r.amount, r.commission, r.buyRate, r.borrowRate}),
        (std::vector{1.5, -0.25, 3.0, 5e5, 0.001, 0.03, 0.0}));
    EXPECT_EQ(std::pair(r.fill, o.json), std::pair(BacktestFill::Close, true));
    EXPECT_EQ((std::vector{o.a.market, o.b.market}), (std::vector{'t', char{0}}));
    EXPECT_EQ((std::vector{o.a.code, o.b.code}), (std::vector{8306, 8316}));
    EXPECT_EQ(parseBacktestArgs({"--help"}, o, problem), BacktestArgsResult::Help);
}

TEST(BacktestArgs, BadValuesAreRefusedWithTheirReason) {
    const struct {
        std::vector<std::string> args;
        std::string problem;
    } cases[] = {
        {{"7203"}, "give two codes"},
        {{"72O3", "7267"}, "72O3"},
        {{"7203", "123456"}, "123456"},
        {{"--entry", "2x", "1", "2"}, "--entry 2x: not a number"},
        {{"--entry", "nan", "1", "2"}, "not a number"},
        {{"--entry", "2.5", "--stop", "2", "1", "2"}, "--stop above it"},
        {{"--ratio-period", "4", "1", "2"}, "5 to 250"},
        {{"--max-days", "0", "1", "2"}, "1 to 36500"},
        {{"--amount", "0", "1", "2"}, "from 1 to"},
        {{"--buy-rate", "2.8", "1", "2"}, "0.028 is 2.8 %"},
        {{"--fill", "mid", "1", "2"}, "open or close"},
        {{"--start", "2024-02-30", "1", "2"}, "not a date"},
        {{"--start", "2025-01-01", "--end", "2024-12-31", "1", "2"}, "--start is after --end"},
        {{"--stop"}, "--stop needs a value"},
        {{"--weekly", "1", "2"}, "unknown option --weekly"},
    };
    for (const auto& c : cases) {
        BacktestOptions o;
        std::string problem;
        EXPECT_EQ(parseBacktestArgs(c.args, o, problem), BacktestArgsResult::Usage) << c.problem;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
    }
}

}  // namespace
}  // namespace zepa
