// The statistics of known trade lists, worked out by hand.
#include <gtest/gtest.h>

#include <vector>

#include "screen/backtest_stats.h"

namespace zepa {
namespace {

using enum BacktestExit;

// Costs of 10 yen a trade: 4 commission, 5 interest, 1 borrow fee.
BacktestTrade trade(int64_t net, int32_t holding, BacktestExit reason) {
    return {.entrySlot = 10,
            .exitSlot = 10 + holding,
            .gross = net + 10.0,
            .commission = 4.0,
            .interest = 5.0,
            .borrowFee = 1.0,
            .net = net,
            .reason = reason};
}

BacktestStats statsOf(const std::vector<BacktestTrade>& trades) {
    std::vector<int32_t> scratch;
    BacktestStats s;
    computeBacktestStats(trades.data(), trades.size(), scratch, s);
    return s;
}

TEST(BacktestStats, OfAKnownTradeList) {
    const BacktestStats s =
        statsOf({trade(100, 1, Target), trade(-50, 2, Stop), trade(200, 3, Target),
                 trade(-300, 4, Time), trade(50, 10, Target), trade(999, 7, Open)});
    EXPECT_EQ((std::vector{s.trades, s.wins}), (std::vector{5, 3}));
    EXPECT_EQ((std::vector<int64_t>{s.net, s.largestWin, s.largestLoss, s.maxDrawdown}),
              (std::vector<int64_t>{0, 200, -300, 300}));  // 100, 50, 250 peak, -50 trough, 0
    EXPECT_EQ(
        (std::vector{s.winRate, s.gross, s.costs, s.averageNet, s.averageHolding, s.medianHolding}),
        (std::vector{0.6, 50.0, 50.0, 0.0, 4.0, 3.0}));
    EXPECT_TRUE(s.hasProfitFactor);
    EXPECT_DOUBLE_EQ(s.profitFactor, 350.0 / 350.0);
    EXPECT_EQ((std::vector{s.targetExits, s.stopExits, s.timeExits}), (std::vector{3, 1, 1}));
    EXPECT_TRUE(s.hasOpenTrade);
    EXPECT_EQ(s.openNet, 999);
}

TEST(BacktestStats, WithoutALossAndWithAnEvenCount) {
    const BacktestStats s = statsOf(
        {trade(30, 4, Target), trade(0, 1, Time), trade(0, 2, Target), trade(70, 3, Target)});
    EXPECT_EQ(s.wins, 2);  // a net of 0 is no win
    EXPECT_FALSE(s.hasProfitFactor);
    EXPECT_EQ(s.largestLoss, 0);
    EXPECT_DOUBLE_EQ(s.medianHolding, 2.5);
    EXPECT_EQ(s.maxDrawdown, 0);
    EXPECT_EQ(statsOf({trade(-40, 1, Stop), trade(90, 1, Target)}).maxDrawdown, 40);  // from 0
    EXPECT_EQ(statsOf({}).winRate, 0.0);
}

}  // namespace
}  // namespace zepa
