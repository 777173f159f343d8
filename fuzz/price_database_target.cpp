// The price files as another program wrote them: headers that lie, short files, any bytes.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/scratch_installation.h"
#include "fuzz/targets.h"
#include "marketdata/moving_average.h"
#include "marketdata/price_database.h"
#include "marketdata/split_adjustment.h"
#include "marketdata/weekly_bars.h"

namespace zepa::fuzz {

namespace {

// The series of the key, weekly as well, with an average of a period from the input.
void readSeries(MarketData& md, StockKey key, int period) {
    if (findStock(md, key) != 0) {
        return;
    }
    releaseStockSeries(md);
    if (readStockSeries(md) != kSeriesBuilt) {
        return;
    }
    std::vector<float> work(static_cast<size_t>(md.series.length));
    movingAverage(md.series, period, work);
    // As the split-adjusted display shows it: any adjustments, prices corrected by 100.
    StockSeries shown = displayedSeries(md.series, 100);
    aggregateWeekly(shown);
    movingAverage(shown, period, work);
    aggregateWeekly(md.series);
    movingAverage(md.series, period, work);
}

}  // namespace

int priceDatabaseTarget(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int period = in.pick(30);
    const ScratchInstallation& s = scratchInstallation();
    clearDataFolder(s);
    const std::vector<std::string_view> files = splitFiles(in, 3);
    for (size_t i = 0; i < files.size(); ++i) {
        writeWholeFile(s.paths.dataDirectory + "/DBW.00" + std::to_string(i), files[i]);
    }

    MarketData md;
    md.dataDirectory = s.paths.dataDirectory;
    if (scanPriceDatabases(md) == DataError::None && loadPriceDatabases(md) == DataError::None) {
        std::vector<StockKey> keys = {0, -1, 1, INT32_MAX, INT32_MIN, 100001301};
        // Enough of each file's keys to reach every slot kind, few enough to stay fast.
        for (const PriceDatabase& f : md.set.files) {
            keys.insert(keys.end(), f.keys.begin(),
                        f.keys.begin() + std::min<size_t>(f.keys.size(), 48));
        }
        for (StockKey key : keys) {
            readSeries(md, key, period);
            if (md.dataAborted) {
                break;
            }
        }
    }
    releaseMarketData(md);
    return 0;
}

}  // namespace zepa::fuzz
