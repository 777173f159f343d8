// The daily update into stored years.
#include <signal.h>

#include <tuple>

#include "import/position_template.h"
#include "marketdata/position_file.h"
#include "tests/import/import_fixture.h"
#include "tests/support/run_tool.h"

namespace zepa::test {
namespace {

std::string pricesCsv(const std::vector<std::pair<const char*, int>>& closes) {
    std::string out = "Date,Open,High,Low,Close,Volume\n";
    for (const auto& [date, close] : closes) {
        out += std::string(date) + "," + std::to_string(close - 1) + "," +
               std::to_string(close + 2) + "," + std::to_string(close - 3) + "," +
               std::to_string(close) + ",1000\n";
    }
    return out;
}

TEST_F(ImportTest, AnUpdateReplacesGivenDaysKeepsTheRestAndLeavesOtherYearsByteForByte) {
    ASSERT_EQ(import({input("7203.csv", pricesCsv({{"2023-12-28", 100},
                                                   {"2023-12-29", 101},
                                                   {"2024-01-04", 102},
                                                   {"2024-01-05", 103}})),
                      input("6758.csv", pricesCsv({{"2024-01-04", 500}}))}),
              kExitImported);
    const std::string year2023 = readText(dataFile("DBW.2023"));
    const auto written2023 = fs::last_write_time(dataFile("DBW.2023"));

    // A day older than the stored ones as well: the stored prices keep their dates.
    ASSERT_EQ(
        import({input("7203.csv",
                      pricesCsv({{"2024-01-02", 201}, {"2024-01-05", 203}, {"2024-01-09", 204}}))}),
        kExitImported);
    ASSERT_EQ(report_.files.size(), 1u);
    EXPECT_EQ(std::tuple(report_.files[0].name, report_.files[0].counts.added,
                         report_.files[0].counts.replaced),
              std::tuple("DBW.2024", 2, 1));
    EXPECT_EQ(readText(dataFile("DBW.2023")), year2023);
    EXPECT_EQ(fs::last_write_time(dataFile("DBW.2023")), written2023);
    EXPECT_EQ(dataFiles(), (std::vector<std::string>{"DBW.2023", "DBW.2024"}));

    reload();
    EXPECT_EQ(md_.set.dateCount, 6);
    ASSERT_EQ(seriesOf(tokyo(7203)), kSeriesBuilt);
    EXPECT_EQ(seriesDates(),
              (std::vector<int32_t>{20231228, 20231229, 20240102, 20240104, 20240105, 20240109}));
    EXPECT_EQ(values(&StockSeries::close), (std::vector<int32_t>{100, 101, 201, 102, 203, 204}));
    // 6758 did not trade on the new date: an untraded record, the last prices carried on.
    ASSERT_EQ(seriesOf(tokyo(6758)), kSeriesBuilt);
    EXPECT_EQ(values(&StockSeries::close), (std::vector<int32_t>{500, 500, 500}));
    EXPECT_EQ(values(&StockSeries::volume), (std::vector<int32_t>{1000, 0, 0}));
}

TEST_F(ImportTest, AnotherUpdatersFileHoldingTheYearIsRefusedOtherwiseLeftAlone) {
    writeDb("DBW.A01", dbw({ymd(2023, 12, 28)}, {stock(tokyo(1301), "X", {300})}));
    const std::string foreign = readText(dataFile("DBW.A01"));
    const std::string file =
        input("7203.csv", pricesCsv({{"2023-12-29", 100}, {"2024-01-04", 101}}));
    EXPECT_EQ(import({file}), kExitInputError);
    EXPECT_EQ(report_.errors,
              std::vector<std::string>{"DATA/DBW.A01 already holds dates of 2023: the viewer would "
                                       "show them twice (move that file out of DATA/ to import "
                                       "2023 here)"});
    EXPECT_EQ(dataFiles(), std::vector<std::string>{"DBW.A01"});

    ASSERT_EQ(import({input("7203.csv", pricesCsv({{"2024-01-04", 101}}))}), kExitImported);
    EXPECT_EQ(dataFiles(), (std::vector<std::string>{"DBW.2024", "DBW.A01"}));
    EXPECT_EQ(readText(dataFile("DBW.A01")), foreign);

    // A DBW.YYYY that holds other years' dates is not one of ours: not rewritten.
    writeDb("DBW.2025",
            dbw({ymd(2024, 12, 30), ymd(2025, 1, 6)}, {stock(tokyo(1301), "X", {1, 2})}));
    EXPECT_EQ(import({input("7203.csv", pricesCsv({{"2025-01-06", 101}}))}), kExitInputError);
    EXPECT_EQ(report_.errors,
              std::vector<std::string>{"DATA/DBW.2025 holds dates out of order or of another year "
                                       "than 2025 (not a file of this importer?)"});
}

TEST_F(ImportTest, MoreThanAHundredPriceFilesAreRefused) {
    for (int i = 0; i < 99; ++i) {
        writeDb("DBW.X" + std::to_string(i),
                dbw({ymd(2000, 1, 4)}, {stock(tokyo(1301), "X", {1})}));
    }
    const std::string file =
        input("7203.csv", pricesCsv({{"2023-12-29", 100}, {"2024-01-04", 101}}));
    EXPECT_EQ(import({file}), kExitInputError);
    EXPECT_EQ(
        report_.errors,
        std::vector<std::string>{"DATA/ would hold 101 price files; the viewer reads at most 100"});
    ASSERT_EQ(import({input("7203.csv", pricesCsv({{"2024-01-04", 101}}))}), kExitImported);
}

TEST_F(ImportTest, AKillBetweenWriteAndRenameLeavesTheOldFileForTheViewer) {
    ASSERT_EQ(import({input("7203.csv", pricesCsv({{"2024-01-04", 100}}))}), kExitImported);
    const std::string before = readText(dataFile("DBW.2024"));
    const std::string update = input("7203.csv", pricesCsv({{"2024-01-05", 101}}));
    hooks_.beforeRename = [] { raise(SIGKILL); };
    EXPECT_EXIT(import({update}), ::testing::KilledBySignal(SIGKILL), "");

    EXPECT_EQ(readText(dataFile("DBW.2024")), before);
    // The finished new file waits under a name the viewer does not read.
    EXPECT_EQ(dataFiles(), (std::vector<std::string>{"DBW.2024", temporaryNameOf(2024)}));
    reload();
    EXPECT_EQ(md_.set.fileCount, 1);
    EXPECT_EQ(md_.set.dateCount, 1);

    // The next run writes over the leftover and puts the year in place.
    hooks_ = {};
    ASSERT_EQ(import({update}), kExitImported);
    EXPECT_EQ(dataFiles(), std::vector<std::string>{"DBW.2024"});
    reload();
    EXPECT_EQ(md_.set.dateCount, 2);
}

TEST_F(ImportTest, SplitsMarkTheExDateInImportedOrStoredPrices) {
    ASSERT_EQ(import({input("7203.csv", pricesCsv({{"2021-09-28", 1000}, {"2021-09-29", 200}}))}),
              kExitImported);
    ImportOptions o;
    o.splits = {SplitOption{7203, 20210929, 20, "7203:2021-09-29:5"}};
    ASSERT_EQ(import({input("6758.csv", pricesCsv({{"2021-09-30", 500}}))}, o), kExitImported);
    reload();
    ASSERT_EQ(seriesOf(tokyo(7203)), kSeriesBuilt);
    EXPECT_EQ(column(md_.series.adjustment, [](uint16_t a) { return int{a}; }),
              (std::vector<int>{0, 20, 0}));

    o.splits = {SplitOption{7203, 20210927, 20, "7203:2021-09-27:5"}};
    EXPECT_EQ(import({input("6758.csv", pricesCsv({{"2021-09-30", 500}}))}, o), kExitInputError);
    EXPECT_EQ(report_.errors, std::vector<std::string>{
                                  "--split 7203:2021-09-27:5: no price of 7203 on 2021-09-27 to "
                                  "mark"});
}

TEST_F(ImportTest, ThePositionTemplateIsWrittenOnceAndReadsAsNoPosition) {
    ASSERT_EQ(import({input("7203.csv", pricesCsv({{"2024-01-04", 100}}))}), kExitImported);
    EXPECT_TRUE(report_.positionTemplateWritten);
    EXPECT_EQ(readText(paths.positionFile), positionTemplateText());
    PositionTable table;
    bool missing = true;
    EXPECT_EQ(readPositionFile(paths.positionFile, table, &missing), 0);

    // Its example line, uncommented, is a position of the two stocks it names.
    const std::string text = positionTemplateText();
    const std::string marker = "\r\n#T7203";
    const size_t at = text.find(marker);
    ASSERT_NE(at, std::string::npos);
    const std::string example = text.substr(at + 3, text.find("\r\n", at + 2) - at - 3);
    writeText(paths.positionFile, example + "\r\n");
    ASSERT_EQ(readPositionFile(paths.positionFile, table, &missing), 1);
    EXPECT_EQ(table.records[0].buy.stockCode, 7203);
    EXPECT_EQ(table.records[0].sell.stockCode, 7267);
    EXPECT_EQ(table.records[0].sell.entryDate, 250401);
    EXPECT_EQ(table.records[0].sell.quantity, 300);

    // A trader's own file is never touched.
    ASSERT_EQ(import({input("7203.csv", pricesCsv({{"2024-01-05", 100}}))}), kExitImported);
    EXPECT_FALSE(report_.positionTemplateWritten);
    EXPECT_EQ(readText(paths.positionFile), example + "\r\n");
}

TEST_F(ImportTest, TheCommandExitsByKindAndPrintsItsSummaryAsJson) {
    const std::string good = input("7203.csv", pricesCsv({{"2024-01-04", 100}}));
    const std::string bad = input("6758.csv", "Date,Open,High,Low,Close\n2024-01-04,1,x,1,1\n");
    const std::string tool = std::string(ZEPA_IMPORT_PATH) + " --root '" + root.string() + "' ";
    std::string out;
    EXPECT_EQ(runTool(tool + "--json '" + good + "'", &out), 0);
    EXPECT_NE(out.find("\"files\":[\n{\"name\":\"DBW.2024\",\"existed\":false,\"stocks\":1,"
                       "\"dates\":1,\"rowsAdded\":1,\"rowsReplaced\":0"),
              std::string::npos)
        << out;
    EXPECT_EQ(runTool(tool + "'" + bad + "'"), 1);
    // A dry run into a bare folder reports the file and creates nothing.
    const TempInstallation bare(false);
    out.clear();
    EXPECT_EQ(runTool(std::string(ZEPA_IMPORT_PATH) + " --dry-run --json --root '" +
                          bare.root.string() + "' '" + good + "'",
                      &out),
              0);
    EXPECT_NE(out.find("\"name\":\"DBW.2024\",\"existed\":false,\"stocks\":1"), std::string::npos)
        << out;
    EXPECT_FALSE(fs::exists(bare.paths.zepawin));
    for (const char* usage : {"", "--frobnicate x.csv"}) {
        EXPECT_EQ(runTool(tool + usage), 2) << usage;
    }
}

}  // namespace
}  // namespace zepa::test
