// Reading the screen's market from an installation as the viewer reads it: every stock of the
// price files over the dates ending at the end date, corrected and split-adjusted as the ratio
// chart takes its closes.
#pragma once

#include <atomic>

#include <cstdint>

#include "marketdata/correction_list.h"
#include "marketdata/listing_file.h"
#include "marketdata/price_database.h"
#include "screen/backtest_slots.h"
#include "screen/screen_market.h"

namespace zepa {

struct ScreenLoadRequest {
    int32_t endDate = 0;  // YYYYMMDD; the last date on or before it is the end; 0: the newest
    int32_t days = 250;   // the window
    int32_t rows = 250;   // dates to load, at least the window (the ratio period may need more)
    int marketCode = -1;  // -1: every market
    // For screens at many end dates of the one market: the per-row figures (see ScreenMarket)
    // and, when `legs` is set, every loaded stock's backtest leg on the whole date axis, in the
    // market's stock order, from the same read of its prices.
    bool perRowFigures = false;
    std::vector<BacktestLegData>* legs = nullptr;
    // Checked before each stock is read: once set, the load ends with Cancelled.
    const std::atomic<bool>* cancel = nullptr;
    // The stocks looked at so far out of all there are, for a progress bar.
    std::atomic<int64_t>* stocksDone = nullptr;
    std::atomic<int64_t>* stockCount = nullptr;
};

enum class ScreenLoad {
    Loaded,
    EndBeforeFirstDate,  // the installation has no date on or before the end date
    TooFewDates,         // fewer dates up to the end than the window
    DataError,           // md.dataError says which
    OutOfMemory,
    Cancelled,  // the market is left empty
};

// `listing` may be empty. The market's rows are the loaded dates (fewer than request.rows when
// the installation has fewer up to the end, never fewer than the window).
ScreenLoad loadScreenMarket(MarketData& md, const CorrectionList& corrections,
                            const ListingTable& listing, const ScreenLoadRequest& request,
                            ScreenMarket& market);

}  // namespace zepa
