// zepa_screen run as a process on a written installation: its outputs, exit codes and messages.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

#include "tests/support/run_tool.h"
#include "tests/support/temp_installation.h"

namespace zepa {
namespace {

class ScreenTool : public ::testing::Test, public test::TempInstallation {
  protected:
    // Six stocks over 120 weekdays; 1006 follows 1005 with a reverting ratio.
    void SetUp() override {
        std::vector<DbwStock> stocks;
        for (int32_t code = 1001; code <= 1006; ++code) {
            std::vector<int32_t> closes;
            double e = 0.0;
            for (int d = 0; d < 120; ++d) {
                const double walk = 1000 + 200 * std::sin(d * 0.05 * (code % 4 + 1) + code);
                e = 0.3 * e + 0.02 * std::sin(d * 1.7 + code * 3.1);
                const double leader = 1000 + 200 * std::sin(d * 0.05 * 2 + 1005);
                closes.push_back(static_cast<int32_t>(
                    code == 1006 ? 2 * leader * std::exp(e) : walk + 5 * std::cos(d * 2.3 * code)));
            }
            stocks.push_back(test::stock(test::tokyo(code), "S" + std::to_string(code), closes));
        }
        writeDb("DBW.2025", test::dbw(test::weekdays(2025, 1, 6, 120), stocks));
    }

    // Exit code; standard output and error into the strings.
    int run(const std::string& args, std::string& out, std::string& err) {
        const std::string errFile = (root / "stderr.txt").string();
        out.clear();
        // In a subshell, so that its own redirection of standard error comes last.
        const int code = test::runTool("(" + std::string(ZEPA_SCREEN_PATH) + " --root " +
                                           root.string() + " " + args + " 2>" + errFile + ")",
                                       &out);
        err = readText(errFile);
        return code;
    }
};

TEST_F(ScreenTool, JsonAndCsvWithAndWithoutTheBacktestAndExitCodes) {
    std::string out;
    std::string err;
    ASSERT_EQ(run("--days 100 --all --top 3 --json", out, err), 0) << err;
    const nlohmann::json j = nlohmann::json::parse(out);
    EXPECT_EQ(j["universe"], 6);
    EXPECT_EQ(j["funnel"][0]["pairs"], 15);
    ASSERT_EQ(j["pairs"].size(), 3u);
    const auto& best = j["pairs"][0];
    EXPECT_EQ(std::set<std::string>({best["a"], best["b"]}),
              std::set<std::string>({"1005", "1006"}));
    EXPECT_TRUE(best["sector_a"].is_null());
    EXPECT_EQ(best.size(), 18u);

    ASSERT_EQ(run("--days 100 --all --top 2 --csv", out, err), 0);
    EXPECT_EQ(out.substr(0, out.find('\n')),
              "a,b,name_a,name_b,sector_a,sector_b,correlation,correlation_short,ssd,beta,"
              "adf_t,p,q,half_life,z,crossings,turnover_a,turnover_b");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);

    // With the backtest: each pair's statistics, ranked by one of them.
    ASSERT_EQ(
        run("--days 100 --all --top 4 --ratio-period 10 --backtest --sort backtest.net --json", out,
            err),
        0)
        << err;
    const nlohmann::json tested = nlohmann::json::parse(out);
    EXPECT_EQ(tested["backtest_start"],
              "2022-06-20");  // three years before the last of 120 weekdays
    ASSERT_EQ(tested["pairs"].size(), 4u);
    int64_t previous = INT64_MAX;
    for (const auto& p : tested["pairs"]) {
        EXPECT_EQ(p["backtest"].size(), 15u);
        EXPECT_LE(p["backtest"]["net"].get<int64_t>(), previous) << out;
        previous = p["backtest"]["net"].get<int64_t>();
    }
    EXPECT_GT(tested["pairs"][0]["backtest"]["trades"].get<int>(), 0);

    ASSERT_EQ(run("--days 100 --all --top 2 --backtest --csv", out, err), 0) << err;
    const std::string header = out.substr(0, out.find('\n'));
    EXPECT_NE(header.find(",turnover_b,backtest.trades,backtest.wins,"), std::string::npos);
    EXPECT_NE(header.find(",backtest.exits.time,backtest.open_net"), std::string::npos);

    // Refusals: 2 for usage, 1 for the data.
    EXPECT_EQ(run("--days 10", out, err), 2);
    EXPECT_NE(err.find("usage: zepa_screen"), std::string::npos);
    EXPECT_EQ(run("--sector 33", out, err), 2);  // no listing file
    EXPECT_EQ(run("--days 121", out, err), 1);
    EXPECT_NE(err.find("fewer than 121 dates"), std::string::npos);
    std::filesystem::remove(dataFile("DBW.2025"));
    EXPECT_EQ(run("", out, err), 1);
    EXPECT_FALSE(err.empty());
}

}  // namespace
}  // namespace zepa
