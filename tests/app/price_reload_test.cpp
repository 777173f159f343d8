// The prices read again while the viewer runs: new days appear, unreadable files change nothing.
#include <gtest/gtest.h>

#include "app/price_reload.h"
#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

using PriceReload = Viewer;

TEST_F(PriceReload, NewDaysAreShownAndUnreadableFilesChangeNothing) {
    openThree();
    ASSERT_EQ(a.md.set.dateCount, kDates);
    shell.selectorItems.clear();
    const int invalidations = shell.invalidations;
    DbwFile later;
    later.dates = weekdays(2023, 4, 3, 5);
    for (int code = 1001; code <= 1006; ++code) {
        later.stocks.push_back(stock(tokyo(code), "STOCK" + std::to_string(code),
                                     {code, code + 1, code + 2, code + 3, code + 4}));
    }
    writeDb("DBW.002", later);
    EXPECT_EQ(reloadPrices(a, shell), DataError::None);
    EXPECT_EQ(a.md.set.dateCount, kDates + 5);
    // The selector filled again, the chart redrawn.
    EXPECT_EQ(shell.selectorItems.size(), 3u);
    EXPECT_GT(shell.invalidations, invalidations);
    paint();

    // More price files than the viewer reads: the prices shown stay.
    for (int i = 0; i < 99; ++i) {
        write(dataFile("DBW.x" + std::to_string(100 + i)), "");
    }
    EXPECT_EQ(reloadPrices(a, shell), DataError::TooManyDatabases);
    EXPECT_EQ(a.md.set.dateCount, kDates + 5);
    paint();
}

}  // namespace
}  // namespace zepa::test
