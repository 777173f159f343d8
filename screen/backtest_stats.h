// What a list of simulated trades adds up to. Only closed trades count; an open one is kept
// apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "screen/backtest_trade.h"

namespace zepa {

struct BacktestStats {
    int32_t trades = 0;    // closed
    int32_t wins = 0;      // net > 0
    double winRate = 0.0;  // wins / trades; 0 without trades
    int64_t net = 0;       // sum of the trades' rounded nets
    double gross = 0.0;
    double costs = 0.0;       // commission + interest + borrow fee
    double averageNet = 0.0;  // net / trades
    // Sum of winning nets / |sum of losing nets|; none without a loss.
    double profitFactor = 0.0;
    bool hasProfitFactor = false;
    double averageHolding = 0.0;  // date slots from fill to fill
    double medianHolding = 0.0;   // the mean of the middle two for an even count
    int64_t largestWin = 0;       // 0 without a win
    int64_t largestLoss = 0;      // the most negative net; 0 without a loss
    int64_t maxDrawdown = 0;      // of the cumulative closed net, peak (from 0) to trough, >= 0
    int32_t targetExits = 0;
    int32_t stopExits = 0;
    int32_t timeExits = 0;
    int32_t periodEndExits = 0;
    bool hasOpenTrade = false;  // the last trade is still open
    int64_t openNet = 0;        // its net if closed at the last close
};

// The statistics of `count` trades in order; `scratch` holds the holdings for the median and
// keeps its capacity between calls.
void computeBacktestStats(const BacktestTrade* trades, size_t count, std::vector<int32_t>& scratch,
                          BacktestStats& out);

}  // namespace zepa
