// Arbitrary series in a price file (any prices, volumes, adjustments and dates), positions over
// its stocks, and a session that pages through them, draws every chart and lists both tables.
#include <algorithm>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/scratch_installation.h"
#include "fuzz/session_installation.h"
#include "fuzz/targets.h"
#include "fuzz/viewer_session.h"
#include "marketdata/price_database.h"
#include "settings/memory_value_store.h"

namespace zepa::fuzz {

int viewerSessionTarget(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const ScratchInstallation& s = scratchInstallation();
    clearDataFolder(s);
    writeWholeFile(s.paths.dataDirectory + "/DBW.001", in.until(kFileSeparator));

    // The positions pair the file's first stocks; a file that does not load ends at start-up.
    MarketData md;
    md.dataDirectory = s.paths.dataDirectory;
    std::vector<StockKey> keys;
    if (scanPriceDatabases(md) == DataError::None && loadPriceDatabases(md) == DataError::None &&
        !md.set.files.empty()) {
        const std::vector<StockKey>& listed = md.set.files.front().keys;
        keys.assign(listed.begin(), listed.begin() + std::min<size_t>(listed.size(), 6));
    }
    releaseMarketData(md);
    FuzzInput choices(data, size);
    writeSessionTexts(s, keys, choices);

    MemoryValueStore store;
    // Every lower pane, both spread sources, averages and tomeashi, fixed pitch or stretched.
    const char* sayaModes[] = {"1,1,1,1,1,1,10,1,1,1,5,25", "2,0,0,1,1,0,3,0,0,0,1,1",
                               "3,1,0,1,0,1,500,1,0,1,75,5", "1,0,1,0,1,0,1,0,1,0,200,13"};
    store.set("CHART", "SayaMode", sayaModes[in.pick(4)]);
    if (in.flag()) {
        store.set("CHART", "Mode_1", "0,0,0,0,0,1,0,0,0,0,120,0,1,2,5,10,30,60,90,0");
    }
    runViewerSession(in, store);
    return 0;
}

}  // namespace zepa::fuzz
