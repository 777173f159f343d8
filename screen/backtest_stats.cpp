#include "screen/backtest_stats.h"

#include <algorithm>

namespace zepa {

const char* backtestDirectionName(BacktestDirection direction) {
    return direction == BacktestDirection::SellA ? "sell_a" : "buy_a";
}

const char* backtestExitName(BacktestExit reason) {
    switch (reason) {
        case BacktestExit::Target:
            return "target";
        case BacktestExit::Stop:
            return "stop";
        case BacktestExit::Time:
            return "time";
        case BacktestExit::PeriodEnd:
            return "period_end";
        case BacktestExit::Open:
            break;
    }
    return "open";
}

void computeBacktestStats(const BacktestTrade* trades, size_t count, std::vector<int32_t>& scratch,
                          BacktestStats& out) {
    out = BacktestStats{};
    scratch.clear();
    int64_t winSum = 0;
    int64_t lossSum = 0;
    int64_t peak = 0;
    int64_t holdingSum = 0;
    for (size_t k = 0; k < count; ++k) {
        const BacktestTrade& t = trades[k];
        if (t.reason == BacktestExit::Open) {
            out.hasOpenTrade = true;
            out.openNet = t.net;
            continue;
        }
        ++out.trades;
        out.net += t.net;
        out.gross += t.gross;
        out.costs += t.commission + t.interest + t.borrowFee;
        if (t.net > 0) {
            ++out.wins;
            winSum += t.net;
            out.largestWin = std::max(out.largestWin, t.net);
        } else if (t.net < 0) {
            lossSum += t.net;
            out.largestLoss = std::min(out.largestLoss, t.net);
        }
        peak = std::max(peak, out.net);
        out.maxDrawdown = std::max(out.maxDrawdown, peak - out.net);
        const int32_t holding = t.exitSlot - t.entrySlot;
        holdingSum += holding;
        scratch.push_back(holding);
        out.targetExits += t.reason == BacktestExit::Target;
        out.stopExits += t.reason == BacktestExit::Stop;
        out.timeExits += t.reason == BacktestExit::Time;
        out.periodEndExits += t.reason == BacktestExit::PeriodEnd;
    }
    if (out.trades == 0) {
        return;
    }
    const double n = out.trades;
    out.winRate = out.wins / n;
    out.averageNet = static_cast<double>(out.net) / n;
    out.averageHolding = static_cast<double>(holdingSum) / n;
    if (lossSum < 0) {
        out.profitFactor = static_cast<double>(winSum) / -static_cast<double>(lossSum);
        out.hasProfitFactor = true;
    }
    const size_t half = scratch.size() / 2;
    std::nth_element(scratch.begin(), scratch.begin() + half, scratch.end());
    const double upper = scratch[half];
    if (scratch.size() % 2 == 1) {
        out.medianHolding = upper;
    } else {
        const double lower = *std::max_element(scratch.begin(), scratch.begin() + half);
        out.medianHolding = (lower + upper) / 2.0;
    }
}

}  // namespace zepa
