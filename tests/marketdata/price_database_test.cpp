// The files of the data folder: the price files (which are taken and in what order, valid
// slots, damage, one stock's series joined across them), the position file and correction list.
#include <gtest/gtest.h>

#include "marketdata/correction_list.h"
#include "marketdata/quantity_code.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

using PriceFiles = Installation;
using V = std::vector<int32_t>;
using Counts = std::vector<uint16_t>;

TEST_F(PriceFiles, FilesAreTakenByNameInCaseInsensitiveOrderUpToAHundred) {
    writeText(dataFile("DB.1"), "x");
    EXPECT_EQ(scanPriceDatabases(md_), DataError::NoDatabase);
    EXPECT_TRUE(md_.dataAborted);

    const std::vector<std::string> sorted = {"DBW.1", "dbw.10", "DBW.2", "DBW.A", "Dbw.b"};
    const auto days = weekdays(2020, 1, 6, 5);
    for (int i : {3, 1, 4, 0, 2}) {
        writeDb(sorted[i], dbw({days[i]}, {stock(tokyo(1), "A", {100 + i})}));
    }
    writeText(dataFile("DBWX.1"), "not a database");
    md_ = freshData();
    load();
    EXPECT_EQ(column(md_.set.files, [](auto& f) { return fs::path(f.path).filename().string(); }),
              sorted);

    for (int i = 0; i < 95; ++i) {
        writeDb("DBW." + std::to_string(1000 + i), dbw({ymd(2020, 1, 6)}, {stock(1, "A", {})}));
    }
    md_ = freshData();
    load();
    EXPECT_EQ(md_.set.fileCount, 100);
    writeDb("DBW.X", dbw({ymd(2020, 1, 6)}, {}));
    md_ = freshData();
    EXPECT_EQ(scanPriceDatabases(md_), DataError::TooManyDatabases);
    EXPECT_TRUE(md_.dataAborted);
}

TEST_F(PriceFiles, ValidSlotsShortFilesAndLyingHeaders) {
    const auto day = [](unsigned d) { return ymd(2021, 3, d); };
    // Sorts first and lists B, but has no valid date.
    writeDb("DBW.0", dbw({ymd(2021, 0, 1), ymd(2021, 2, 26)}, {stock(tokyo(2), "B", {8, 9})}));
    // Slots after a zero key or month do not count, though blocks span them all.
    DbwFile a = dbw({day(1), day(2), ymd(2021, 0, 5), day(4)},
                    {stock(tokyo(1), "A", {100, 101, 102, 103}), stock(tokyo(2), "B", {500, 501}),
                     stock(0, "ZERO", {900}), stock(tokyo(3), "C", {300})});
    a.unusedStockSlots = 1;
    a.unusedDateSlots = 2;
    writeDb("DBW.1", a);
    DbwFile cut = dbw({day(3), day(4), day(5)}, {stock(tokyo(2), "B", {60, 70, 80})});
    cut.truncateAt = 4 + 16 + 3 * 3 + 20 * 2;  // B's block keeps two records
    writeDb("DBW.2", cut);
    DbwFile cutDates = dbw({day(8), day(9)}, {stock(tokyo(2), "B", {95, 96})});
    cutDates.truncateAt = 4 + 16 + 3 + 1;  // ends inside the second date
    writeDb("DBW.3", cutDates);
    DbwFile lying = dbw({day(10)}, {stock(tokyo(2), "B", {97})});
    lying.headerStockSlots = 1000;  // far more than the file holds
    writeDb("DBW.4", lying);
    lying.headerStockSlots = lying.headerDateSlots = 65535;
    writeDb("DBW.5", lying);
    load();
    EXPECT_EQ(column(md_.set.files, &PriceDatabase::validDates), (Counts{0, 2, 3, 1, 0, 0}));
    EXPECT_EQ(column(md_.set.files, &PriceDatabase::validStocks), (Counts{1, 2, 1, 1, 0, 0}));
    EXPECT_EQ(findStock(md_, tokyo(3)), -1);
    // Records cut off are days without trade: the last close carries on, volume 0.
    ASSERT_EQ(seriesOf(tokyo(2)), kSeriesBuilt);
    EXPECT_EQ(values(&StockSeries::close), (V{500, 501, 60, 70, 70, 70}));
    EXPECT_EQ(values(&StockSeries::volume), (V{1000, 1000, 1000, 1000, 0, 0}));
    EXPECT_FALSE(md_.dataAborted);

    // Holding the files open (and, on Windows, mapped) changes no byte of what is read.
    const auto readEvery = [this] {
        std::vector<std::string> out;
        for (StockKey key : {tokyo(1), tokyo(2), tokyo(3), tokyo(4)}) {
            const int result = seriesOf(key);
            std::string line = std::to_string(result) + ":" + md_.set.stockName;
            for (auto member : {&StockSeries::open, &StockSeries::close, &StockSeries::volume}) {
                for (int32_t v : values(member)) {
                    line += " " + std::to_string(v);
                }
            }
            out.push_back(line);
        }
        return out;
    };
    const std::vector<std::string> perRead = readEvery();
    {
        const HeldPriceFiles held(md_);
        {
            // An inner hold leaves the outer one's files open.
            const HeldPriceFiles inner(md_);
        }
        EXPECT_TRUE(md_.set.files[1].heldFile && md_.set.files[5].heldFile);
        EXPECT_EQ(readEvery(), perRead);
    }
    EXPECT_FALSE(md_.set.files[1].heldFile);

    // A file gone before the hold is opened per read and fails as before; the data error
    // releases the tables under the hold.
    fs::remove(dataFile("DBW.2"));
    {
        const HeldPriceFiles held(md_);
        EXPECT_EQ(seriesOf(tokyo(2)), kSeriesDataError);
        EXPECT_EQ(md_.dataError, DataError::OpenFailed);
    }
    EXPECT_TRUE(md_.set.files.empty());
}

