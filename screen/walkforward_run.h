// The walk-forward: the screen and the rule tried forward through history. At each formation
// end the screen chooses its pairs on the window ending there, exactly as a screen with that end
// date lists them; the pairs are then traded by the rule over the dates after it, and beside
// that over their own window. The market is read once and every period screened on it.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "marketdata/correction_list.h"
#include "marketdata/listing_file.h"
#include "marketdata/price_database.h"
#include "screen/backtest_calendar.h"
#include "screen/backtest_rule.h"
#include "screen/backtest_slots.h"
#include "screen/backtest_stats.h"
#include "screen/screen_backtest.h"
#include "screen/screen_load.h"
#include "screen/screen_market.h"
#include "screen/screen_options.h"
#include "screen/walkforward_periods.h"
#include "screen/walkforward_stats.h"

namespace zepa {

// Every date of the installation up to the walk's last date, with each stock's backtest leg.
struct WalkForwardMarket {
    ScreenMarket market;                // rows are the date slots from the first to the last
    std::vector<BacktestLegData> legs;  // per market stock, on the whole date axis
    BacktestCalendar calendar;          // the installation's date axis
};

struct WalkForwardMarketRequest {
    int32_t endDate = 0;  // YYYYMMDD; the last date on or before it is the last; 0: the newest
    int32_t window = 250;
    int marketCode = -1;  // -1: every market
    const std::atomic<bool>* cancel = nullptr;
    std::atomic<int64_t>* stocksDone = nullptr;
    std::atomic<int64_t>* stockCount = nullptr;
};

ScreenLoad loadWalkForwardMarket(MarketData& md, const CorrectionList& corrections,
                                 const ListingTable& listing,
                                 const WalkForwardMarketRequest& request, WalkForwardMarket& out);

struct WalkForwardOptions {
    ScreenOptions screen;  // the window W is screen.days; threads and cancel are the walk's
    BacktestRule rule;     // its ratio period is the screen's; its dates are the walk's
    // Ranked by the screen's own backtest of every pair that passed, over backtestYears years
    // up to each formation end, instead of screen.sort.
    std::optional<BacktestColumn> backtestSort;
    int backtestYears = 3;
    int32_t tradeDays = 125;  // H
    int32_t step = 125;       // S
    int32_t fromDate = 0;     // YYYYMMDD, 0: the first date with W dates up to it
    int threads = 0;          // periods at a time; 0: one per core
    // Set, the walk stops after the periods under way and returns Cancelled.
    const std::atomic<bool>* cancel = nullptr;
    std::atomic<int64_t>* periodsDone = nullptr;
    std::atomic<int64_t>* periodCount = nullptr;
};

struct WalkForwardPair {
    int32_t a = 0;  // market stock indices, the ratio a / b as the screen lists it
    int32_t b = 0;
    BacktestStats out;  // over the trading dates
    BacktestStats in;   // over the formation window
};

struct WalkForwardPeriodResult {
    WalkForwardPeriod period;  // rows of the market
    int32_t formationEndDate = 0;
    int32_t tradeFirstDate = 0;
    int32_t tradeLastDate = 0;
    int32_t universe = 0;
    std::vector<WalkForwardPair> pairs;
    std::vector<BacktestTrade> outTrades;  // every pair's, pair after pair
    std::vector<BacktestTrade> inTrades;
    WalkForwardStats out;
    WalkForwardStats in;
};

struct WalkForwardResult {
    std::vector<WalkForwardPeriodResult> periods;
    WalkForwardSummary out;
    WalkForwardSummary in;
    std::optional<double> ratio;  // out.net / in.net
};

enum class WalkForwardOutcome { Done, TooFewDates, NoPeriod, OutOfMemory, Cancelled };

WalkForwardOutcome runWalkForward(const WalkForwardMarket& market,
                                  const WalkForwardOptions& options, WalkForwardResult& result);

// The rule as the walk trades it over rows first..last of the market: signals on those dates,
// a trade still open after the last closed at its close.
BacktestRule walkForwardRule(const WalkForwardOptions& options, const WalkForwardMarket& market,
                             int32_t first, int32_t last);

}  // namespace zepa
