// The screen's backtest of its listed pairs.
#include <gtest/gtest.h>

#include <cmath>

#include "screen/screen_backtest.h"
#include "screen/screen_load.h"
#include "tests/support/temp_installation.h"
#include "tools/backtest/backtest_run.h"

namespace zepa {
namespace {

class ScreenBacktest : public test::Installation {
  protected:
    // 540 weekdays from 2024 in two files. 2002 and 2003 revert around 2001's level; 2003
    // halves by a 1:2 split on date 300; 2004 is corrected; 2002 has no trade on date 450.
    void SetUp() override {
        dates_ = test::weekdays(2024, 1, 1, 540);
        std::vector<DbwStock> first;
        std::vector<DbwStock> second;
        for (int32_t code = 2001; code <= 2004; ++code) {
            std::vector<int32_t> closes;
            double e = 0.0;
            for (int d = 0; d < 540; ++d) {
                const double leader = 1000 + 300 * std::sin(d * 0.02);
                // A noise of hashed phases, reverting at 0.6 a date.
                const double h = std::sin(d * 12.9898 + code * 78.233) * 43758.5453;
                e = 0.6 * e + 0.04 * (h - std::floor(h) - 0.5);
                double close = code == 2001 ? leader : leader * (code % 3 + 1) * std::exp(e);
                close = code == 2003 && d >= 300 ? close / 2 : close;
                closes.push_back(code == 2002 && d == 450 ? 0 : static_cast<int32_t>(close));
            }
            const std::string name = "S" + std::to_string(code);
            first.push_back(
                test::stock(test::tokyo(code), name, {closes.begin(), closes.begin() + 270}));
            second.push_back(
                test::stock(test::tokyo(code), name, {closes.begin() + 270, closes.end()}));
        }
        second[2].records[30].adjustment = 50;
        writeDb("DBW.2024", test::dbw({dates_.begin(), dates_.begin() + 270}, first));
        writeDb("DBW.2025", test::dbw({dates_.begin() + 270, dates_.end()}, second));
        writeText(paths.correctionFile, "2004\n");
        load();
        loadCorrectionList(paths.correctionFile, corrections_);
    }

