// zepa_screen's options.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/words.h"
#include "tools/screen/screen_args.h"

namespace zepa {
namespace {

using test::words;

TEST(ScreenArgs, EveryOptionReadsItsValue) {
    ScreenCommand c;
    std::string problem;
    ASSERT_EQ(parseScreenArgs(
                  words("--root /r --end 2024-02-29 --days 500 --short-days 60 --ratio-period 40 "
                        "--market t --sector 17 --borrowable --min-turnover 1e8 --min-price 300 "
                        "--codes 7203,7267 --exclude 1301 --min-correlation 0.8 "
                        "--min-short-correlation 0.6 --max-q 0.1 --half-life 2:30 --min-z 2 "
                        "--sort z --top 5 --json"),
                  c, problem),
              ScreenArgs::Run)
        << problem;
    const ScreenOptions& o = c.screen;
    EXPECT_EQ(std::tuple(c.root, c.endDate, c.marketCode, c.format),
              std::tuple("/r", 20240229, 1, ScreenFormat::Json));
    EXPECT_EQ(std::tuple(o.days, o.shortDays, o.ratioPeriod, o.sector, o.borrowable, o.top),
              std::tuple(500, 60, 40, 17, true, 5));
    EXPECT_EQ(std::tuple(o.minTurnover, o.minPrice, o.minCorrelation, o.minShortCorrelation),
              std::tuple(1e8, 300.0, 0.8, 0.6));
    EXPECT_EQ(std::tuple(o.maxQ, o.minHalfLife, o.maxHalfLife, o.minAbsZ, o.sort),
              std::tuple(0.1, 2.0, 30.0, 2.0, ScreenColumn::Z));
    EXPECT_EQ(std::pair(o.codes, o.exclude),
              std::pair(std::vector<int32_t>{7203, 7267}, std::vector<int32_t>{1301}));
    ASSERT_EQ(parseScreenArgs(words("--backtest --backtest-years 5 --ratio-period 30 --fill close "
                                    "--sort backtest.max_drawdown"),
                              c, problem),
              ScreenArgs::Run)
        << problem;
    EXPECT_EQ(std::tuple(c.backtestYears, c.rule.ratioPeriod, c.rule.fill, c.backtestSort),
              std::tuple(5, 30, BacktestFill::Close, std::optional(BacktestColumn::MaxDrawdown)));
    // --all drops the defaults but not what is given; a short window shortens --short-days.
    c = {};
    ASSERT_EQ(parseScreenArgs(words("--all --max-p 0.1 --days 40"), c, problem), ScreenArgs::Run);
    EXPECT_FALSE(c.screen.minCorrelation || c.screen.minHalfLife);
    EXPECT_EQ(std::pair(c.screen.maxP, c.screen.shortDays), std::pair(std::optional(0.1), 40));
}

TEST(ScreenArgs, BadOptionsSayWhat) {
    const struct {
        std::vector<std::string> args;
        const char* problem;
    } table[] = {
        {{"--days", "19"}, "--days 19: give a whole number from 20 to 1500"},
        {{"--days", "40", "--short-days", "41"}, "--short-days 41: give at most the window (40)"},
        {{"--ratio-period", "251"}, "--ratio-period 251: give a whole number from 5 to 250"},
        {{"--end", "2023-02-29"}, "--end 2023-02-29: give a date as YYYY-MM-DD"},
        {{"--sector", "12"}, "--sector 12: give 17 or 33"},
        {{"--market", "TO"}, "--market TO: give one letter (T, O, N, K, G; others: index)"},
        {{"--codes", "7203,72"}, "--codes 7203,72: give four-digit codes separated by commas"},
        {{"--min-correlation", "1.5"}, "--min-correlation 1.5: give a number from -1 to 1"},
        {{"--max-p", "x"}, "--max-p x: give a number from 0 to 1"},
        {{"--half-life", "30:2"},
         "--half-life 30:2: give MIN:MAX, two numbers of 0 or more, MIN <= MAX"},
        {{"--sort", "beta"},
         "--sort beta: not a column (p, q, adf_t, ssd, half_life, correlation, correlation_short, "
         "crossings, z, backtest.STAT)"},
        {{"--top", "0"}, "--top 0: give a whole number from 1 to 2147483647"},
        {{"--csv", "--json"}, "--csv and --json exclude each other"},
        {{"--fast"}, "unknown option --fast"},
        {{"--backtest", "--backtest-years", "51"},
         "--backtest-years 51: give a whole number from 1 to 50"},
        {{"--stop", "3"}, "--stop needs --backtest"},
        {{"--backtest-years", "2"}, "--backtest-years needs --backtest"},
        {{"--sort", "backtest.net"}, "--sort backtest.* needs --backtest"},
        {{"--backtest", "--entry", "4"}, "give 0 < --entry, --exit below it and --stop above it"},
    };
    for (const auto& row : table) {
        ScreenCommand c;
        std::string problem;
        EXPECT_EQ(parseScreenArgs(row.args, c, problem), ScreenArgs::Usage) << row.problem;
        EXPECT_EQ(problem, row.problem);
    }
}

}  // namespace
}  // namespace zepa
