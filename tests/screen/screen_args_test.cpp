// zepa_screen's options: what each reads into, and the one-line problem of a bad one.
#include <gtest/gtest.h>

#include "tools/screen/screen_args.h"

namespace zepa {
namespace {

ScreenArgs parse(std::vector<std::string> args, ScreenCommand& c, std::string& problem) {
    return parseScreenArgs(args, c, problem);
}

TEST(ScreenArgs, DefaultsAndAll) {
    ScreenCommand c;
    std::string problem;
    ASSERT_EQ(parse({}, c, problem), ScreenArgs::Run);
    EXPECT_EQ(c.screen.days, 250);
    EXPECT_EQ(c.screen.shortDays, 75);
    EXPECT_EQ(c.screen.minCorrelation, 0.7);
    EXPECT_EQ(c.screen.minShortCorrelation, 0.5);
    EXPECT_EQ(c.screen.maxP, 0.05);
    EXPECT_EQ(c.screen.minHalfLife, 1.0);
    EXPECT_EQ(c.screen.maxHalfLife, 60.0);
    EXPECT_FALSE(c.screen.maxQ || c.screen.minAbsZ);
    // --all drops the defaults, not what is given; a short window shortens S.
    ASSERT_EQ(parse({"--all", "--max-p", "0.1", "--days", "40"}, c, problem), ScreenArgs::Run);
    EXPECT_FALSE(c.screen.minCorrelation || c.screen.minHalfLife);
    EXPECT_EQ(c.screen.maxP, 0.1);
    EXPECT_EQ(c.screen.shortDays, 40);
}

TEST(ScreenArgs, EveryOptionReadsItsValue) {
    ScreenCommand c;
    std::string problem;
    ASSERT_EQ(parse({"--root",
                     "/r",
                     "--end",
                     "2024-02-29",
                     "--days",
                     "500",
                     "--short-days",
                     "60",
                     "--ratio-period",
                     "40",
                     "--market",
                     "t",
                     "--sector",
                     "17",
                     "--borrowable",
                     "--min-turnover",
                     "1e8",
                     "--min-price",
                     "300",
                     "--codes",
                     "7203,7267",
                     "--exclude",
                     "1301",
                     "--min-correlation",
                     "0.8",
                     "--min-short-correlation",
                     "0.6",
                     "--max-q",
                     "0.1",
                     "--half-life",
                     "2:30",
                     "--min-z",
                     "2",
                     "--sort",
                     "z",
                     "--top",
                     "5",
                     "--json"},
                    c, problem),
              ScreenArgs::Run)
        << problem;
    EXPECT_EQ(c.root, "/r");
    EXPECT_EQ(c.endDate, 20240229);
    EXPECT_EQ(c.screen.days, 500);
    EXPECT_EQ(c.screen.shortDays, 60);
    EXPECT_EQ(c.screen.ratioPeriod, 40);
    EXPECT_EQ(c.marketCode, 1);
    EXPECT_EQ(c.screen.sector, 17);
    EXPECT_TRUE(c.screen.borrowable);
    EXPECT_EQ(c.screen.minTurnover, 1e8);
    EXPECT_EQ(c.screen.minPrice, 300.0);
    EXPECT_EQ(c.screen.codes, (std::vector<int32_t>{7203, 7267}));
    EXPECT_EQ(c.screen.exclude, (std::vector<int32_t>{1301}));
    EXPECT_EQ(c.screen.minCorrelation, 0.8);
    EXPECT_EQ(c.screen.minShortCorrelation, 0.6);
    EXPECT_EQ(c.screen.maxQ, 0.1);
    EXPECT_EQ(c.screen.minHalfLife, 2.0);
    EXPECT_EQ(c.screen.maxHalfLife, 30.0);
    EXPECT_EQ(c.screen.minAbsZ, 2.0);
    EXPECT_EQ(c.screen.sort, ScreenColumn::Z);
    EXPECT_EQ(c.screen.top, 5);
    EXPECT_EQ(c.format, ScreenFormat::Json);
}

TEST(ScreenArgs, BadOptionsSayWhat) {
    const struct {
        std::vector<std::string> args;
        const char* problem;
    } table[] = {
        {{"--days", "19"}, "--days 19: give a whole number from 20 to 1500"},
        {{"--days", "1501"}, "--days 1501: give a whole number from 20 to 1500"},
        {{"--days", "40", "--short-days", "41"}, "--short-days 41: give at most the window (40)"},
        {{"--short-days", "9"}, "--short-days 9: give a whole number from 10 to 1500"},
        {{"--ratio-period", "251"}, "--ratio-period 251: give a whole number from 5 to 250"},
        {{"--top", "0"}, "--top 0: give a whole number from 1 to 2147483647"},
        {{"--end", "2023-02-29"}, "--end 2023-02-29: give a date as YYYY-MM-DD"},
        {{"--end", "20230101"}, "--end 20230101: give a date as YYYY-MM-DD"},
        {{"--sector", "12"}, "--sector 12: give 17 or 33"},
        {{"--market", "TO"}, "--market TO: give one letter (T, O, N, K, G; others: index)"},
        {{"--codes", "7203,72"}, "--codes 7203,72: give four-digit codes separated by commas"},
        {{"--exclude", ""}, "--exclude : give four-digit codes separated by commas"},
        {{"--min-correlation", "1.5"}, "--min-correlation 1.5: give a number from -1 to 1"},
        {{"--max-p", "x"}, "--max-p x: give a number from 0 to 1"},
        {{"--min-z", "-1"}, "--min-z -1: give a number 0 or more"},
        {{"--min-turnover", "nan"}, "--min-turnover nan: give a number 0 or more"},
        {{"--half-life", "30:2"},
         "--half-life 30:2: give MIN:MAX, two numbers of 0 or more, MIN <= MAX"},
        {{"--sort", "beta"},
         "--sort beta: not a column (p, q, adf_t, ssd, half_life, correlation, correlation_short, "
         "crossings, z)"},
        {{"--csv", "--json"}, "--csv and --json exclude each other"},
        {{"--top"}, "--top needs a value"},
        {{"--fast"}, "unknown option --fast"},
        {{"extra"}, "unexpected argument extra"},
    };
    for (const auto& row : table) {
        ScreenCommand c;
        std::string problem;
        EXPECT_EQ(parse(row.args, c, problem), ScreenArgs::Usage) << row.problem;
        EXPECT_EQ(problem, row.problem);
    }
}

}  // namespace
}  // namespace zepa
