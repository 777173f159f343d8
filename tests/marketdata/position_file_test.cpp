// The hand-edited position file and correction list, written as text and read back.
#include <gtest/gtest.h>

#include "marketdata/correction_list.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

using CorrectionFile = Installation;

const std::string kFw = "\x81\x40";  // full-width space

// A position line: the fields of the buy leg at columns 1, 10, 20, 30, of the sell leg at 40,
// 49, 59, 69, padded with spaces; the line ends with the last non-empty field.
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
    return out;
}

std::string legText(const PositionLeg& l) {
    return std::string(l.marketLetter) + "|" + std::to_string(l.stockCode) + "|" + l.shortName +
           "|" + std::to_string(l.entryDate) + "|" + std::to_string(l.quantity);
}

class Positions : public Installation {
  protected:
    int read(const std::string& text) {
        writeText(paths.positionFile, text);
        return readPositionFile(paths.positionFile, table_, nullptr);
    }
    PositionTable table_;
};

TEST_F(Positions, FieldsStandInFixedColumns) {
    ASSERT_EQ(read(line({"T1234", "ABCDEFGH", "980512", "1000", "O5678", "AB", "50", "-100"}) +
                   "\n" + line({"T 1234", "\x88\x9f", "", "", "  K99"}) + "\n" +
                   line({"  T1234", "A B C", " 98 05 12", "1 000", "o1234567", kFw + "X"}) + "\n" +
                   line({"T1", "", "", "", "  N12345"}) + "\n"),
              4);
    const auto& r = table_.records;
    EXPECT_EQ(legText(r[0].buy), "T|1234|ABCDEF|980512|1000");
    EXPECT_EQ(legText(r[0].sell), "O|5678|AB" + kFw + kFw + "|0|0");
    EXPECT_EQ(legText(r[1].buy), "T|1234|\x88\x9f" + kFw + kFw + "|0|0");
    EXPECT_EQ(legText(r[1].sell), "K|99|" + kFw + kFw + kFw + "|0|0");
    // At most five characters of code follow the letter; a full-width space stays.
    EXPECT_EQ(legText(r[2].buy), "T|1234|ABC" + kFw + "|980512|1000");
    EXPECT_EQ(legText(r[2].sell), "o|12345|" + kFw + "X" + kFw + "|0|0");
    // The line ends at column 47.
    EXPECT_EQ(legText(r[3].sell), "N|12345|" + kFw + kFw + kFw + "|0|0");
}

TEST_F(Positions, CommentsBlankLinesAndMissingLegs) {
    ASSERT_EQ(read(line({"#T1234", "", "", "", "T2222"}) + "\n" +
                   line({" #T1234", "H", "", "", "T2222"}) + "\n\n" + std::string(60, ' ') + "\n" +
                   line({"T1111", "NOSELL", "980512", "100"}) + "\n" +
                   line({"", "", "", "", "T2222"}) + "\n" + line({"T3333", "", "", "", "T4444"})),
              2);
    EXPECT_EQ(legText(table_.records[0].buy), "#|0|H" + kFw + kFw + "|0|0");
    EXPECT_EQ(table_.records[1].sell.stockCode, 4444);
}

TEST_F(Positions, CrLfEndingsAndLongLines) {
    // A CR must not reach a field: the first line ends right after the sell name.
    std::string longLine = line({"T5555", "", "", "", "T6666"});
    longLine.resize(199, ' ');  // the 200th character starts a line of its own
    ASSERT_EQ(read(line({"T1111", "", "", "", "T2222", "XYZ"}) + "\r\n\r\n" + longLine +
                   line({"O7777", "", "", "", "O8888", "", "", "77"}) + "\r\n"),
              3);
    EXPECT_EQ(table_.records[0].sell.shortName, "XYZ" + kFw);
    EXPECT_EQ(table_.records[1].sell.stockCode, 6666);
    EXPECT_EQ(legText(table_.records[2].sell), "O|8888|" + kFw + kFw + kFw + "|0|77");
}

TEST_F(Positions, RereadReplacesTheTableUnlessTheFileIsMissing) {
    // The fault tests read a file of 6,000 positions up to this limit.
    EXPECT_EQ(kMaxPositions, 5000);
    ASSERT_EQ(read(line({"T7", "", "", "", "O1"}) + "\n" + line({"T8", "", "", "", "O1"})), 2);
    ASSERT_EQ(read(line({"T42", "", "", "", "O1"})), 1);
    EXPECT_EQ(table_.records[0].buy.stockCode, 42);

    // A missing file leaves the table as it was.
    fs::remove(paths.positionFile);
    bool missing = false;
    EXPECT_EQ(readPositionFile(paths.positionFile, table_, &missing), 0);
    EXPECT_TRUE(missing);
    EXPECT_EQ(table_.positionCount, 1);
    EXPECT_EQ(table_.records[0].buy.stockCode, 42);
    EXPECT_EQ(positionFileMissingMessage(paths.positionFile),
              paths.positionFile + "  が、ありません");
}

TEST_F(CorrectionFile, EveryNonCommentLineIsAnEntry) {
    CorrectionList list;
    writeText(paths.correctionFile, "1234\n#5678\n\n  42\r\nabc\n");
    loadCorrectionList(paths.correctionFile, list);
    ASSERT_EQ(list.correctionCount, 4);
    EXPECT_EQ(std::vector(list.entries, list.entries + 4), (std::vector<int32_t>{1234, 0, 42, 0}));
    // Only the last five digits of the key count, whatever the market.
    EXPECT_EQ(correctionFactorOf(list, tokyo(1234)), 100);
    EXPECT_EQ(correctionFactorOf(list, 200001234), 100);
    EXPECT_EQ(correctionFactorOf(list, tokyo(5678)), 1);
    EXPECT_EQ(correctionFactorOf(list, tokyo(11234)), 1);

    // A Ctrl+Z left by an old editor ends the file, as it does for a Windows reader.
    writeText(paths.correctionFile, "1234\r\n\x1A\r\n5678\r\n");
    loadCorrectionList(paths.correctionFile, list);
    EXPECT_EQ(list.correctionCount, 1);

    std::string many;
    for (int i = 1; i <= 301; ++i) {
        many += std::to_string(i) + "\n";
    }
    writeText(paths.correctionFile, many);
    loadCorrectionList(paths.correctionFile, list);
    EXPECT_EQ(list.correctionCount, 300);
    EXPECT_EQ(list.entries[299], 300);

    fs::remove(paths.correctionFile);
    loadCorrectionList(paths.correctionFile, list);
    EXPECT_EQ(list.correctionCount, 0);
}

}  // namespace
}  // namespace zepa::test
