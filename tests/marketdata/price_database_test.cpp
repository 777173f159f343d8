// The price files of the data folder: which files are taken and in what order, what counts as
// a valid slot, damaged files, and one stock's series joined across the files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "marketdata/correction_list.h"
#include "marketdata/quantity_code.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

using PriceFiles = Installation;
using V = std::vector<int32_t>;
using Counts = std::vector<uint16_t>;

TEST_F(PriceFiles, FilesAreTakenByNameAndJoinedInCaseInsensitiveTextOrder) {
    MarketData none;
    none.dataDirectory = (root / "ZEPAWIN" / "NODATA").string();
    EXPECT_EQ(scanPriceDatabases(none), DataError::NoDatabase);
    writeText(dataFile("DB.1"), "x");
    EXPECT_EQ(scanPriceDatabases(md_), DataError::NoDatabase);
    EXPECT_TRUE(md_.dataAborted);

    const std::vector<std::string> sorted = {"DBW.1", "dbw.10", "DBW.2", "DBW.A", "Dbw.b"};
    const auto days = weekdays(2020, 1, 6, 5);
    for (int i : {3, 1, 4, 0, 2}) {
        writeDb(sorted[i], dbw({days[i]}, {stock(tokyo(1), "A", {100 + i})}));
    }
    for (const char* other : {"DBWX.1", "XDBW.1", "README"}) {
        writeText(dataFile(other), "not a database");
    }
    md_ = freshData();
    load();
    EXPECT_EQ(column(md_.set.files, [](auto& f) { return fs::path(f.path).filename().string(); }),
              sorted);
    EXPECT_EQ(md_.set.dateCount, 5);
    ASSERT_EQ(seriesOf(tokyo(1)), kSeriesBuilt);
    EXPECT_EQ(values(&StockSeries::close), (V{100, 101, 102, 103, 104}));
    EXPECT_EQ(seriesDates(), column(days, dateValue));

    // A directory that matches the pattern is taken, then cannot be opened.
    fs::create_directory(dataFile("DBW.X"));
    MarketData dir = freshData();
    ASSERT_EQ(scanPriceDatabases(dir), DataError::None);
    EXPECT_EQ(dir.set.fileCount, 6);
    EXPECT_EQ(loadPriceDatabases(dir), DataError::OpenFailed);
    EXPECT_TRUE(dir.dataAborted && dir.dataError == DataError::OpenFailed);
}

TEST_F(PriceFiles, AHundredFilesLoadAndOneMoreIsRefused) {
    for (int i = 0; i < 101; ++i) {
        if (i == 100) {
            load();
            EXPECT_EQ(md_.set.fileCount, 100);
            EXPECT_EQ(md_.set.dateCount, 100);
        }
        writeDb("DBW." + std::to_string(1000 + i), dbw({ymd(2020, 1, 6)}, {stock(1, "A", {})}));
    }
    MarketData more = freshData();
    EXPECT_EQ(scanPriceDatabases(more), DataError::TooManyDatabases);
    EXPECT_TRUE(more.dataAborted && more.dataError == DataError::TooManyDatabases);
}

TEST_F(PriceFiles, PipesNamedLikeTheViewersFilesCountAsFilesThatCannotBeOpened) {
    // A read from a pipe would wait for a writer that never comes.
    for (const std::string& path :
         {dataFile("DBW.001"), paths.positionFile, paths.correctionFile}) {
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
    }
    EXPECT_EQ(scanPriceDatabases(md_), DataError::None);
    EXPECT_EQ(loadPriceDatabases(md_), DataError::OpenFailed);
    PositionTable table;
    bool missing = false;
    EXPECT_EQ(readPositionFile(paths.positionFile, table, &missing), 0);
    EXPECT_TRUE(missing);
    CorrectionList list;
    loadCorrectionList(paths.correctionFile, list);
    EXPECT_EQ(list.correctionCount, 0);
}

TEST(DataErrorMessage, TextsEndWithTheStopLine) {
    const std::string stop = "\n\nプログラムの実行を中止します", dir = "/home/u/ZEPAWIN/DATA";
    EXPECT_EQ(dataErrorMessage(DataError::TooManyDatabases, dir),
              "ＤＢは１００までです\n\n" + dir + std::string(1, fs::path::preferred_separator) +
                  " からＤＢを移動して下さい" + stop);
    EXPECT_EQ(dataErrorMessage(DataError::NoDatabase, dir),
              "データのディレクトリにＤＢがありません" + stop);
    EXPECT_EQ(dataErrorMessage(DataError::OutOfMemory, dir), "メモリの領域が確保できません" + stop);
    EXPECT_EQ(dataErrorMessage(DataError::SeekFailed, dir), "シークエラーです" + stop);
}

