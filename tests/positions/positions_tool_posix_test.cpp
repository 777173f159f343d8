// zepa_positions run as a script runs it: exit codes, the files it leaves, closed --json.
#include <gtest/gtest.h>

#include "tests/positions/positions_fixture.h"
#include "tests/support/run_tool.h"

namespace zepa::test {
namespace {

class PositionsTool : public PositionsFixture {
  protected:
    int run(const std::string& args, std::string* out = nullptr) {
        return runTool(std::string(ZEPA_POSITIONS_PATH) + " --root '" + root.string() + "' " + args,
                       out);
    }
};

TEST_F(PositionsTool, AddChangeCloseAndRemoveLeaveTheFilesAsTheySay) {
    EXPECT_EQ(run("add 1111 2222 --date 2025-03-03 --quantity 100"), 0);
    EXPECT_EQ(run("add 4444 O3333 --buy-quantity 100 --sell-quantity 200"), 0);
    EXPECT_EQ(run("change 1 --sell-quantity 300 --sell-name ABC"), 0);
    std::string out;
    EXPECT_EQ(run("list --json", &out), 0);
    EXPECT_NE(out.find(R"("code":"O3333","name":"ABC","entry_date":"2025-03-14","quantity":300)"),
              std::string::npos)
        << out;
    EXPECT_EQ(run("close 0 --note 'ok, fine'"), 0);
    EXPECT_EQ(run("remove 0"), 0);
    EXPECT_EQ(read(paths.positionFile), "# positions\r\n");

    out.clear();
    EXPECT_EQ(run("closed --json", &out), 0);
    EXPECT_EQ(out,
              "[\n{\"close_date\":\"2025-03-14\",\"buy_code\":\"T1111\",\"buy_name\":\"北辰建\","
              "\"buy_entry_date\":\"2025-03-03\",\"buy_quantity\":100,\"buy_entry_price\":1000,"
              "\"buy_exit_price\":540,\"buy_profit\":8000,\"sell_code\":\"T2222\",\"sell_name\":"
              "\"SELLCO\",\"sell_entry_date\":\"2025-03-03\",\"sell_quantity\":100,"
              "\"sell_entry_price\":500,\"sell_exit_price\":545,\"sell_profit\":-4500,\"profit\":"
              "3500,\"note\":\"ok, fine\"}]\n");

    // Refused input exits 1 and a usage error 2, both writing nothing.
    EXPECT_EQ(run("add 9999 2222 --quantity 100"), 1);
    EXPECT_EQ(run("remove 0"), 1);
    EXPECT_EQ(run("add 1111"), 2);
    EXPECT_EQ(read(paths.positionFile), "# positions\r\n");
}

}  // namespace
}  // namespace zepa::test
