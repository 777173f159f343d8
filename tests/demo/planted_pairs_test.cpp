// The demo's planted pairs revert and stand out: over the last 250 dates, as the viewer reads
// the installation, each has daily log returns correlated at 0.7 or more and an Engle–Granger
// t below -3.9 (p < 0.01), and no other pair of one industry, both legs 貸借, comes closer.
// The statistics are the screen's definitions, tested against hand-worked values there.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "marketdata/listing_file.h"
#include "screen/screen_statistics.h"
#include "tests/support/temp_installation.h"
#include "tools/demo/demo_installation.h"

namespace zepa::test {
namespace {

constexpr size_t kWindow = 250;

using Series = std::vector<double>;

struct Pair {
    int32_t a, b;
    double correlation, t;
};

TEST_F(Installation, DemoPlantedPairsRevertAndLeadTheirIndustries) {
    ASSERT_EQ(writeDemoInstallation(root.string(), kDefaultDemoSeed, true).result,
              DemoWriteResult::Written);
    load();
    ListingTable listing;
    std::string error;
    ASSERT_EQ(
        readListingFile((fs::path(paths.zepawin) / kListingFileName).string(), listing, error),
        ListingRead::Read)
        << error;
    // The stored log closes of the window's dates (a day without trade repeats the close before);
    // a split stays in, which only lowers the correlation of 6578's pairs, none of them planted.
    std::map<int32_t, Series> logs;
    for (const ListingEntry& e : listing.entries) {
        if (e.marginCode != kMarginLendable) {
            continue;
        }
        ASSERT_EQ(seriesOf(tokyo(e.stockCode)), kSeriesBuilt) << e.stockCode;
        ASSERT_EQ(md_.series.length, md_.set.dateCount) << e.stockCode;  // one date axis
        const std::vector<int32_t> closes = values(&StockSeries::close);
        Series& l = logs[e.stockCode];
        for (size_t i = closes.size() - kWindow; i < closes.size(); ++i) {
            l.push_back(std::log(static_cast<double>(closes[i])));
        }
    }
    std::vector<Pair> found;
    for (auto a = logs.begin(); a != logs.end(); ++a) {
        for (auto b = std::next(a); b != logs.end(); ++b) {
            if (findListing(listing, a->first)->sector33Code !=
                findListing(listing, b->first)->sector33Code) {
                continue;
            }
            const Series& la = a->second;
            const Series& lb = b->second;
            found.push_back({a->first, b->first, returnCorrelation(la, lb).value_or(0.0),
                             std::min(engleGranger(la, lb).t.value_or(0.0),
                                      engleGranger(lb, la).t.value_or(0.0))});
        }
    }
    // The screen's defaults, p <= 0.05 read as t <= -3.34 (two variables with a constant).
    std::erase_if(found, [](const Pair& p) { return p.correlation < 0.7 || p.t > -3.34; });
    std::sort(found.begin(), found.end(), [](const Pair& x, const Pair& y) { return x.t < y.t; });
    ASSERT_GE(found.size(), 3u);
    std::set<std::pair<int32_t, int32_t>> top;
    for (size_t i = 0; i < 3; ++i) {
        top.insert({found[i].a, found[i].b});
        EXPECT_LT(found[i].t, -3.9) << found[i].a << "-" << found[i].b;
    }
    EXPECT_EQ(top,
              (std::set<std::pair<int32_t, int32_t>>{{4042, 4045}, {8341, 8343}, {9031, 9036}}));
}

}  // namespace
}  // namespace zepa::test
