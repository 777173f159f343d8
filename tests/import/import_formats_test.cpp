// Files in the forms traders download, imported and read back through the viewer's reader.
#include <array>
#include <map>

#include "tests/import/import_fixture.h"

namespace zepa::test {
namespace {

// date, open, high, low, close, volume, adjustment
using Bar = std::array<int64_t, 7>;

struct FormatCase {
    const char* what;
    const char* fileName;
    std::string bytes;
    std::vector<Bar> bars;  // of T7203, oldest first
};

const std::vector<Bar> kTwoDays = {{20240104, 2480, 2510, 2470, 2500, 1000000, 0},
                                   {20240105, 2500, 2550, 2480, 2530, 1234000, 0}};
const std::vector<Bar> kSplit = {{20240104, 2480, 2510, 2470, 2500, 1000000, 0},
                                 {20240109, 1250, 1275, 1240, 1265, 2468000, 50}};

std::vector<FormatCase> formatCases() {
    const std::string jquantsHeader =
        "Date,Code,Open,High,Low,Close,UpperLimit,LowerLimit,Volume,TurnoverValue,"
        "AdjustmentFactor,AdjustmentOpen,AdjustmentHigh,AdjustmentLow,AdjustmentClose,"
        "AdjustmentVolume\n";
    return {
        {"English headers, a time of day, Adj Close ignored", "7203.T.csv",
         "Date,Open,High,Low,Close,Adj Close,Volume\n"
         "2024-01-04 00:00:00,2480,2510,2470,2500,2400.5,1000000\n"
         "2024-01-05,2500,2550,2480,2530,2430.1,1234000\n",
         kTwoDays},
        {"CP932 with a title row, CR LF after the volume, newest first, quoted thousands",
         "7203.csv",
         cp932FromUtf8("7203 東証プライム トヨタ自動車\r\n"
                       "日付,始値,高値,安値,終値,出来高\r\n"
                       "2024/1/5,\"2,500\",\"2,550\",\"2,480\",\"2,530\",\"1,234,000\"\r\n"
                       "2024/1/4,\"2,480\",\"2,510\",\"2,470\",\"2,500\",\"1,000,000\"\r\n"),
         kTwoDays},
        {"UTF-8 with BOM, tabs, YYYYMMDD, short names, code column", "prices.txt",
         "\xEF\xBB\xBF"
         "コード\t銘柄名\tデータ日付\tO\tH\tL\tC\tVo\n"
         "7203\tトヨタ自動車\t20240105\t2500\t2550\t2480\t2530\t1234000\n"
         "\n"
         "7203\tトヨタ自動車\t20240104\t2480\t2510\t2470\t2500\t1000000\n",
         kTwoDays},
        {"J-Quants CSV: five-digit codes, a day without prices, a factor", "daily.csv",
         jquantsHeader +
             "2024-01-04,72030,2480,2510,2470,2500,0,0,1000000,0,1.0,2480,2510,2470,2500,1\n"
             "2024-01-05,72030,,,,,0,0,,,1.0,,,,,\n"
             "2024-01-09,72030,1250,1275,1240,1265,0,0,2468000,0,0.5,1,1,1,1,1\n",
         kSplit},
        {"J-Quants JSON: nulls and a factor", "quotes.json",
         "{\"daily_quotes\": [\n"
         " {\"Date\": \"2024-01-04\", \"Code\": \"72030\", \"Open\": 2480.0, \"High\": 2510.0,\n"
         "  \"Low\": 2470.0, \"Close\": 2500.0, \"Volume\": 1000000.0, \"AdjustmentFactor\": "
         "1.0},\n"
         " {\"Date\": \"2024-01-05\", \"Code\": \"72030\", \"Open\": null, \"High\": null,\n"
         "  \"Low\": null, \"Close\": null, \"Volume\": null, \"AdjustmentFactor\": 1.0},\n"
         " {\"Date\": \"2024-01-09\", \"Code\": \"72030\", \"Open\": 1250, \"High\": 1275,\n"
         "  \"Low\": 1240, \"Close\": 1265, \"Volume\": 2468000, \"AdjustmentFactor\": 0.5,\n"
         "  \"AdjustmentOpen\": 1250}\n"
         "], \"pagination_key\": \"x\"}\n",
         kSplit},
        {"a bare JSON array, decimals rounded half away from zero",
         "7203.json",
         "[{\"Date\":\"20240104\",\"Open\":2480.5,\"High\":2510.4,\"Low\":2470.5,"
         "\"Close\":2500.49,\"Volume\":999999.5}]",
         {{20240104, 2481, 2510, 2471, 2500, 1000000, 0}}},
        {"a file name without the code, a title line starting with it", "toyota.csv",
         "\n7203\xE3\x80\x80東証プライム トヨタ自動車\n"
         "Date,Open,High,Low,Close,Volume\n"
         "2024-01-04,2480,2510,2470,2500,1000000\n"
         "2024-01-05,2500,2550,2480,2530,1234000\n",
         kTwoDays},
        {"codes interleaved, the widest range a price file holds, a volume of four digits",
         "market.csv",
         "Code,Date,Open,High,Low,Close,Volume,AdjustmentFactor\n"
         "72030,2024-01-05,2500,2550,2480,2530,1234000,1\n"
         "67580,2024-01-04,10,10,10,10,1,1\n"
         "72030,2024/1/4,\"2,480\",\"67,999\",\"2,464\",\"2,500\",\"9,876,000\",1\n",
         {{20240104, 2480, 67999, 2464, 2500, 9876000, 0}, kTwoDays[1]}},
    };
}

TEST_F(ImportTest, EachFormatGivesTheSameSeries) {
    for (const FormatCase& c : formatCases()) {
        SCOPED_TRACE(c.what);
        fs::remove_all(paths.dataDirectory);
        ASSERT_EQ(import({input(c.fileName, c.bytes)}), kExitImported)
            << (report_.errors.empty() ? "" : report_.errors[0]);
        reload();
        ASSERT_EQ(seriesOf(tokyo(7203)), kSeriesBuilt);
        std::vector<Bar> bars;
        const StockSeries& s = md_.series;
        for (int i = 0; i < s.length; ++i) {
            bars.push_back({dateValue(s.date[i]), s.open[i], s.high[i], s.low[i], s.close[i],
                            s.volume[i], s.adjustment[i]});
        }
        EXPECT_EQ(bars, c.bars);
    }
}

TEST_F(ImportTest, RoundedPricesAndRowsWithoutPricesAreCountedAndTwiceGivenRowsCompared) {
    const std::string rounded = input("7203.json", formatCases()[5].bytes);
    const std::string jquants = input("d.csv", formatCases()[3].bytes);
    ASSERT_EQ(import({rounded}), kExitImported);
    ASSERT_EQ(import({jquants}), kExitImported);
    ASSERT_EQ(report_.files.size(), 1u);
    EXPECT_EQ(report_.files[0].counts.skippedNoPrices, 1);
    EXPECT_EQ(report_.files[0].counts.replaced, 1);
    ASSERT_EQ(import({rounded, rounded}), kExitImported);
    EXPECT_EQ(report_.files[0].counts.pricesRounded, 8);  // 2480.5, 2510.4, 2470.5, 2500.49, twice
    EXPECT_EQ(report_.total.duplicates, 1);
    // The same stock and date in two files with other prices: which one is meant?
    EXPECT_EQ(import({rounded, jquants}), kExitInputError);
    EXPECT_EQ(report_.errors, std::vector<std::string>{jquants +
                                                       ":2: 7203 on 2024-01-04 is given again "
                                                       "with other values (first at " +
                                                       rounded + ":1)"});
}

struct BadCase {
    const char* row;  // line 3, after a good row
    const char* message;
};

TEST_F(ImportTest, BadRowsNameFileAndLineAndWriteNothing) {
    const BadCase cases[] = {
        {"2024-13-01,1,1,1,1,1",
         "Date \"2024-13-01\" is not a date (YYYY-MM-DD, YYYY/M/D or YYYYMMDD, 1970 to 2225)"},
        {"2024-01-05,1,1,1,25x0,1", "Close \"25x0\" is not a number"},
        {"2024-01-05,1,1,-5,1,1", "Low \"-5\" is negative"},
        {"2024-01-05,3000000000,1,1,1,1",
         "Open \"3000000000\" is larger than a price file can hold"},
        {"2024-01-05,2480,2470,2480,2480,1", "the high 2470 is below the low 2480"},
        {"2024-01-05,2480,2490,2470,2500,1",
         "the open or the close lies outside the day's low and high"},
        {"2024-01-05,2460,2490,2470,2480,1",
         "the open or the close lies outside the day's low and high"},
        {"2024-01-05,100,70100,100,100,1",
         "the day's range (high - low = 70000) is above 65,535, which a price file cannot hold"},
        {"2024-01-05,5,5,0,5,1", "a low of 0 cannot be stored (0 marks a day without trade)"},
        {"2024-01-05,1,,1,1,1", "the prices are only partly given (open, high, low, close)"},
        {"2024-01-05,1,1,1,1,-7", "Volume \"-7\" is negative"},
        {"2024-01-05,2,500,2,550,2,480",
         "the row has 7 fields, the header 6 (a number with an "
         "unquoted thousands separator?)"},
        {"2024-01-05,\"2,500,2,550", "a quote opened at column 12 is not closed"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.row);
        const std::string file =
            input("7203.csv", std::string("Date,Open,High,Low,Close,Volume\n"
                                          "2024-01-04,2480,2510,2470,2500,1000000\n") +
                                  c.row + "\n");
        EXPECT_EQ(import({file}), kExitInputError);
        EXPECT_EQ(report_.errors, std::vector<std::string>{file + ":3: " + c.message});
        EXPECT_TRUE(nothingWritten());

        // Let through as a warning, the good row is stored.
        ImportOptions skip;
        skip.skipBadRows = true;
        EXPECT_EQ(import({file}, skip), kExitImported);
        EXPECT_EQ(report_.warnings,
                  std::vector<std::string>{file + ":3: " + c.message + " (row skipped)"});
        EXPECT_EQ(report_.total.added, 1);
        EXPECT_EQ(report_.total.skippedBad, 1);
        fs::remove_all(paths.dataDirectory);
        fs::remove(paths.positionFile);
    }
}

TEST_F(ImportTest, WholeFileFaultsAreErrorsEvenWhenSkippingBadRows) {
    const struct {
        const char* name;
        std::string bytes;
        std::string message;  // after "<path>"
    } cases[] = {
        {"7203.csv", "Datum,Open\n1,2\n",
         ": no header line naming the date, open, high, low and close columns (Date/日付, "
         "Open/始値, High/高値, Low/安値, Close/終値)"},
        {"7203.csv", "Date,Open,High,Low,Close,終値\n",
         ":1: two header columns name the same value (終値)"},
        {"prices.csv", "トヨタ 7203\nDate,Open,High,Low,Close\n2024-01-04,1,1,1,1\n",
         ": no code column, no --code, and neither the file name nor a title line starts with "
         "the stock code"},
        {"7203.csv",
         "\xFF\xFE"
         "D\0a\0",
         ": UTF-16 text; save it as UTF-8 or Shift-JIS (CP932)"},
        {"7203.json", "{\"daily_quotes\": [\n{\"Date\": }]}",
         ":2: not valid JSON: syntax error while parsing value - unexpected '}'; expected '[', "
         "'{', or a literal"},
        {"7203.json", "{\"quotes\": []}",
         ": no array of quotes (\"daily_quotes\" or \"data\", or an array at the top)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        ImportOptions skip;
        skip.skipBadRows = true;
        const std::string file = input(c.name, c.bytes);
        EXPECT_EQ(import({file}, skip), kExitInputError);
        EXPECT_EQ(report_.errors, std::vector<std::string>{file + c.message});
        EXPECT_TRUE(nothingWritten());
    }
}

TEST_F(ImportTest, CodesThePositionFileCannotHoldAreSkippedAndNamed) {
    const std::string many = input("day.csv",
                                   "Date,Code,Open,High,Low,Close,Volume\n"
                                   "2024-01-04,130A0,10,10,10,10,1\n"
                                   "2024-01-04,72031,10,10,10,10,1\n"
                                   "2024-01-04,130A0,10,10,10,10,1\n"
                                   "2024-01-04,86970,10,10,10,10,1\n");
    const std::string byName = input("131A.T.csv",
                                     "Date,Open,High,Low,Close,Volume\n"
                                     "2024-01-04,10,10,10,10,1\n");
    ASSERT_EQ(import({many, byName}), kExitImported);
    EXPECT_EQ(report_.skippedCodes,
              (std::map<std::string, int64_t>{{"130A0", 2}, {"131A", 1}, {"72031", 1}}));
    EXPECT_EQ(report_.warnings.size(), 3u);
    EXPECT_EQ(report_.warnings[0], many +
                                       ":2: code \"130A0\" cannot stand in the position file "
                                       "(four digits, or five ending in 0): its rows are skipped");
    reload();
    EXPECT_EQ(md_.set.files[0].keys, std::vector<StockKey>{tokyo(8697)});

    // --code names the stock of a file without a code column, whatever its name.
    ImportOptions code;
    code.code = 9984;
    ASSERT_EQ(import({byName}, code), kExitImported);
    reload();
    EXPECT_EQ(md_.set.files[0].keys, (std::vector<StockKey>{tokyo(8697), tokyo(9984)}));
}

TEST_F(ImportTest, NamesFromTheListThenTheColumnThenTheCodeCutWithoutSplittingACharacter) {
    const std::string list = input("list.csv", cp932FromUtf8("コード,銘柄名,市場\n"
                                                             "7203,トヨタ自動車株式会社,P\n"
                                                             "130A,ヴェリタス,G\n"));
    const std::string prices = input("day.csv",
                                     "Date,Code,CompanyName,Open,High,Low,Close,Volume\n"
                                     "2024-01-04,7203,Toyota Motor,10,10,10,10,1\n"
                                     "2024-01-04,6758,ソニーグループ株式会社,10,10,10,10,1\n"
                                     "2024-01-04,9432,,10,10,10,10,1\n");
    ImportOptions o;
    o.namesFile = list;
    ASSERT_EQ(import({prices}, o), kExitImported);
    reload();
    // 12 bytes hold six full-width characters; the seventh would be split.
    const std::pair<StockKey, std::string> expected[] = {
        {tokyo(6758), cp932FromUtf8("ソニーグルー")},
        {tokyo(7203), cp932FromUtf8("トヨタ自動車")},
        {tokyo(9432), "9432        "},
    };
    for (const auto& [key, name] : expected) {
        ASSERT_EQ(seriesOf(key), kSeriesBuilt);
        EXPECT_EQ(std::string(md_.set.stockName), name);
    }
    // A later import without names keeps the stored ones.
    const std::string again = input("7203.csv",
                                    "Date,Open,High,Low,Close,Volume\n"
                                    "2024-01-05,10,10,10,10,1\n");
    ASSERT_EQ(import({again}), kExitImported);
    reload();
    ASSERT_EQ(seriesOf(tokyo(7203)), kSeriesBuilt);
    EXPECT_EQ(std::string(md_.set.stockName), cp932FromUtf8("トヨタ自動車"));
}

}  // namespace
}  // namespace zepa::test
