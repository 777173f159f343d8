// What the trades of a walk-forward add up to: per period, and over every period in one book
// ordered by exit date, with the spread of the period nets and the realised curve.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "screen/backtest_stats.h"
#include "screen/backtest_trade.h"

namespace zepa {

struct WalkForwardStats {
    int32_t pairPeriods = 0;  // pairs traded, a pair once per period it was chosen in
    int32_t trades = 0;       // every trade is closed: those open at the end by PeriodEnd
    int32_t wins = 0;         // net > 0
    double winRate = 0.0;     // 0 without trades
    int64_t net = 0;
    double gross = 0.0;
    double costs = 0.0;
    std::optional<double> averageNet;    // net per pair-period; none without pair-periods
    std::optional<double> profitFactor;  // winning nets / |losing nets|; none without a loss
    int32_t targetExits = 0;
    int32_t stopExits = 0;
    int32_t timeExits = 0;
    int32_t periodEndExits = 0;
    // Of the realised cumulative net at each exit date (after all of that date's trades), the
    // largest fall from a peak (0 the first), >= 0.
    int64_t maxDrawdown = 0;
};

struct WalkForwardCurvePoint {
    int32_t date = 0;  // YYYYMMDD of an exit
    int64_t net = 0;   // the realised cumulative net after that date's exits
};

struct WalkForwardSummary {
    int32_t periods = 0;
    WalkForwardStats stats;
    double periodMean = 0.0;                // mean of the period nets; 0 without periods
    std::optional<double> periodSd;         // their sample standard deviation, periods >= 2
    std::optional<double> t;                // mean / (sd / sqrt(periods)); none when sd is 0
    std::optional<double> positivePeriods;  // share of the periods with a net > 0
    std::vector<WalkForwardCurvePoint> curve;
};

// A backtest's figures in the walk's terms over `pairPeriods` pair-periods; the drawdown is the
// backtest's own.
WalkForwardStats walkForwardStatsOf(const BacktestStats& b, int32_t pairPeriods);

// The statistics of trades in any order; `scratch` keeps its capacity between calls.
WalkForwardStats walkForwardStats(std::span<const BacktestTrade> trades, int32_t pairPeriods,
                                  std::vector<BacktestTrade>& scratch);

// The summary over every period's trades together, with the period nets in period order.
WalkForwardSummary summarizeWalkForward(std::span<const BacktestTrade> trades,
                                        std::span<const int64_t> periodNets, int32_t pairPeriods);

// Out-of-sample net / in-sample net; none when the in-sample net is 0.
std::optional<double> walkForwardRatio(int64_t outNet, int64_t inNet);

}  // namespace zepa
