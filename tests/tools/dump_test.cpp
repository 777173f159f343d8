// zepa_dump from the outside: an installation written to a temporary folder, the tool run as a
// process, its output and exit code checked.
#include <gtest/gtest.h>

#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

struct DumpTest : ::testing::Test, TempInstallation {
    // Two files of three dates; stock T1001 in both, T1002 only in the second.
    DumpTest() {
        writeDb("DBW.001", dbw({{54, 1, 5}, {54, 1, 6}, {54, 1, 7}},
                               {stock(tokyo(1001), "\x93\x8c\x97\x6d", {100, 110, 120})}));
        writeDb("dbw.002", dbw({{54, 1, 8}, {54, 1, 9}, {54, 1, 12}},
                               {stock(tokyo(1001), "AAA", {130, 140, 150}),
                                stock(tokyo(1002), "BBB", {500, 490, 470})}));
    }
    int run(const std::string& arguments, std::string* out = nullptr) const {
        return runTool(std::string(ZEPA_DUMP_PATH) + " --root '" + root.string() + "' " + arguments,
                       out);
    }
};

TEST_F(DumpTest, SeriesJsonCarriesBothLegsAlignedAtTheNewestDate) {
    writeText(paths.positionFile,
              "# buy / sell\r\n"
              "T1001    AAA       240108    100       T1002    BBB       240109    200\r\n");
    std::string out;
    ASSERT_EQ(run("--json series 0 --periods 2,0", &out), 0) << out;
    const auto has = [&](const std::string& part) { return out.find(part) != std::string::npos; };
    EXPECT_TRUE(
        has("\"result\":1,\"dateCount\":6,\"buyStart\":0,\"sellStart\":3,"
            "\"firstBar\":0,\"buyEntryBar\":3,\"sellEntryBar\":4"))
        << out;
    EXPECT_TRUE(has("\"buyStockName\":\"AAA     \""));
    // Buy slot 3: 2024-01-08, average of closes 120 and 130, gain 0 on the entry bar.
    EXPECT_TRUE(has("[20240108,129,132,127,130,1000,0,125]"));
    // Sell slot 5: gain is entry close minus close; period 0 gives the close as average.
    EXPECT_TRUE(has("[20240112,469,472,467,470,1000,20,470]"));
    // The sell leg's empty slots print date 0.
    EXPECT_TRUE(has("\"sellBars\":[\n[0,0,0,0,0,0,0,0]"));
}

TEST_F(DumpTest, MessagesAndExitCodes) {
    writeText(paths.positionFile,
              "T1001    AAA       240108    100       T9999    X         240109    200\n");
    std::string notFound, positions, dataError;
    EXPECT_EQ(run("--json series 0", &notFound), 0);
    EXPECT_NE(notFound.find("\"result\":-1"), std::string::npos);
    EXPECT_NE(notFound.find("指定銘柄は登録されていません"), std::string::npos);

    EXPECT_EQ(run("--json series 5"), 2);
    EXPECT_EQ(run("series x"), 2);
    EXPECT_EQ(run("frobnicate"), 2);
    EXPECT_EQ(run("--json positions", &positions), 0);
    EXPECT_NE(positions.find("\"positionCount\":1"), std::string::npos);

    fs::remove_all(paths.dataDirectory);
    fs::create_directories(dataFile("DBW.DIR"));
    EXPECT_EQ(run("--json series 0", &dataError), 3);
    EXPECT_NE(dataError.find("{\"dataError\":4,\"message\":\"DB がオープンできません\\n\\n"
                             "プログラムの実行を中止します\"}"),
              std::string::npos)
        << dataError;

    fs::remove(paths.positionFile);
    EXPECT_EQ(run("series 0"), 1);
}

}  // namespace
}  // namespace zepa::test