    CorrectionList corrections_;
    std::vector<PackedDate> dates_;
};

TEST_F(ScreenBacktest, EveryPairsStatisticsAreZepaBacktests) {
    // An end 40 dates before the newest, so that later dates must not count.
    ScreenLoadRequest request;
    request.endDate = dateValue(dates_[499]);
    request.days = 120;
    request.rows = 120;
    ScreenMarket market;
    ASSERT_EQ(loadScreenMarket(md_, corrections_, ListingTable{}, request, market),
              ScreenLoad::Loaded);
    ScreenOptions options;
    options.days = 120;
    options.shortDays = 60;
    ScreenResult result;
    ASSERT_EQ(runScreen(market, options, result), ScreenOutcome::Done);
    ASSERT_EQ(result.pairs.size(), 6u);

    BacktestRule rule;
    rule.ratioPeriod = 20;
    rule.commission = 0.001;
    std::vector<BacktestStats> stats;
    ASSERT_EQ(backtestScreenPairs(md_, corrections_, market, result, rule, 1, stats), 1);
    ASSERT_EQ(stats.size(), 6u);
    int traded = 0;
    for (size_t k = 0; k < 6; ++k) {
        const ScreenStock& a = market.stocks[static_cast<size_t>(result.pairs[k].a)];
        const ScreenStock& b = market.stocks[static_cast<size_t>(result.pairs[k].b)];
        BacktestOptions one;
        one.root = root.string();
        one.rule = rule;
        one.rule.startDate = backtestStartOf(request.endDate, 1);
        one.rule.endDate = request.endDate;
        ASSERT_TRUE(parseBacktestCode("T" + std::to_string(a.code), one.a));
        ASSERT_TRUE(parseBacktestCode("T" + std::to_string(b.code), one.b));
        const BacktestRunResult expected = runBacktestCommand(one);
        ASSERT_EQ(expected.exitCode, 0) << expected.problem;
        const BacktestStats& got = stats[k];
        const BacktestStats& want = expected.stats;
        const std::string pair = std::to_string(a.code) + "/" + std::to_string(b.code);
        EXPECT_EQ(std::tuple(got.trades, got.wins, got.net, got.maxDrawdown, got.largestLoss,
                             got.hasOpenTrade, got.openNet, got.averageHolding),
                  std::tuple(want.trades, want.wins, want.net, want.maxDrawdown, want.largestLoss,
                             want.hasOpenTrade, want.openNet, want.averageHolding))
            << pair;
        EXPECT_NEAR(got.costs, want.costs, 1e-6) << pair;
        traded += got.trades > 0 ? 1 : 0;
    }
    EXPECT_EQ(traded, 6);
}

TEST(ScreenBacktestStart, SameMonthAndDayYearsBefore) {
    const struct {
        int32_t end;
        int years;
        int32_t start;
    } table[] = {
        {20261204, 3, 20231204},   {20240229, 1, 20230228}, {20240229, 4, 20200229},
        {20000229, 100, 19500228}, {20250101, 0, 20240101},
    };
    for (const auto& row : table) {
        EXPECT_EQ(backtestStartOf(row.end, row.years), row.start) << row.end << " " << row.years;
    }
}

BacktestStats statsOf(int32_t trades, int64_t net, int64_t drawdown, double holding,
                      bool noLoss = false) {
    BacktestStats s;
    s.trades = trades;
    s.wins = trades;
    s.net = net;
    s.maxDrawdown = drawdown;
    s.averageHolding = holding;
    s.hasProfitFactor = !noLoss;
    s.profitFactor = static_cast<double>(net) / 1000.0;
    return s;
}

TEST(ScreenBacktestRanking, BetterFirstAndPairsWithoutTradesLast) {
    ScreenMarket market;
    for (int32_t code = 1001; code <= 1005; ++code) {
        market.stocks.push_back(ScreenStock{code, 1, "", "", "", 0, 0.0, 0.0});
    }
    ScreenResult result;
    // Pair k is stocks k and 4; p rises with k, so that ties keep that order.
    const std::vector<BacktestStats> stats{statsOf(5, 300, 90, 9.0), statsOf(0, 0, 0, 0.0),
                                           statsOf(3, 800, 400, 4.0, true),
                                           statsOf(8, 300, 20, 12.0)};
    for (int32_t k = 0; k < 4; ++k) {
        ScreenPair p;
        p.a = k;
        p.b = 4;
        p.p = 0.01 * (k + 1);
        result.pairs.push_back(p);
    }
    const struct {
        BacktestColumn column;
        std::vector<int32_t> order;  // the pairs' a
    } table[] = {
        {BacktestColumn::Net, {2, 0, 3, 1}},
        {BacktestColumn::Trades, {3, 0, 2, 1}},
        {BacktestColumn::MaxDrawdown, {3, 0, 2, 1}},
        {BacktestColumn::AverageHolding, {2, 0, 3, 1}},
        {BacktestColumn::ProfitFactor, {2, 0, 3, 1}},
    };
    for (const auto& row : table) {
        ScreenResult ranked = result;
        std::vector<BacktestStats> s = stats;
        rankByBacktest(market, row.column, ranked, s, 10);
        std::vector<int32_t> order;
        for (size_t k = 0; k < ranked.pairs.size(); ++k) {
            order.push_back(ranked.pairs[k].a);
            EXPECT_EQ(s[k].net, stats[static_cast<size_t>(ranked.pairs[k].a)].net);
        }
        EXPECT_EQ(order, row.order) << backtestColumnName(row.column);
    }
    std::vector<BacktestStats> s = stats;
    rankByBacktest(market, BacktestColumn::Net, result, s, 2);
    EXPECT_EQ(std::pair(result.pairs.size(), s.size()), std::pair(size_t{2}, size_t{2}));
}

}  // namespace
}  // namespace zepa
