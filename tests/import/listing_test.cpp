// The listing file (ZEPAWIN/LISTING.CSV) and zepa_import --names.
#include "tests/import/import_fixture.h"
#include "tools/listing_writer.h"

namespace zepa::test {
namespace {

ListingEntry entry(int32_t code, std::string name, std::string s33, int32_t margin) {
    ListingEntry e;
    e.stockCode = code;
    e.name = std::move(name);
    e.sector33Code = std::move(s33);
    e.marginCode = margin;
    return e;
}

class Listing : public ImportTest {
  protected:
    std::string listingPath() const {
        return (fs::path(paths.zepawin) / kListingFileName).string();
    }
};

TEST_F(Listing, WrittenTablesReadBackEqualAndMergesKeepWhatTheNewSourceLacks) {
    ListingTable table;
    ListingEntry quoted = entry(7203, "トヨタ \"自動車\", 本社", "3700", kMarginLendable);
    quoted.sector17Code = "6";
    quoted.scaleCategory = "TOPIX Core30";
    table.entries = {entry(1301, "a\tb" + std::string(300, 'x'), "", kMarginUnknown), quoted};
    ASSERT_TRUE(writeListingFile(listingPath(), table));
    // Written as the reader takes a cell: cut at 256 bytes, control characters blank.
    table.entries[0].name = "a b" + std::string(253, 'x');
    ListingTable back;
    std::string error;
    ASSERT_EQ(readListingFile(listingPath(), back, error), ListingRead::Read) << error;
    EXPECT_EQ(back.entries, table.entries);
    EXPECT_TRUE(back.hasSector17 && back.hasSector33 && back.hasMargin);

    // Sectors only: margin and names stay; an empty value does not erase; new codes in order.
    mergeListing(back, {entry(7203, "x", "", kMarginCredit), entry(6758, "y", "3650", 1)},
                 ListingField::Sector33Code | ListingField::Sector33Name);
    EXPECT_EQ(back.entries,
              (std::vector<ListingEntry>{table.entries[0], entry(6758, "", "3650", 0), quoted}));
    mergeListing(back, {entry(7203, "トヨタ", "3750", kMarginCredit)}, kAllListingFields);
    quoted.name = "トヨタ";
    quoted.sector33Code = "3750";
    quoted.marginCode = kMarginCredit;
    EXPECT_EQ(back.entries[2], quoted);
}

TEST_F(Listing, TheReaderToleratesWhatLosesNothingAndNamesTheLineOfAnythingElse) {
    const std::string path = listingPath();
    fs::create_directories(paths.zepawin);
    ListingTable t;
    std::string error;
    EXPECT_EQ(readListingFile(path, t, error), ListingRead::Absent);

    // A BOM, CR LF, blank lines, a column it does not know, columns it lacks.
    writeText(path, "\xEF\xBB\xBFMarginCode,Extra,code\r\n2,\"a,b\",0001\r\n\r\n,,9999\r\n");
    ASSERT_EQ(readListingFile(path, t, error), ListingRead::Read) << error;
    EXPECT_EQ(column(t.entries, &ListingEntry::stockCode), (std::vector<int32_t>{1, 9999}));
    EXPECT_TRUE(t.hasMargin && !t.hasSector33);

    const std::string longCell(257, 'x');
    const std::pair<std::string, std::string> bad[] = {
        {"", ": empty, not even a header line"},
        {"Name,Sector33Code\nA,1\n", ":1: the header names no Code column"},
        {"Code,code\n", ":1: the header names Code twice"},
        {"Code,Name\n7203,a\n7203,b\n",
         ":3: code 7203 after 7203 (one line a code, in code order)"},
        {"Code,Name\n72030,a\n", ":2: code \"72030\" is not four digits"},
        {"Code,Name\n7203\n", ":2: 1 cells, the header 2"},
        {"Code,Name\n7203,\"a\n", ":2: a quote is not closed"},
        {"Code,Name\n7203,\"a\"b\n", ":2: text after a closing quote"},
        {"Code,Name\n7203,a\"b\n", ":2: a quote inside a cell that does not start with one"},
        {"Code,Name\n7203,a\tb\n", ":2: a control character in a cell"},
        {"Code,Name\n7203," + longCell + "\n", ":2: a cell longer than 256 bytes"},
        {"Code,Name\n7203,\x83\x67\n", ":2: not UTF-8 text"},
        {"Code,MarginCode\n7203,4\n", ":2: MarginCode \"4\" is not 1, 2 or 3"},
        {"Code\n" + std::string(kMaxListingLine + 1, '1') + "\n", ":2: a line longer than 64 KiB"},
    };
    for (const auto& [bytes, message] : bad) {
        SCOPED_TRACE(message);
        writeText(path, bytes);
        EXPECT_EQ(readListingFile(path, t, error), ListingRead::Malformed);
        EXPECT_EQ(error, path + message);
        EXPECT_TRUE(t.entries.empty());
    }
    fs::resize_file(path, kMaxListingFileBytes + 1);
    EXPECT_EQ(readListingFile(path, t, error), ListingRead::Malformed);
    EXPECT_EQ(error, path + ": larger than 16 MiB, which no listing file is");
}

TEST_F(Listing, NamesFilesOfBothKindsFillItMergedAndOnlyWhenTheyHaveListingColumns) {
    const std::string prices = input("7203.csv", "Date,Open,High,Low,Close\n2024-01-04,1,1,1,1\n");
    ImportOptions o;
    o.namesFile = input("plain.csv", "Code,Name\n7203,Toyota\n");
    ASSERT_EQ(import({prices}, o), kExitImported);
    EXPECT_FALSE(fs::exists(listingPath()) || report_.listingWritten);

    o.namesFile = input("info.csv",
                        "Date,Code,CompanyName,CompanyNameEnglish,Sector17Code,Sector17CodeName,"
                        "Sector33Code,Sector33CodeName,ScaleCategory,MarketCode,MarketCodeName,"
                        "MarginCode,MarginCodeName\n"
                        "2024-01-04,72030,トヨタ自動車,TOYOTA,6,自動車・輸送機,3700,輸送用機器,"
                        "TOPIX Core30,0111,プライム,2,貸借\n"
                        "2024-01-04,130A0,ヴェリタス,V,10,x,5250,y,-,0113,グロース,1,信用\n"
                        "2024-01-04,67580,ソニー,SONY,9,電機・精密,3650,電気機器,TOPIX Core30,"
                        "0111,プライム,x,\n");
    o.dryRun = true;
    ASSERT_EQ(import({prices}, o), kExitImported);
    EXPECT_TRUE(report_.listingWritten && report_.listingStocks == 2);
    EXPECT_FALSE(fs::exists(listingPath()));
    o.dryRun = false;
    ASSERT_EQ(import({}, o), kExitImported) << report_.errors[0];  // the listing alone
    EXPECT_EQ(report_.warnings,
              std::vector<std::string>{o.namesFile + ":4: MarginCode \"x\" is not 1, 2 or 3 "
                                                     "(信用, 貸借, other): left empty"});
    EXPECT_EQ(readText(listingPath()),
              std::string(kListingHeader) +
                  "\n6758,ソニー,9,電機・精密,3650,電気機器,0111,TOPIX Core30,\n"
                  "7203,トヨタ自動車,6,自動車・輸送機,3700,輸送用機器,0111,TOPIX Core30,2\n");

    // The exchange's list, CP932, codes without leading zeros: sectors and sizes replaced,
    // margins kept, a new stock added; "-" is no value.
    o.namesFile =
        input("data_j.csv", cp932("日付,コード,銘柄名,市場・商品区分,33業種コード,33業種区分,"
                                  "17業種コード,17業種区分,規模コード,規模区分\n"
                                  "20240104,7203,トヨタ自動車,プライム（内国株式）,3750,精密機器,"
                                  "09,電機・精密,1,TOPIX Core30\n"
                                  "20240104,1305,ETF,ETF・ETN,-,-,-,-,-,-\n"
                                  "20240104,1301,極洋,プライム（内国株式）,50,水産・農林業,1,食品,"
                                  "7,TOPIX Small 2\n"));
    ASSERT_EQ(import({prices}, o), kExitImported);
    EXPECT_EQ(report_.listingGiven, 3);
    EXPECT_EQ(readText(listingPath()),
              std::string(kListingHeader) +
                  "\n1301,極洋,1,食品,0050,水産・農林業,,TOPIX Small 2,\n"
                  "1305,ETF,,,,,,,\n"
                  "6758,ソニー,9,電機・精密,3650,電気機器,0111,TOPIX Core30,\n"
                  "7203,トヨタ自動車,9,電機・精密,3750,精密機器,0111,TOPIX Core30,2\n");

    // A damaged listing file is not written over, and nothing else is written either.
    writeText(listingPath(), "Code\nx\n");
    fs::remove_all(paths.dataDirectory);
    EXPECT_EQ(import({prices}, o), kExitInputError);
    EXPECT_EQ(report_.errors,
              std::vector<std::string>{
                  listingPath() + ":2: code \"x\" is not four digits (mend or remove the listing "
                                  "file to import listing data)"});
    EXPECT_FALSE(fs::exists(paths.dataDirectory));
    EXPECT_EQ(readText(listingPath()), "Code\nx\n");
}

}  // namespace
}  // namespace zepa::test
