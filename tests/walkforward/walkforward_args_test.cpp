// zepa_walkforward's command line.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/words.h"
#include "tools/walkforward/walkforward_args.h"

namespace zepa {
namespace {

using test::words;

TEST(WalkForwardArgs, DefaultsAndTheScreensAndRulesOptions) {
    WalkForwardCommand c;
    std::string problem;
    ASSERT_EQ(parseWalkForwardArgs({}, c, problem), WalkForwardArgs::Run) << problem;
    EXPECT_EQ(
        (std::vector{c.tradeDays, c.step, c.fromDate, c.screen.screen.top, c.screen.screen.days}),
        (std::vector{125, 125, 0, 20, 250}));
    EXPECT_FALSE(c.pairs);
    EXPECT_TRUE(c.screen.screen.maxP.has_value());  // the screen's default filters

    ASSERT_EQ(parseWalkForwardArgs(
                  words("--trade-days 60 --days 120 --entry 1.8 --fill close --sort backtest.net "
                        "--backtest-years 2 --top 7 --from 2024-03-01 --end 2025-01-31 --pairs "
                        "--json --sector 33"),
                  c, problem),
              WalkForwardArgs::Run)
        << problem;
    EXPECT_EQ((std::vector{c.tradeDays, c.step, c.fromDate, c.screen.endDate, c.screen.screen.top,
                           c.screen.screen.days, c.screen.backtestYears, c.screen.screen.sector}),
              (std::vector{60, 60, 20240301, 20250131, 7, 120, 2, 33}));
    EXPECT_EQ(std::tuple(c.screen.rule.entry, c.screen.rule.fill, c.screen.backtestSort,
                         c.screen.format, c.pairs),
              std::tuple(1.8, BacktestFill::Close, std::optional(BacktestColumn::Net),
                         ScreenFormat::Json, true));

    ASSERT_EQ(parseWalkForwardArgs({"--step", "21", "--root", "--pairs"}, c, problem),
              WalkForwardArgs::Run);
    EXPECT_EQ(c.step, 21);
    EXPECT_EQ(c.screen.root, "--pairs");  // a value, not the option
    EXPECT_FALSE(c.pairs);
    EXPECT_EQ(parseWalkForwardArgs({"--days", "60", "-h"}, c, problem), WalkForwardArgs::Help);
}

TEST(WalkForwardArgs, BadValuesAreUsageErrorsThatSayWhich) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--trade-days", "4"}, "--trade-days 4: give a whole number from 5 to 1500"},
        {{"--trade-days", "1501"}, "--trade-days 1501: give a whole number from 5 to 1500"},
        {{"--step", "0"}, "--step 0: give a whole number from 1 to 1500"},
        {{"--step", "2x"}, "--step 2x: give a whole number from 1 to 1500"},
        {{"--from", "20240101"}, "--from 20240101: give a date as YYYY-MM-DD"},
        {{"--from", "2024-02-30"}, "--from 2024-02-30: give a date as YYYY-MM-DD"},
        {{"--trade-days"}, "--trade-days needs a value"},
        {{"--entry", "4"}, "give 0 < --entry, --exit below it and --stop above it"},
        {{"--walk"}, "--walk needs a value"},
        {{"--walk", "1"}, "unknown option --walk"},
        {{"extra"}, "unexpected argument extra"},
    };
    for (const auto& [args, expected] : cases) {
        WalkForwardCommand c;
        std::string problem;
        EXPECT_EQ(parseWalkForwardArgs(args, c, problem), WalkForwardArgs::Usage) << expected;
        EXPECT_EQ(problem, expected);
    }
}

}  // namespace
}  // namespace zepa
