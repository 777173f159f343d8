#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/words.h"
#include "tools/positions/positions_args.h"

namespace zepa::test {
namespace {

TEST(PositionsArgs, CommandsAndTheirOptions) {
    PositionsArgs a;
    std::string error;
    ASSERT_TRUE(parsePositionsArgs(
        words("--root /x add 7203 T6758 --date 2025-04-01 --sell-date 2025-04-02 --amount 1000000"),
        a, error))
        << error;
    EXPECT_EQ(
        std::tuple(a.root, a.command, a.buyCode, a.sellCode, a.date, a.sellDate, a.amount),
        std::tuple("/x", PositionsCommand::Add, "7203", "T6758", 20250401, 20250402, "1000000"));
    ASSERT_TRUE(
        parsePositionsArgs(words("close 3 --date 20250314 --buy-price 1200 --note x"), a, error));
    EXPECT_EQ(std::tuple(a.position, a.buyPrice, a.note), std::tuple(3, 1200, "x"));
    // A quantity the column cannot hold is refused input later, not a usage error.
    ASSERT_TRUE(parsePositionsArgs(words("add 1 2 --quantity 1.5"), a, error));
}

TEST(PositionsArgs, UsageErrors) {
    for (const char* line : {
             "",
             "sell 1",
             "add 7203",
             "add 7203 6758",
             "add 7203 6758 --quantity 1 --amount 5",
             "add 1 2 --quantity",
             "add 1 2 --date 2025-02-30 --quantity 1",
             "change x",
             "close 1 2",
             "close 1 --buy-price 1.5",
             "closed --date 2025-01-01",
             "add 1 2 --quantity 1 --json",
             "close 0 --quantity 5",
             "list --bogus",
         }) {
        PositionsArgs a;
        std::string error;
        EXPECT_FALSE(parsePositionsArgs(words(line), a, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

}  // namespace
}  // namespace zepa::test
