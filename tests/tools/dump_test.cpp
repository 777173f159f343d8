// zepa_dump from the outside: an installation written to a temporary folder, the tool run as a
// process, its output and exit code checked.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/dbw_writer.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int exitCode = -1;
    std::string out;
};

RunResult run(const std::string& arguments) {
    RunResult result;
    std::string command = std::string(ZEPA_DUMP_PATH) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.out.append(buffer.data(), n);
    }
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

DbwRecord bar(int32_t close) {
    return DbwRecord{close - 1, close + 2, close - 3, close, 1500, 0};
}

class DumpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() /
            ("zepa_dump_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "ZEPAWIN" / "DATA");
    }
    void TearDown() override { fs::remove_all(root_); }

    void writeText(const std::string& name, const std::string& text) {
        std::ofstream(root_ / "ZEPAWIN" / name, std::ios::binary) << text;
    }

    // Two files of three dates; stock T1001 in both, T1002 only in the second.
    void writeDatabases() {
        DbwFile first;
        first.dates = {{54, 1, 5}, {54, 1, 6}, {54, 1, 7}};
        first.stocks = {{100001001, "\x93\x8c\x97\x6d", {bar(100), bar(110), bar(120)}}};
        ASSERT_TRUE(writePriceDatabase((root_ / "ZEPAWIN/DATA/DBW.001").string(), first));
        DbwFile second;
        second.dates = {{54, 1, 8}, {54, 1, 9}, {54, 1, 12}};
        second.stocks = {{100001001, "AAA", {bar(130), bar(140), bar(150)}},
                         {100001002, "BBB", {bar(500), bar(490), bar(470)}}};
        ASSERT_TRUE(writePriceDatabase((root_ / "ZEPAWIN/DATA/dbw.002").string(), second));
    }

    std::string rootArg() const { return "--root '" + root_.string() + "'"; }

    fs::path root_;
};

TEST_F(DumpTest, SeriesJsonCarriesBothLegsAlignedAtTheNewestDate) {
    writeDatabases();
    writeText("ZEPA_SPW.DAT",
              "# buy / sell\r\n"
              "T1001    AAA       240108    100       T1002    BBB       240109    200\r\n");
    RunResult r = run(rootArg() + " --json series 0 --periods 2,0");
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("\"result\":1,\"dateCount\":6,\"buyStart\":0,\"sellStart\":3,"
                         "\"firstBar\":0,\"buyEntryBar\":3,\"sellEntryBar\":4"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"buyStockName\":\"AAA     \""), std::string::npos) << r.out;
    // Buy slot 3: 2024-01-08, average of closes 120 and 130, gain 0 on the entry bar.
    EXPECT_NE(r.out.find("[20240108,129,132,127,130,1500,0,125]"), std::string::npos) << r.out;
    // Sell slot 5: gain is entry close minus close; period 0 gives the close as average.
    EXPECT_NE(r.out.find("[20240112,469,472,467,470,1500,20,470]"), std::string::npos) << r.out;
    // The sell leg's empty slots print date 0.
    EXPECT_NE(r.out.find("\"sellBars\":[\n[0,0,0,0,0,0,0,0]"), std::string::npos) << r.out;
}

TEST_F(DumpTest, MessagesAndExitCodes) {
    writeDatabases();
    writeText("ZEPA_SPW.DAT",
              "T1001    AAA       240108    100       T9999    X         240109    200\n");
    RunResult notFound = run(rootArg() + " --json series 0");
    EXPECT_EQ(notFound.exitCode, 0);
    EXPECT_NE(notFound.out.find("\"result\":-1"), std::string::npos);
    EXPECT_NE(notFound.out.find("指定銘柄は登録されていません"), std::string::npos);

    EXPECT_EQ(run(rootArg() + " --json series 5").exitCode, 2);
    EXPECT_EQ(run(rootArg() + " series x").exitCode, 2);
    EXPECT_EQ(run(rootArg() + " frobnicate").exitCode, 2);

    RunResult positions = run(rootArg() + " --json positions");
    EXPECT_EQ(positions.exitCode, 0);
    EXPECT_NE(positions.out.find("\"positionCount\":1"), std::string::npos);

    fs::remove_all(root_ / "ZEPAWIN" / "DATA");
    fs::create_directories(root_ / "ZEPAWIN" / "DATA" / "DBW.DIR");
    RunResult dataError = run(rootArg() + " --json series 0");
    EXPECT_EQ(dataError.exitCode, 3);
    EXPECT_NE(dataError.out.find("{\"dataError\":4,\"message\":\"DB がオープンできません\\n\\n"
                                 "プログラムの実行を中止します\"}"),
              std::string::npos)
        << dataError.out;

    fs::remove(root_ / "ZEPAWIN" / "ZEPA_SPW.DAT");
    EXPECT_EQ(run(rootArg() + " series 0").exitCode, 1);
}

}  // namespace
}  // namespace zepa
