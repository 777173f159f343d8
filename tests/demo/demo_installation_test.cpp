// The demo installation, read back through the viewer's own readers.
#include <gtest/gtest.h>

#include <iterator>
#include <map>

#include "marketdata/correction_list.h"
#include "marketdata/pair_series.h"
#include "platform/codepage.h"
#include "tests/support/temp_installation.h"
#include "tools/demo/demo_installation.h"

namespace zepa::test {
namespace {

std::map<std::string, std::string> filesUnder(const fs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (e.is_regular_file()) {
            std::ifstream in(e.path(), std::ios::binary);
            out[fs::relative(e.path(), dir).string()] = {std::istreambuf_iterator<char>(in), {}};
        }
    }
    return out;
}

bool decodesCleanly(std::string_view cp932) {
    return utf8FromCp932(cp932).find("\xEF\xBF\xBD") == std::string::npos;
}

using DemoInstallation = Installation;

TEST_F(DemoInstallation, OpensInTheViewerWithEveryPositionBuilt) {
    // Forced into the fixture's empty data folder.
    ASSERT_EQ(writeDemoInstallation(root.string(), kDefaultDemoSeed, true).result,
              DemoWriteResult::Written);
    load();
    MarketData& md = md_;
    ASSERT_GE(md.set.fileCount, 3);
    const int32_t first = dateValue(md.set.files.front().dates.front());
    EXPECT_GE(dateValue(md.set.files.back().dates.back()) - first, 20000);  // two years or more
    int32_t previous = 0;
    for (const PriceDatabase& db : md.set.files) {
        for (PackedDate d : db.dates) {
            using namespace std::chrono;
            const weekday w{sys_days{year{calendarYear(d)} / month{d.month} / day{d.day}}};
            EXPECT_TRUE(w != Saturday && w != Sunday && !(d.month == 1 && d.day <= 3));
            EXPECT_GT(dateValue(d), previous);  // file order is date order
            previous = dateValue(d);
        }
    }
    // Every stock's bars are well formed, and the listing, the split and the idle days show.
    const std::vector<StockKey>& firstKeys = md.set.files.front().keys;
    int lateListings = 0, splits = 0, idleDays = 0;
    for (StockKey key : md.set.files.back().keys) {
        ASSERT_EQ(findStock(md, key), 0);
        ASSERT_EQ(readStockSeries(md), kSeriesBuilt);
        EXPECT_TRUE(decodesCleanly(md.set.stockName)) << key;
        lateListings += std::find(firstKeys.begin(), firstKeys.end(), key) == firstKeys.end();
        const StockSeries& s = md.series;
        for (int32_t i = 0; i < s.length; ++i) {
            ASSERT_TRUE(s.low[i] > 0 && s.high[i] >= std::max(s.open[i], s.close[i]) &&
                        s.low[i] <= std::min(s.open[i], s.close[i]))
                << key << " at " << i;
            splits += s.adjustment[i] == 50;
            idleDays += i > 0 && s.volume[i] == 0;
        }
    }
    EXPECT_EQ(lateListings, 1);
    EXPECT_GE(splits, 1);
    EXPECT_GT(idleDays, 0);

    CorrectionList corrections;
    loadCorrectionList(paths.correctionFile, corrections);
    PositionTable table;
    ASSERT_GE(readPositionFile(paths.positionFile, table, nullptr), 10);
    int undated = 0, corrected = 0;
    for (int i = 0; i < table.positionCount; ++i) {
        const PositionRecord& p = table.records[i];
        SpreadSeries series;
        ASSERT_EQ(buildPairSeries(md, corrections, p, {}, series).result, 1) << "position " << i;
        EXPECT_TRUE(decodesCleanly(series.buyStockName) && decodesCleanly(p.buy.shortName));
        EXPECT_EQ(p.buy.entryDate == 0, series.buyEntryBar == -1) << "position " << i;
        EXPECT_EQ(p.sell.entryDate == 0, series.sellEntryBar == -1) << "position " << i;
        EXPECT_TRUE(i > 0 || series.buyStart + series.sellStart == 0);  // shown at start-up
        undated += p.buy.entryDate == 0;
        corrected += series.buyFactor == 100 || series.sellFactor == 100;
    }
    EXPECT_GE(undated, 1);
    EXPECT_GE(corrected, 1);

    std::ifstream tips(paths.tipFile, std::ios::binary);
    std::string line;
    int tipCount = 0;
    while (std::getline(tips, line)) {
        ASSERT_TRUE(!line.empty() && line.back() == '\r');
        EXPECT_LT(line.size(), 100u);
        EXPECT_TRUE(decodesCleanly(line));
        tipCount += line[0] != '#';
    }
    EXPECT_GE(tipCount, 10);
}

TEST_F(DemoInstallation, SameSeedSameBytesAndNoSilentOverwrite) {
    const TempInstallation a(false), b(false);
    const std::string rootA = a.root.string();
    ASSERT_EQ(writeDemoInstallation(rootA, 7, false).result, DemoWriteResult::Written);
    ASSERT_EQ(writeDemoInstallation(b.root.string(), 7, false).result, DemoWriteResult::Written);
    const auto before = filesUnder(a.root);
    EXPECT_EQ(filesUnder(b.root), before);
    EXPECT_EQ(writeDemoInstallation(rootA, 8, false).result, DemoWriteResult::AlreadyExists);
    EXPECT_EQ(filesUnder(a.root), before);

    // Forced, another seed gives another market and drops price files it did not write.
    a.writeText(a.dataFile("dbw.old"), "stale");
    ASSERT_EQ(writeDemoInstallation(rootA, 8, true).result, DemoWriteResult::Written);
    const auto after = filesUnder(a.root);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.count("ZEPAWIN/DATA/dbw.old"), 0u);
    EXPECT_NE(after.at("ZEPAWIN/DATA/DBW.2025"), before.at("ZEPAWIN/DATA/DBW.2025"));
}

}  // namespace
}  // namespace zepa::test
