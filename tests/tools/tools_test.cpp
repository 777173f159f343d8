#include <gtest/gtest.h>

#include <QImage>

#include "platform/raster_surface.h"
#include "tests/support/run_tool.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

// The tools run as processes on thirty weekdays from 2025-03-03: buy leg rising, sell falling.
struct Tools : ::testing::Test, TempInstallation {
    Tools() {
        std::vector<int32_t> rising, falling;
        for (int d = 0; d < 30; ++d) {
            rising.push_back(101 + d);
            falling.push_back(299 - d);
        }
        writeDb("DBW.001", dbw(weekdays(2025, 3, 3, 30), {stock(tokyo(1001), "A", rising),
                                                          stock(tokyo(1002), "B", falling)}));
        writeText(paths.positionFile,
                  "T1001    A         250305    100       T1002    B         250305    100\n");
    }
    int run(const char* tool, const std::string& arguments, std::string* out = nullptr) const {
        return runTool(tool + (" --root '" + root.string() + "' ") + arguments, out);
    }
};

TEST_F(Tools, DumpPrintsJsonAndExitsByTheKindOfFailure) {
    std::string out, dataError;
    ASSERT_EQ(run(ZEPA_DUMP_PATH, "--json series 0 --periods 0,0", &out), 0);
    // Gains count from the entry close: up for the buy leg, down for the sell leg.
    for (const char* part :
         {"{\"result\":1,\"dateCount\":30,\"buyStart\":0,\"sellStart\":0,"
          "\"firstBar\":0,\"buyEntryBar\":2,\"sellEntryBar\":2",
          "[20250306,103,106,101,104,1000,1,104]", "[20250306,295,298,293,296,1000,1,296]"}) {
        EXPECT_NE(out.find(part), std::string::npos) << part;
    }
    for (const char* arguments : {"--json series 5", "series x", "frobnicate"}) {
        EXPECT_EQ(run(ZEPA_DUMP_PATH, arguments), 2) << arguments;
    }
    fs::remove_all(paths.dataDirectory);
    fs::create_directories(dataFile("DBW.DIR"));
    EXPECT_EQ(run(ZEPA_DUMP_PATH, "--json series 0", &dataError), 3);
    EXPECT_EQ(dataError,
              "{\"dataError\":4,\"message\":\"DB がオープンできません\\n\\n"
              "プログラムの実行を中止します\"}\n");
}

TEST_F(Tools, SnapshotWritesTheChartAreaAloneWithTheFrameBandOnTop) {
    const std::string png = (root / "out.png").string();
    ASSERT_EQ(run(ZEPA_SNAPSHOT_PATH, "--defaults --size 640x400 " + png), 0);
    const QImage image(QString::fromStdString(png));
    ColorTable colors;
    resetColorTable(colors);
    EXPECT_TRUE(image.size() == QSize(640, 400) &&
                image.pixel(320, 1) == pixelOf(colors.colors[10]));
    EXPECT_EQ(run(ZEPA_SNAPSHOT_PATH, "--size 0x10 " + png), 2);
    fs::remove(paths.positionFile);
    EXPECT_EQ(run(ZEPA_SNAPSHOT_PATH, png), 1);
}

TEST_F(Tools, ProfitsCountAcrossASplitAndAdjustedBarsOnRequest) {
    // Both stocks start trading on the second day; the buy stock splits 1:2 on the sixth.
    std::vector<DbwRecord> buy = {DbwRecord{}}, sell = {DbwRecord{}};
    for (int32_t close : {1010, 1020, 1030, 1040, 520, 525, 530, 535, 540}) {
        buy.push_back(traded(close));
        sell.push_back(traded(500));
    }
    buy[5].adjustment = 50;
    writeDb("DBW.001", dbw(weekdays(2025, 3, 3, 10),
                           {DbwStock{tokyo(1001), "A", buy}, DbwStock{tokyo(1002), "B", sell}}));
    std::string stored, adjusted;
    ASSERT_EQ(run(ZEPA_DUMP_PATH, "--json series 0", &stored), 0);
    ASSERT_EQ(run(ZEPA_DUMP_PATH, "--json series 0 --adjusted", &adjusted), 0);
    // Entered at 1020: 100 x (1040 - 1020) before the ex-date and 200 x 520 - 102,000 on it;
    // no profit where neither leg has a bar.
    const std::string profit = "\"profit\":[null,0,0,1000,2000,2000,3000,4000,5000,6000]";
    for (const std::string* out : {&stored, &adjusted}) {
        EXPECT_NE(out->find(profit), std::string::npos) << *out;
    }
    // The bar before the ex-date, as stored and as the adjusted display shows it.
    EXPECT_NE(stored.find("[20250307,1039,1042,1037,1040,1000,20,0]"), std::string::npos);
    EXPECT_NE(adjusted.find("[20250307,520,521,519,520,2000,10,0]"), std::string::npos);
}

}  // namespace
}  // namespace zepa::test