TEST_F(PriceFiles, ValidSlotsEndAtTheFirstZeroKeyAndMonth) {
    // Blocks span all date slots even where the valid dates end early; filled slots after a
    // zero key or month do not count.
    DbwFile a = dbw({ymd(2021, 3, 1), ymd(2021, 3, 2), ymd(2021, 0, 5), ymd(2021, 3, 4)},
                    {stock(tokyo(1), "A", {100, 101, 102, 103}), stock(tokyo(2), "B", {500, 501}),
                     stock(0, "ZERO", {900}), stock(tokyo(3), "C", {300})});
    a.unusedStockSlots = 1;
    a.unusedDateSlots = 2;
    writeDb("DBW.1", a);
    // Sorts first and lists the stock, but has no valid date.
    writeDb("DBW.0", dbw({ymd(2021, 0, 1), ymd(2021, 2, 26)}, {stock(tokyo(2), "B", {800, 801})}));
    // Lists no stock: its first key is 0.
    writeDb("DBW.2", dbw({ymd(2021, 3, 5)}, {stock(0, "", {}), stock(tokyo(3), "C", {310})}));
    load();
    EXPECT_EQ(column(md_.set.files, &PriceDatabase::validDates), (Counts{0, 2, 1}));
    EXPECT_EQ(column(md_.set.files, &PriceDatabase::validStocks), (Counts{1, 2, 0}));
    EXPECT_EQ(md_.set.dateCount, 3);
    EXPECT_EQ(findStock(md_, tokyo(3)), -1);
    ASSERT_EQ(seriesOf(tokyo(2)), kSeriesBuilt);
    EXPECT_EQ(values(&StockSeries::close), (V{500, 501}));
}

TEST_F(PriceFiles, ShortFilesAndLyingHeadersReadAsZeros) {
    const auto d = weekdays(2021, 3, 1, 6);
    DbwFile cut = dbw({d[0], d[1], d[2], d[3]},
                      {stock(tokyo(1), "A", {10, 11, 12, 13}), stock(tokyo(2), "B", {60, 70, 80})});
    cut.truncateAt = 4 + 16 * 2 + 3 * 4 + 20 * 4 + 20 * 2;  // B's block keeps two records
    writeDb("DBW.1", cut);
    DbwFile cutDates = dbw({d[4], d[5]}, {stock(tokyo(2), "B", {95, 96})});
    cutDates.truncateAt = 4 + 16 * 1 + 3 + 1;  // ends inside the second date
    writeDb("DBW.2", cutDates);
    DbwFile lying = cutDates;  // headers that promise far more than the file holds
    lying.truncateAt.reset();
    lying.headerStockSlots = 1000;
    writeDb("DBW.3", lying);
    lying.headerStockSlots = lying.headerDateSlots = 65535;
    writeDb("DBW.4", lying);
    load();
    EXPECT_EQ(column(md_.set.files, &PriceDatabase::validDates), (Counts{4, 1, 0, 0}));
    EXPECT_EQ(column(md_.set.files, &PriceDatabase::validStocks), (Counts{2, 1, 0, 0}));
    EXPECT_EQ(md_.set.dateCount, 5);
    // The records cut off are untraded days: the last traded day carries on, volume 0.
    ASSERT_EQ(seriesOf(tokyo(2)), kSeriesBuilt);
    EXPECT_EQ(values(&StockSeries::open), (V{59, 69, 69, 69, 69}));
    EXPECT_EQ(values(&StockSeries::close), (V{60, 70, 70, 70, 70}));
    EXPECT_EQ(values(&StockSeries::volume), (V{1000, 1000, 0, 0, 0}));
    EXPECT_FALSE(md_.dataAborted);
}

