// zepa_walkforward run as a process on a written installation.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "tests/support/run_tool.h"
#include "tests/walkforward/walkforward_market.h"

namespace zepa {
namespace {

class WalkForwardTool : public ::testing::Test, public test::TempInstallation {
  protected:
    void SetUp() override { test::writeWalkMarket(*this); }

    int run(const std::string& args, std::string& out, std::string& err) {
        const std::string errFile = (root / "stderr.txt").string();
        out.clear();
        const int code = test::runTool("(" + std::string(ZEPA_WALKFORWARD_PATH) + " --root " +
                                           root.string() + " " + args + " 2>" + errFile + ")",
                                       &out);
        err = readText(errFile);
        return code;
    }
};

constexpr const char* kLoose = "--days 60 --trade-days 35 --step 40 --min-correlation 0 ";

TEST_F(WalkForwardTool, JsonCsvAndTextAgree) {
    std::string out;
    std::string err;
    ASSERT_EQ(run(std::string(kLoose) + "--pairs --json", out, err), 0) << err;
    const nlohmann::json j = nlohmann::json::parse(out);
    ASSERT_EQ(j["periods"].size(), 7u);
    EXPECT_EQ(j["parameters"]["step"], 40);
    EXPECT_EQ(j["periods"][0]["formation_end"], "2023-03-24");  // the 60th weekday
    EXPECT_EQ(j["periods"][0]["trade_start"], "2023-03-27");
    EXPECT_EQ(j["periods"][6]["short"], true);
    int64_t net = 0;
    for (const auto& p : j["periods"]) {
        int64_t pairs = 0;
        for (const auto& pair : p["pairs"]) {
            pairs += pair["out"]["net"].get<int64_t>();
            EXPECT_EQ(pair["a"].get<std::string>().size(), 4u);
        }
        EXPECT_EQ(pairs, p["out"]["net"]);
        net += p["out"]["net"].get<int64_t>();
    }
    EXPECT_EQ(j["out"]["net"], net);
    EXPECT_EQ(j["out"]["periods"], 7);
    EXPECT_EQ(j["out"]["curve"].back()["net"], net);
    for (const char* key : {"period_mean", "period_sd", "t", "positive_periods", "max_drawdown"}) {
        EXPECT_TRUE(j["in"].contains(key)) << key;
    }
    EXPECT_TRUE(j["ratio"].is_number() || j["ratio"].is_null());
    EXPECT_EQ(j["not_modelled"].size(), 2u);
    EXPECT_NE(j["survivorship"].get<std::string>().find("delisted"), std::string::npos);

    ASSERT_EQ(run(std::string(kLoose) + "--json", out, err), 0) << err;
    EXPECT_TRUE(nlohmann::json::parse(out)["periods"][0]["pairs"].is_number());

    ASSERT_EQ(run(std::string(kLoose) + "--csv", out, err), 0) << err;
    std::istringstream lines(out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) {
        rows.push_back(line);
    }
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_NE(rows[0].find("period,formation_end,trade_start,trade_end,short,universe,pairs"),
              std::string::npos);
    EXPECT_EQ(rows[1].rfind("1,2023-03-24,2023-03-27,", 0), 0u) << rows[1];

    ASSERT_EQ(run(kLoose, out, err), 0) << err;
    EXPECT_NE(out.find("survivorship"), std::string::npos);
    EXPECT_NE(out.find("short"), std::string::npos);
    EXPECT_NE(out.find("ratio out / in"), std::string::npos);
}

TEST_F(WalkForwardTool, ExitCodesAndReasons) {
    std::string out;
    std::string err;
    EXPECT_EQ(run("--help", out, err), 0);
    EXPECT_EQ(out.rfind("usage: zepa_walkforward", 0), 0u);
    EXPECT_EQ(run("--step 0", out, err), 2);
    EXPECT_EQ(
        err.rfind("zepa_walkforward: --step 0: give a whole number from 1 to 1500\nusage:", 0), 0u)
        << err;
    EXPECT_EQ(run("--days 330", out, err), 1);
    EXPECT_NE(err.find("fewer than 331 dates"), std::string::npos) << err;
    EXPECT_EQ(run("--days 60 --from 2030-01-01", out, err), 1);
    EXPECT_NE(err.find("no formation end"), std::string::npos) << err;
    EXPECT_EQ(run("--days 60 --end 2000-01-03", out, err), 1);
    EXPECT_NE(err.find("no date on or before the end date"), std::string::npos) << err;
    EXPECT_EQ(run("--days 60 --sector 33", out, err), 2);  // no listing data
    EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace zepa
