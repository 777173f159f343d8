// The periods' boundaries and the statistics of hand-made trades, worked out on paper.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "screen/walkforward_periods.h"
#include "screen/walkforward_stats.h"

namespace zepa {
namespace {

// Dates 20240101 + 2k: every other day number, so that a date between two is off the calendar.
std::vector<int32_t> datesOf(int n) {
    std::vector<int32_t> dates;
    for (int k = 0; k < n; ++k) {
        dates.push_back(20240101 + 2 * k);
    }
    return dates;
}

struct Span {
    int32_t end, first, last;
    bool isShort;
    bool operator==(const Span&) const = default;
};

TEST(WalkForwardPeriods, FirstEndStepAndAShortLastPeriod) {
    struct Case {
        const char* what;
        std::array<int32_t, 5> plan;  // dates, window, trading dates, step, from
        WalkForwardPlanning planned;
        std::vector<Span> spans;
    };
    constexpr auto kPlanned = WalkForwardPlanning::Planned;
    constexpr auto kNoPeriod = WalkForwardPlanning::NoPeriod;
    const Case cases[] = {
        {"the W-th date first; the last period cut",
         {20, 5, 6, 6, 0},
         kPlanned,
         {{4, 5, 10, false}, {10, 11, 16, false}, {16, 17, 19, true}}},
        {"a step shorter than the trading: periods overlap",
         {12, 5, 4, 2, 0},
         kPlanned,
         {{4, 5, 8, false}, {6, 7, 10, false}, {8, 9, 11, true}, {10, 11, 11, true}}},
        {"from a date off the calendar: the next date",
         {20, 5, 5, 10, 20240101 + 2 * 7 - 1},
         kPlanned,
         {{7, 8, 12, false}, {17, 18, 19, true}}},
        {"from before the W-th date: the W-th",
         {12, 5, 3, 3, 20240103},
         kPlanned,
         {{4, 5, 7, false}, {7, 8, 10, false}, {10, 11, 11, true}}},
        {"W + 1 dates: one period of one date", {6, 5, 5, 5, 0}, kPlanned, {{4, 5, 5, true}}},
        {"a period ending exactly at the last date is whole",
         {10, 5, 5, 5, 0},
         kPlanned,
         {{4, 5, 9, false}}},
        {"W dates only", {5, 5, 5, 5, 0}, WalkForwardPlanning::TooFewDates, {}},
        {"from the last date", {12, 5, 5, 5, 20240101 + 2 * 11}, kNoPeriod, {}},
        {"from after every date", {12, 5, 5, 5, 20250101}, kNoPeriod, {}},
    };
    for (const Case& c : cases) {
        const auto [n, window, trade, step, from] = c.plan;
        std::vector<WalkForwardPeriod> periods;
        EXPECT_EQ(planWalkForward(datesOf(n), window, trade, step, from, periods), c.planned)
            << c.what;
        std::vector<Span> spans;
        for (const WalkForwardPeriod& p : periods) {
            spans.push_back({p.formationEnd, p.tradeFirst, p.tradeLast, p.isShort});
        }
        EXPECT_EQ(spans, c.spans) << c.what;
    }
}

BacktestTrade trade(int32_t exitDate, int64_t net, BacktestExit reason = BacktestExit::Target) {
    BacktestTrade t;
    t.exitDate = exitDate;
    t.net = net;
    t.gross = static_cast<double>(net) + 10.0;
    t.commission = 4.0;
    t.interest = 5.0;
    t.borrowFee = 1.0;
    t.reason = reason;
    return t;
}

TEST(WalkForwardStats, OneBookOrderedByExitDate) {
    // Two overlapping periods' trades, each period's in its own order: the book interleaves them.
    const std::vector<BacktestTrade> first = {trade(20240110, 300), trade(20240120, -500),
                                              trade(20240131, 200, BacktestExit::PeriodEnd)};
    const std::vector<BacktestTrade> second = {trade(20240115, -400, BacktestExit::Stop),
                                               trade(20240120, 100, BacktestExit::Time),
                                               trade(20240210, 600, BacktestExit::PeriodEnd)};
    std::vector<BacktestTrade> all = first;
    all.insert(all.end(), second.begin(), second.end());
    const std::vector<int64_t> periodNets = {0, 300};
    const WalkForwardSummary s = summarizeWalkForward(all, periodNets, 5);
    EXPECT_EQ((std::vector<int64_t>{s.stats.trades, s.stats.wins, s.stats.net, s.stats.pairPeriods,
                                    s.stats.targetExits, s.stats.stopExits, s.stats.timeExits,
                                    s.stats.periodEndExits}),
              (std::vector<int64_t>{6, 4, 300, 5, 2, 1, 1, 2}));
    EXPECT_DOUBLE_EQ(s.stats.winRate, 4.0 / 6.0);
    EXPECT_DOUBLE_EQ(s.stats.gross, 360.0);
    EXPECT_DOUBLE_EQ(s.stats.costs, 60.0);
    EXPECT_DOUBLE_EQ(*s.stats.averageNet, 300.0 / 5);
    EXPECT_DOUBLE_EQ(*s.stats.profitFactor, 1200.0 / 900.0);
    // Cumulative by exit date: 01-10 300, 01-15 -100, 01-20 -500, 01-31 -300, 02-10 300.
    std::vector<std::pair<int32_t, int64_t>> curve;
    for (const WalkForwardCurvePoint& p : s.curve) {
        curve.emplace_back(p.date, p.net);
    }
    EXPECT_EQ(curve, (std::vector<std::pair<int32_t, int64_t>>{{20240110, 300},
                                                               {20240115, -100},
                                                               {20240120, -500},
                                                               {20240131, -300},
                                                               {20240210, 300}}));
    EXPECT_EQ(s.stats.maxDrawdown, 800);  // from 300 to -500
    // Period nets 0 and 300: mean 150, sd 212.13 (n - 1), t = 150 / (212.13 / sqrt 2) = 1.
    EXPECT_EQ(s.periods, 2);
    EXPECT_DOUBLE_EQ(s.periodMean, 150.0);
    EXPECT_NEAR(*s.periodSd, std::sqrt(2 * 150.0 * 150.0), 1e-9);
    EXPECT_NEAR(*s.t, 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(*s.positivePeriods, 0.5);

    // A period's own figures: its trades alone; the drawdown runs from 0 before the first exit,
    // so a first exit at a loss is a fall (-400, -300, 300: 400).
    std::vector<BacktestTrade> scratch;
    const WalkForwardStats p = walkForwardStats(first, 3, scratch);
    EXPECT_EQ((std::vector<int64_t>{p.trades, p.net, p.maxDrawdown}),
              (std::vector<int64_t>{3, 0, 500}));
    EXPECT_EQ(walkForwardStats(second, 3, scratch).maxDrawdown, 400);
}

TEST(WalkForwardStats, WhatIsMissingStaysMissing) {
    const WalkForwardSummary none = summarizeWalkForward({}, {}, 0);
    EXPECT_FALSE(none.stats.averageNet || none.stats.profitFactor || none.periodSd || none.t ||
                 none.positivePeriods);
    EXPECT_TRUE(none.curve.empty());
    const std::vector<int64_t> one = {250};
    const std::vector<BacktestTrade> won = {trade(20240110, 250)};
    const WalkForwardSummary single = summarizeWalkForward(won, one, 1);
    EXPECT_FALSE(single.periodSd || single.t || single.stats.profitFactor);  // no loss
    const std::vector<int64_t> same = {100, 100, 100};
    EXPECT_FALSE(summarizeWalkForward({}, same, 3).t);  // sd 0
    EXPECT_FALSE(walkForwardRatio(100, 0));
    EXPECT_DOUBLE_EQ(*walkForwardRatio(-50, 200), -0.25);
}

}  // namespace
}  // namespace zepa
