// The statistics of known trade lists, worked out by hand.
#include <gtest/gtest.h>

#include <vector>

#include "screen/backtest_stats.h"

namespace zepa {
namespace {

BacktestTrade trade(int64_t net, int32_t holding, BacktestExit reason) {
    BacktestTrade t;
    t.entrySlot = 10;
    t.exitSlot = 10 + holding;
    t.net = net;
    t.gross = static_cast<double>(net) + 10.0;
    t.commission = 4.0;
    t.interest = 5.0;
    t.borrowFee = 1.0;
    t.reason = reason;
    return t;
}

TEST(BacktestStats, OfAKnownTradeList) {
    using enum BacktestExit;
    const std::vector<BacktestTrade> trades = {trade(100, 1, Target), trade(-50, 2, Stop),
                                               trade(200, 3, Target), trade(-300, 4, Time),
                                               trade(50, 10, Target), trade(999, 7, Open)};
    std::vector<int32_t> scratch;
    BacktestStats s;
    computeBacktestStats(trades.data(), trades.size(), scratch, s);
    EXPECT_EQ(s.trades, 5);
    EXPECT_EQ(s.wins, 3);
    EXPECT_DOUBLE_EQ(s.winRate, 0.6);
    EXPECT_EQ(s.net, 0);
    EXPECT_DOUBLE_EQ(s.gross, 50.0);
    EXPECT_DOUBLE_EQ(s.costs, 50.0);
    EXPECT_DOUBLE_EQ(s.averageNet, 0.0);
    EXPECT_TRUE(s.hasProfitFactor);
    EXPECT_DOUBLE_EQ(s.profitFactor, 350.0 / 350.0);
    EXPECT_DOUBLE_EQ(s.averageHolding, 4.0);
    EXPECT_DOUBLE_EQ(s.medianHolding, 3.0);
    EXPECT_EQ(s.largestWin, 200);
    EXPECT_EQ(s.largestLoss, -300);
    EXPECT_EQ(s.maxDrawdown, 300);  // 100, 50, 250 (peak), -50 (trough), 0
    EXPECT_EQ((std::vector{s.targetExits, s.stopExits, s.timeExits}), (std::vector{3, 1, 1}));
    EXPECT_TRUE(s.hasOpenTrade);
    EXPECT_EQ(s.openNet, 999);
}

TEST(BacktestStats, WithoutALossAndWithAnEvenCount) {
    using enum BacktestExit;
    const std::vector<BacktestTrade> trades = {trade(30, 4, Target), trade(0, 1, Time),
                                               trade(-0, 2, Target), trade(70, 3, Target)};
    std::vector<int32_t> scratch;
    BacktestStats s;
    computeBacktestStats(trades.data(), trades.size(), scratch, s);
    EXPECT_EQ(s.wins, 2);  // a net of 0 is no win
    EXPECT_FALSE(s.hasProfitFactor);
    EXPECT_EQ(s.largestLoss, 0);
    EXPECT_DOUBLE_EQ(s.medianHolding, 2.5);
    EXPECT_EQ(s.maxDrawdown, 0);

    computeBacktestStats(trades.data(), 0, scratch, s);
    EXPECT_EQ(s.trades, 0);
    EXPECT_EQ(s.winRate, 0.0);
    EXPECT_FALSE(s.hasOpenTrade);
}

}  // namespace
}  // namespace zepa
