// The tables taken out of the data windows: cells, quoting and the file written in one piece.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "datawindow/data_table.h"
#include "datawindow/table_export.h"
#include "tests/chart/chart_fixture.h"
#include "tests/support/temp_installation.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

namespace zepa::test {
namespace {

#ifndef _WIN32
// A save in a child process that the file-size limit kills at its first byte, before its rename:
// it leaves its temporary file under whatever name the save tries first.
void interruptedSave(const fs::path& target) {
    const pid_t child = fork();
    if (child == 0) {
        const rlimit none{0, 0};
        setrlimit(RLIMIT_CORE, &none);
        setrlimit(RLIMIT_FSIZE, &none);
        std::signal(SIGXFSZ, SIG_DFL);
        const std::u8string name = target.u8string();
        saveFileReplacing(std::string(name.begin(), name.end()), "interrupted");
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
}
#endif

struct TableExportTest : ChartFixture, ::testing::Test {
    TableExportTest() : ChartFixture(3) {
        for (int i = 0; i < 3; ++i) {
            series.buyBars[i].date = PackedDate{54, 1, static_cast<uint8_t>(i + 1)};
            series.buyBars[i].close = 1000 + i;
            series.sellBars[i].close = 800;
            series.buyBars[i].volume = series.sellBars[i].volume = 12345;
        }
        series.buyEntryBar = series.sellEntryBar = 1;
        position.buy.marketLetter[0] = 'T';
        position.buy.stockCode = 7203;
        position.sell.marketLetter[0] = '\0';  // an index has no letter
        position.sell.stockCode = 1;
    }
    TempInstallation temp{false};
    const fs::path dir = temp.root;
};

TEST_F(TableExportTest, CellsAreForASpreadsheetTheWindowKeepsItsOwn) {
    series.buyBars[0].volume = 500;  // thousands of shares: "0.5"
    EXPECT_EQ(dataTableTsv(c, kStockDataKind),
              "日付\t買 終値\t買 出来高\t売 終値\t売 出来高\n"
              "2024-01-01\t1000\t0.5\t800\t12.345\n"
              "2024-01-02\t1001\t12.345\t800\t12.345\n"
              "2024-01-03\t1002\t12.345\t800\t12.345\n");
    // After the entry: gains of +1 and -3 a share on 100 shares each, -200 yen in all.
    position.buy.quantity = position.sell.quantity = 100;
    series.buyBars[2].gain = 1;
    series.sellBars[2].close = 803;
    series.sellBars[2].gain = -3;
    const std::string csv = dataTableCsv(c, kSpreadDataKind);
    EXPECT_EQ(csv.substr(0, csv.rfind("2024-01-03")),
              "\xEF\xBB\xBF日付,さや,買 変動,売 変動,利益\r\n"
              "2024-01-01,-200,,,\r\n"  // "--" in the window: empty cells
              "2024-01-02,-201,0,0,0\r\n");
    double buyRate = 0, sellRate = 0;
    char profit[16] = {};
    ASSERT_EQ(std::sscanf(csv.c_str() + csv.rfind("2024-01-03"), "2024-01-03,-199,%lf,%lf,%15s",
                          &buyRate, &sellRate, profit),
              3);
    EXPECT_NEAR(buyRate, 1.0 / 1002 * 100, 1e-13);  // the window shows 0.1
    EXPECT_NEAR(sellRate, -3.0 / 803 * -100, 1e-13);
    EXPECT_STREQ(profit, "-0.02");  // in 10,000 yen to the yen; the window shows -0.0
}

TEST_F(TableExportTest, TheHeaderHasAsManyCellsAsTheRows) {
    settings.ratioChart = 1;  // two more columns for the spread data
    const std::string tsv = dataTableTsv(c, kSpreadDataKind);
    EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\t'), 4 * 6) << tsv;
}

TEST_F(TableExportTest, SavingReplacesTheFileWholeOrLeavesItAlone) {
    const fs::path target = dir / fs::path(u8"さやデータ.csv");
    std::ofstream(target) << "old";
    // A temporary file left by an interrupted save does not block the name.
#ifdef _WIN32
    std::ofstream(fs::path(target) += ".tmp0") << "left by an interrupted save";
#else
    ASSERT_NO_FATAL_FAILURE(interruptedSave(target));
#endif
    ASSERT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    // The name is UTF-8 on every system, so that the Japanese of the offered name survives.
    const std::u8string name = target.u8string();
    for (const char* text : {"new,テキスト\r\n", "newer\r\n"}) {
        ASSERT_TRUE(saveFileReplacing(std::string(name.begin(), name.end()), text));
        EXPECT_EQ(temp.readText(target), text);
    }

    // A folder that does not exist: nothing is written, no temporary file is left.
    EXPECT_FALSE(saveFileReplacing((dir / "missing" / "x.csv").string(), "x"));
    // A folder in the way of the name: the old entry stays, the temporary file goes.
    fs::create_directories(dir / "taken.csv");
    EXPECT_FALSE(saveFileReplacing((dir / "taken.csv").string(), "x"));
    EXPECT_TRUE(fs::is_directory(dir / "taken.csv"));
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) {
        ++entries;
    }
    EXPECT_EQ(entries, 3u);
}

}  // namespace
}  // namespace zepa::test