TEST(QuantityCode, DecodesEachBandAndWrapsModulo2To32) {
    const std::pair<uint16_t, int32_t> table[] = {{9999, 9999},         {18999, 99990},
                                                  {19000, 100000},      {56147, 2147000000},
                                                  {56148, -2146967296}, {65535, -419803776}};
    for (auto [code, value] : table) {
        EXPECT_EQ(decodeQuantity(code), value) << code;
    }
}

const std::string kFw = "\x81\x40";  // full-width space

// A position line: the buy leg's fields at columns 1, 10, 20, 30, the sell leg's at 40, 49,
// 59, 69; the line ends with the last non-empty field.
std::string line(std::initializer_list<std::string_view> fields) {
    const size_t columns[] = {1, 10, 20, 30, 40, 49, 59, 69};
    std::string out;
    size_t i = 0;
    for (std::string_view text : fields) {
        const size_t at = columns[i++] - 1;
        if (!text.empty()) {
            out.resize(std::max(out.size(), at + text.size()), ' ');
            out.replace(at, text.size(), text);
        }
    }
    return out + "\n";
}

std::string legText(const PositionLeg& l) {
    return std::string(l.marketLetter) + "|" + std::to_string(l.stockCode) + "|" + l.shortName +
           "|" + std::to_string(l.entryDate) + "|" + std::to_string(l.quantity);
}

class Positions : public Installation {
  protected:
    std::vector<std::string> read(const std::string& text) {
        writeText(paths.positionFile, text);
        const int n = readPositionFile(paths.positionFile, table_, nullptr);
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i) {
            out.push_back(legText(table_.records[i].buy) + " " + legText(table_.records[i].sell));
        }
        return out;
    }
    PositionTable table_;
};

TEST_F(Positions, FixedColumnsCommentsAndLineEnds) {
    std::string longLine = line({"T5555", "", "", "", "T6666"});
    longLine.pop_back();
    longLine.resize(199, ' ');  // the 200th character starts a line of its own
    const std::string f2 = kFw + kFw, f3 = f2 + kFw;
    EXPECT_EQ(read(line({"T1234", "ABCDEFGH", "980512", "1000", "O5678", "AB", "50", "-100"}) +
                   line({"  T1234", "A B C", " 98 05 12", "1 000", "o1234567", kFw + "X"}) +
                   line({"T1", "\x88\x9f", "", "", "  N12345"}) + line({"#T1", "", "", "", "T2"}) +
                   line({" #T1", "H", "", "", "T2"}) + "\n" + std::string(60, ' ') + "\n" +
                   line({"T1111", "NOSELL", "980512", "100"}) + line({"", "", "", "", "T2222"}) +
                   "T1111" + std::string(34, ' ') + "T2222    XYZ\r\n\r\n" + longLine +
                   line({"O7777", "", "", "", "O8888", "", "", "77"})),
              (std::vector<std::string>{
                  "T|1234|ABCDEF|980512|1000 O|5678|AB" + f2 + "|0|0",
                  // At most five digits follow the letter; a full-width space stays.
                  "T|1234|ABC" + kFw + "|980512|1000 o|12345|" + kFw + "X" + kFw + "|0|0",
                  "T|1|\x88\x9f" + f2 + "|0|0 N|12345|" + f3 + "|0|0",
                  "#|0|H" + f2 + "|0|0 T|2|" + f3 + "|0|0",
                  // A CR must not reach a field.
                  "T|1111|" + f3 + "|0|0 T|2222|XYZ" + kFw + "|0|0",
                  "T|5555|" + f3 + "|0|0 T|6666|" + f3 + "|0|0",
                  "O|7777|" + f3 + "|0|0 O|8888|" + f3 + "|0|77"}));
}

