// zepa_backtest run as a process on a small installation.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/support/run_tool.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

class BacktestTool : public ::testing::Test, public TempInstallation {
  protected:
    void SetUp() override {
        // 8306 jumps for two dates in every fifteen; 9984 is listed on the 大証 only.
        std::vector<int32_t> a;
        std::vector<int32_t> b;
        for (int i = 0; i < 120; ++i) {
            a.push_back(1000 + i % 7 + (i % 15 == 10 || i % 15 == 11 ? 40 : 0));
            b.push_back(2000 + i % 4);
        }
        writeDb("DBW.2024", dbw(weekdays(2024, 1, 1, 120),
                                {stock(tokyo(8306), "A", a), stock(tokyo(8316), "B", b),
                                 stock(200000000 + 9984, "C", b)}));
    }
    // The exit code; standard output and error into `out`.
    int run(const std::string& args, std::string* out) {
        return runTool("{ " + std::string(ZEPA_BACKTEST_PATH) + " --root " + root.string() + " " +
                           args + " 2>&1; }",
                       out);
    }
};

TEST_F(BacktestTool, PrintsThePairsTradesAndRefusesUnknownCodesAndBadNumbers) {
    std::string out;
    ASSERT_EQ(run("--ratio-period 10 --json 8306 T8316", &out), 0) << out;
    const auto json = nlohmann::json::parse(out);
    EXPECT_EQ(json["a"], "8306");
    EXPECT_EQ(json["b"], "T8316");
    const auto& trades = json["trades"];
    ASSERT_GT(trades.size(), 2u);
    int closed = 0;
    for (const auto& t : trades) {
        closed += t["reason"] != "open";
        EXPECT_NEAR(t["net"].get<double>(),
                    t["gross"].get<double>() - t["commission"].get<double>() -
                        t["interest"].get<double>() - t["borrow_fee"].get<double>(),
                    0.5);
    }
    EXPECT_EQ(json["stats"]["trades"], closed);

    out.clear();
    ASSERT_EQ(run("8306 9984", &out), 0);  // found on the 大証
    EXPECT_NE(out.find("逆日歩"), std::string::npos);

    // A code no file lists, and a bad number.
    out.clear();
    EXPECT_EQ(run("8306 7203", &out), 1);
    EXPECT_NE(out.find("7203"), std::string::npos) << out;
    EXPECT_EQ(run("--entry 2,5 8306 8316", &out), 2);
}

}  // namespace
}  // namespace zepa::test
