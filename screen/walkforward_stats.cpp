#include "screen/walkforward_stats.h"

#include <algorithm>
#include <cmath>

#include "screen/backtest_stats.h"

namespace zepa {
namespace {

// The trades ordered by exit date, the order given kept among those of one date.
void byExitDate(std::span<const BacktestTrade> trades, std::vector<BacktestTrade>& sorted) {
    sorted.assign(trades.begin(), trades.end());
    std::stable_sort(
        sorted.begin(), sorted.end(),
        [](const BacktestTrade& x, const BacktestTrade& y) { return x.exitDate < y.exitDate; });
}

// The cumulative net at each exit date of sorted trades.
std::vector<WalkForwardCurvePoint> curveOf(const std::vector<BacktestTrade>& sorted) {
    std::vector<WalkForwardCurvePoint> curve;
    int64_t net = 0;
    for (const BacktestTrade& t : sorted) {
        if (t.reason == BacktestExit::Open) {
            continue;
        }
        net += t.net;
        if (!curve.empty() && curve.back().date == t.exitDate) {
            curve.back().net = net;
        } else {
            curve.push_back({t.exitDate, net});
        }
    }
    return curve;
}

int64_t drawdownOf(const std::vector<WalkForwardCurvePoint>& curve) {
    int64_t peak = 0;
    int64_t drawdown = 0;
    for (const WalkForwardCurvePoint& p : curve) {
        peak = std::max(peak, p.net);
        drawdown = std::max(drawdown, peak - p.net);
    }
    return drawdown;
}

WalkForwardStats statsOfSorted(const std::vector<BacktestTrade>& sorted, int32_t pairPeriods) {
    // The counts and sums as a pair's backtest counts them.
    BacktestStats b;
    std::vector<int32_t> holdings;
    computeBacktestStats(sorted.data(), sorted.size(), holdings, b);
    WalkForwardStats s = walkForwardStatsOf(b, pairPeriods);
    s.maxDrawdown = drawdownOf(curveOf(sorted));
    return s;
}

}  // namespace

WalkForwardStats walkForwardStatsOf(const BacktestStats& b, int32_t pairPeriods) {
    WalkForwardStats s;
    s.pairPeriods = pairPeriods;
    s.trades = b.trades;
    s.wins = b.wins;
    s.winRate = b.winRate;
    s.net = b.net;
    s.gross = b.gross;
    s.costs = b.costs;
    if (pairPeriods > 0) {
        s.averageNet = static_cast<double>(b.net) / pairPeriods;
    }
    if (b.hasProfitFactor) {
        s.profitFactor = b.profitFactor;
    }
    s.targetExits = b.targetExits;
    s.stopExits = b.stopExits;
    s.timeExits = b.timeExits;
    s.periodEndExits = b.periodEndExits;
    s.maxDrawdown = b.maxDrawdown;
    return s;
}

WalkForwardStats walkForwardStats(std::span<const BacktestTrade> trades, int32_t pairPeriods,
                                  std::vector<BacktestTrade>& scratch) {
    byExitDate(trades, scratch);
    return statsOfSorted(scratch, pairPeriods);
}

WalkForwardSummary summarizeWalkForward(std::span<const BacktestTrade> trades,
                                        std::span<const int64_t> periodNets, int32_t pairPeriods) {
    WalkForwardSummary s;
    std::vector<BacktestTrade> sorted;
    byExitDate(trades, sorted);
    s.stats = statsOfSorted(sorted, pairPeriods);
    s.curve = curveOf(sorted);
    s.periods = static_cast<int32_t>(periodNets.size());
    if (periodNets.empty()) {
        return s;
    }
    const auto n = static_cast<double>(periodNets.size());
    double sum = 0.0;
    int32_t positive = 0;
    for (const int64_t net : periodNets) {
        sum += static_cast<double>(net);
        positive += net > 0 ? 1 : 0;
    }
    s.periodMean = sum / n;
    s.positivePeriods = positive / n;
    if (periodNets.size() >= 2) {
        double squares = 0.0;
        for (const int64_t net : periodNets) {
            const double d = static_cast<double>(net) - s.periodMean;
            squares += d * d;
        }
        s.periodSd = std::sqrt(squares / (n - 1.0));
        if (*s.periodSd > 0.0) {
            s.t = s.periodMean / (*s.periodSd / std::sqrt(n));
        }
    }
    return s;
}

std::optional<double> walkForwardRatio(int64_t outNet, int64_t inNet) {
    if (inNet == 0) {
        return std::nullopt;
    }
    return static_cast<double>(outNet) / static_cast<double>(inNet);
}

}  // namespace zepa