TEST_F(PriceFiles, BlockOffsetsBeyondFourGigabytes) {
    // 65,535 x 65,535 slots; the file holds the tables and one record of the first block.
    DbwFile f = dbw({ymd(2022, 5, 9)}, std::vector<DbwStock>(65535));
    for (int s = 0; s < 65535; ++s) {
        f.stocks[s].key = tokyo(s + 1);
    }
    f.stocks[0].records = {traded(500)};
    f.unusedDateSlots = 65534;
    f.truncateAt = 4 + 16 * 65535 + 3 * 65535 + 20;
    writeDb("DBW.1", f);
    load();
    ASSERT_EQ(seriesOf(tokyo(1)), kSeriesBuilt);
    EXPECT_EQ(values(&StockSeries::close), V{500});
    // The last block starts about 86 GB into the file, far past its end.
    EXPECT_EQ(seriesOf(tokyo(65535)), kSeriesNoTrade);
    EXPECT_FALSE(md_.dataAborted);
}

TEST_F(PriceFiles, SeriesJoinsTheFilesThatListTheStock) {
    const auto d = weekdays(2021, 3, 1, 9);
    const int32_t late = tokyo(1001), gap = tokyo(1002), never = tokyo(1003), gone = tokyo(1004);
    DbwFile f1 =
        dbw({d[0], d[1], d[2]}, {stock(late, "L1", {0, 0, 0}), stock(gap, "OLD", {200, 0, 210}),
                                 stock(never, "N", {0, 0, 0}), stock(gone, "FIRST", {11, 12, 13})});
    f1.stocks[0].records[0].volume = 700;
    f1.stocks[1].records[1].volume = 3000;
    writeDb("DBW.1", f1);
    writeDb("DBW.2",
            dbw({d[3], d[4], d[5]}, {stock(late, "L2", {0, 110, 120}), stock(never, "N", {}),
                                     stock(gone, "SECOND", {14, 15})}));
    writeDb("DBW.3", dbw({d[6], d[7], d[8]},
                         {stock(late, "L3", {130, 140, 150}), stock(gap, "NEW", {220, 230, 240})}));
    load();
    EXPECT_EQ(md_.set.dateCount, 9);

    // Starts at its first traded day, in the second file.
    ASSERT_EQ(seriesOf(late), kSeriesBuilt);
    EXPECT_EQ(values(&StockSeries::close), (V{110, 120, 130, 140, 150}));
    EXPECT_EQ(seriesDates(), column(d, dateValue, 4));
    EXPECT_EQ(std::string(md_.set.stockName), "L3          ");

    // Missing from the middle file: the first and third files' dates only. The untraded day
    // repeats the day before but keeps its own volume.
    ASSERT_EQ(seriesOf(gap), kSeriesBuilt);
    EXPECT_EQ(values(&StockSeries::close), (V{200, 200, 210, 220, 230, 240}));
    EXPECT_EQ(values(&StockSeries::open), (V{199, 199, 209, 219, 229, 239}));
    EXPECT_EQ(values(&StockSeries::high), (V{202, 202, 212, 222, 232, 242}));
    EXPECT_EQ(values(&StockSeries::volume), (V{1000, 3000, 1000, 1000, 1000, 1000}));
    EXPECT_EQ(seriesDates(), column(std::vector{d[0], d[1], d[2], d[6], d[7], d[8]}, dateValue));
    EXPECT_EQ(std::string(md_.set.stockName), "NEW         ");

    ASSERT_EQ(seriesOf(gone), kSeriesBuilt);  // the newest file that lists it names it
    EXPECT_EQ(std::string(md_.set.stockName), "SECOND      ");
    EXPECT_EQ(seriesOf(never), kSeriesNoTrade);
    EXPECT_EQ(md_.series.length, 0);
}

TEST(QuantityCode, DecodesEachBandAndWrapsModulo2To32) {
    const std::pair<uint16_t, int32_t> table[] = {
        {9999, 9999},        {10000, 10000},       {18999, 99990},
        {19000, 100000},     {28000, 1000000},     {46000, 100000000},
        {56147, 2147000000}, {56148, -2146967296}, {64000, 1410065408},  // 10^10 mod 2^32
        {65535, -419803776}};
    for (auto [code, value] : table) {
        EXPECT_EQ(decodeQuantity(code), value) << code;
    }
    for (int64_t v : {0LL, 9999LL, 12340LL, 1234000LL, 98760000LL, 2000000000LL}) {
        EXPECT_EQ(decodeQuantity(encodeQuantity(v)), v) << v;
    }
}

}  // namespace
}  // namespace zepa::test
