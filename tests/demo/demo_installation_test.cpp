#include <gtest/gtest.h>

#include <iterator>
#include <map>

#include "base/codepage.h"
#include "marketdata/pair_series.h"
#include "tests/support/temp_installation.h"
#include "tools/demo/demo_installation.h"

namespace zepa::test {
namespace {

std::map<std::string, std::string> filesUnder(const fs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (e.is_regular_file()) {
            std::ifstream in(e.path(), std::ios::binary);
            out[fs::relative(e.path(), dir).generic_string()] = {std::istreambuf_iterator<char>(in),
                                                                 {}};
        }
    }
    return out;
}

TEST_F(Installation, DemoPositionsAllBuildWithNamesCutAtWholeCharacters) {
    ASSERT_EQ(writeDemoInstallation(root.string(), kDefaultDemoSeed, true).result,
              DemoWriteResult::Written);  // forced into the fixture's empty data folder
    load();
    PositionTable table;
    ASSERT_GE(readPositionFile(paths.positionFile, table, nullptr), 10);
    for (int i = 0; i < table.positionCount; ++i) {
        SpreadSeries series;
        ASSERT_EQ(buildPairSeries(md_, {}, table.records[i], {}, series).result, 1) << i;
        const std::string names = std::string(series.buyStockName) + '\n' + series.sellStockName;
        EXPECT_EQ(utf8FromCp932(names).find("\xEF\xBF\xBD"), std::string::npos) << names;
    }
}

TEST(DemoWriter, SameSeedSameBytesAndNoSilentOverwrite) {
    const TempInstallation a(false), b(false);
    ASSERT_EQ(writeDemoInstallation(a.root.string(), 7, false).result, DemoWriteResult::Written);
    ASSERT_EQ(writeDemoInstallation(b.root.string(), 7, false).result, DemoWriteResult::Written);
    const auto before = filesUnder(a.root);
    EXPECT_EQ(filesUnder(b.root), before);
    EXPECT_EQ(writeDemoInstallation(a.root.string(), 8, false).result,
              DemoWriteResult::AlreadyExists);
    EXPECT_EQ(filesUnder(a.root), before);
    a.writeText(a.dataFile("dbw.old"), "stale");  // forced: not written by it, so dropped
    ASSERT_EQ(writeDemoInstallation(a.root.string(), 8, true).result, DemoWriteResult::Written);
    const auto after = filesUnder(a.root);
    EXPECT_TRUE(after.size() == before.size() && after.count("ZEPAWIN/DATA/dbw.old") == 0 &&
                after.at("ZEPAWIN/DATA/DBW.2025") != before.at("ZEPAWIN/DATA/DBW.2025"));
}

}  // namespace
}  // namespace zepa::test