TEST_F(Positions, LinesThatCannotBePositionsAreLeftOutAndListedOnce) {
    std::string longLine = line({"T5555", "", "2025/01/04", "", "T6666"});
    longLine.pop_back();
    longLine.resize(250, ' ');  // read in two pieces: one line, listed once
    const std::vector<std::string> read1 =
        read(line({"T1001", "A", "250704", "100", "T1002", "B", "250704", "200"}) +     // 1
             "T7203\tトヨタ\t250704\t100\tT7267\tホンダ\t250704\t300\r\n" +             // 2
             line({"T1001", "A", "2025/07/04", "100", "T1002"}) +                       // 3
             line({"T1001", "A", "", "1,000", "T1002"}) +                               // 4
             line({"T1001", "A", "", "", "T1002", "B", "-"}) +                          // 5
             line({"T1001", "A", "", "", "T1002", "B", "", "100株"}) +                  // 6
             longLine + "\n" +                                                          // 7
             " \t \n" + line({"T1001", "", "x"}) + "T1\tA\t250704\n" +                  // 8, 9, 10
             line({"T1003", "C", "-5", "-100", "T1004", "D", " 25 07 04", "+7"}) +      // 11
             "T1001" + std::string(3, ' ') + "\t" + std::string(31, ' ') + "T1002\n");  // 12
    // The blank line with a tab and the lines without a sell leg stay silent, as ever; a tab
    // between the fields is ignored, as any character there.
    EXPECT_EQ(read1,
              (std::vector<std::string>{
                  "T|1001|A" + kFw + kFw + "|250704|100 T|1002|B" + kFw + kFw + "|250704|200",
                  "T|1003|C" + kFw + kFw + "|0|0 T|1004|D" + kFw + kFw + "|250704|7",
                  "T|1001|" + kFw + kFw + kFw + "|0|0 T|1002|" + kFw + kFw + kFw + "|0|0"}));
    EXPECT_EQ(table_.lines, (std::vector<int32_t>{1, 11, 12}));
    std::string found;  // line:fault, the faults in their declared order from Tab
    for (const PositionLineProblem& p : table_.problems) {
        found += std::to_string(p.line) + ":" + std::to_string(static_cast<int>(p.fault)) + " ";
    }
    EXPECT_EQ(found, "2:0 3:1 4:2 5:3 6:4 7:1 ");
    EXPECT_NE(positionProblemsMessage(table_.problems).find("\n\n2 行目：タブで区切られています"),
              std::string::npos);

    std::string many;
    for (int i = 0; i < 25; ++i) {
        many += line({"T1", "", "", "x", "T2"});
    }
    read(many);  // twenty listed, then how many more
    EXPECT_NE(positionProblemsMessage(table_.problems)
                  .find("20 行目：買いの株数が数字として読めませ"
                        "ん（例 1000）\nほか 5 行"),
              std::string::npos);
}

TEST_F(Positions, ARereadReplacesTheTableUnlessTheFileIsMissing) {
    ASSERT_EQ(read(line({"T7", "", "", "", "O1"}) + line({"T8", "", "", "", "O1"})).size(), 2u);
    ASSERT_EQ(read(line({"T42", "", "", "", "O1"})).size(), 1u);
    fs::remove(paths.positionFile);
    bool missing = false;
    EXPECT_EQ(readPositionFile(paths.positionFile, table_, &missing), 0);
    EXPECT_TRUE(missing);
    EXPECT_EQ((std::vector{table_.positionCount, table_.records[0].buy.stockCode}),
              (std::vector{1, 42}));
    EXPECT_EQ(positionFileMissingMessage(paths.positionFile),
              paths.positionFile + "  が、ありません");
}

TEST_F(Installation, CorrectionListTakesEveryNonCommentLine) {
    CorrectionList list;
    writeText(paths.correctionFile, "1234\n#5678\n\n  42\r\nabc\n");
    loadCorrectionList(paths.correctionFile, list);
    EXPECT_EQ(std::vector(list.entries, list.entries + list.correctionCount),
              (std::vector<int32_t>{1234, 0, 42, 0}));
    // Only the last five digits of the key count, whatever the market.
    EXPECT_EQ(
        (std::vector{correctionFactorOf(list, 200001234), correctionFactorOf(list, tokyo(5678)),
                     correctionFactorOf(list, tokyo(11234))}),
        (std::vector{100, 1, 1}));

    // A Ctrl+Z left by an old editor ends the file.
    writeText(paths.correctionFile, "1234\r\n\x1A\r\n5678\r\n");
    loadCorrectionList(paths.correctionFile, list);
    EXPECT_EQ(list.correctionCount, 1);

    std::string many;
    for (int i = 1; i <= 301; ++i) {
        many += std::to_string(i) + "\n";
    }
    writeText(paths.correctionFile, many);
    loadCorrectionList(paths.correctionFile, list);
    EXPECT_EQ((std::vector{list.correctionCount, list.entries[299]}), (std::vector{300, 300}));
}

}  // namespace
}  // namespace zepa::test
