// The rule traded by hand on made-up series whose z is given, so every figure is worked on paper.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "screen/backtest_engine.h"

namespace zepa {
namespace {

constexpr double N = std::numeric_limits<double>::quiet_NaN();

struct Day {
    int32_t date;
    int32_t aOpen, aClose, bOpen, bClose;
    double z;
    int32_t aAdjustment = 0, bAdjustment = 0;
};

struct Outcome {
    std::vector<BacktestTrade> trades;
    BacktestStats stats;
};

Outcome simulate(const std::vector<Day>& days, const BacktestRule& rule) {
    BacktestLegData a;
    BacktestLegData b;
    std::vector<int32_t> dates;
    std::vector<double> z;
    for (const Day& d : days) {
        dates.push_back(d.date);
        z.push_back(d.z);
        for (auto [leg, open, close, adjustment] :
             {std::tuple{&a, d.aOpen, d.aClose, d.aAdjustment},
              std::tuple{&b, d.bOpen, d.bClose, d.bAdjustment}}) {
            leg->open.push_back(open);
            leg->close.push_back(close);
            leg->adjustment.push_back(adjustment);
            leg->adjustedClose.push_back(close);
        }
    }
    const BacktestPair pair{a.view(), b.view(), static_cast<int32_t>(days.size())};
    BacktestWorkspace ws;
    Outcome run;
    EXPECT_EQ(simulateBacktest(pair, z.data(), makeBacktestCalendar(dates), rule, ws, run.stats),
              1);
    run.trades = ws.trades;
    return run;
}

constexpr BacktestFill kClose = BacktestFill::Close;

// Interest or fee on a leg's entry value over the days between the settlements.
double carry(double rate, double value, int days) {
    return rate * value * days / 365.0;
}

TEST(BacktestRule, TargetFillsAtTheNextOpenAndSettlesAcrossTheWeekendAndTheEnd) {
    const Outcome run = simulate({{20240108, 1000, 1000, 2000, 2000, N},
                                  {20240109, 1000, 1000, 2000, 2000, 2.5},  // sell a, buy b
                                  {20240110, 1000, 990, 2000, 2000, 1.0},   // filled here
                                  {20240111, 980, 970, 2000, 2005, -0.1},   // target
                                  {20240112, 950, 960, 2010, 2000, 0.5}},   // filled here
                                 BacktestRule{});
    ASSERT_EQ(run.trades.size(), 1u);
    const BacktestTrade& t = run.trades[0];
    EXPECT_EQ(t.reason, BacktestExit::Target);
    EXPECT_EQ((std::vector{t.entryDate, t.exitDate}), (std::vector{20240110, 20240112}));
    EXPECT_EQ((std::vector{t.aEntry, t.aExit, t.bEntry, t.bExit}),
              (std::vector{1000, 950, 2000, 2010}));
    EXPECT_EQ((std::vector<int64_t>{t.aQuantity, t.bQuantity}), (std::vector<int64_t>{1000, 500}));
    // Settles Fri 01-12 (two dates after Wed) and Tue 01-16 (past the last date, in weekdays,
    // over the weekend): 5 days, both ends counted.
    EXPECT_DOUBLE_EQ(t.gross, 1000.0 * (1000 - 950) + 500.0 * (2010 - 2000));
    EXPECT_DOUBLE_EQ(t.interest, carry(0.028, 500.0 * 2000, 5));
    EXPECT_DOUBLE_EQ(t.borrowFee, carry(0.0115, 1000.0 * 1000, 5));
    EXPECT_EQ(t.net, 54459);  // 55,000 - 383.56 - 157.53
}

TEST(BacktestRule, StopAtTheCloseIsNotFollowedByAnEntryAtThatClose) {
    const Outcome run = simulate({{20240102, 0, 500, 0, 400, N},
                                  {20240103, 0, 500, 0, 400, -2.2},  // buy a, sell b
                                  {20240104, 0, 480, 0, 410, -3.6},  // stop; no entry here
                                  {20240105, 0, 490, 0, 400, -3.0},  // buy a again
                                  {20240108, 0, 500, 0, 395, -2.5}},
                                 {.fill = kClose});
    ASSERT_EQ(run.trades.size(), 2u);
    const BacktestTrade& stop = run.trades[0];
    EXPECT_EQ(stop.reason, BacktestExit::Stop);
    EXPECT_EQ(stop.direction, BacktestDirection::BuyA);
    EXPECT_EQ((std::vector{stop.entryDate, stop.exitDate}), (std::vector{20240103, 20240104}));
    EXPECT_EQ((std::vector<int64_t>{stop.aQuantity, stop.bQuantity}),
              (std::vector<int64_t>{2000, 2500}));
    EXPECT_DOUBLE_EQ(stop.gross, 2000.0 * (480 - 500) + 2500.0 * (400 - 410));
    // Settles Fri 01-05 and Mon 01-08: 4 days.
    EXPECT_DOUBLE_EQ(stop.interest, carry(0.028, 1e6, 4));
    EXPECT_EQ(stop.net, std::llround(-65000 - carry(0.028 + 0.0115, 1e6, 4)));

    // Still open at the end: valued at the last close, settling Tue 01-09 and Wed 01-10.
    const BacktestTrade& open = run.trades[1];
    EXPECT_EQ(open.reason, BacktestExit::Open);
    EXPECT_EQ((std::vector{open.entryDate, open.exitDate}), (std::vector{20240105, 20240108}));
    EXPECT_EQ(open.aQuantity, 2000);  // 1,000,000 / 490 = 2,040.8
    EXPECT_DOUBLE_EQ(open.gross, 2000.0 * (500 - 490) + 2500.0 * (400 - 395));
    EXPECT_DOUBLE_EQ(open.interest, carry(0.028, 2000.0 * 490, 2));
    EXPECT_EQ((std::vector<int64_t>{run.stats.trades, run.stats.net, run.stats.openNet}),
              (std::vector<int64_t>{1, stop.net, open.net}));
}

TEST(BacktestRule, TimeExitComesAfterTargetAndStop) {
    struct Case {
        double zOnMonday;  // 0 and 3.5: exactly at the exit and stop levels, which count
        BacktestExit reason;
    };
    for (const Case c : {Case{1.0, BacktestExit::Time}, Case{0.0, BacktestExit::Target},
                         Case{3.5, BacktestExit::Stop}}) {
        const BacktestRule rule{.maxDays = 4, .fill = kClose};
        const Outcome run = simulate({{20240104, 0, 100, 0, 100, 2.5},
                                      {20240105, 0, 100, 0, 100, 1.0},           // 1 day: held on
                                      {20240108, 0, 100, 0, 100, c.zOnMonday}},  // 4 days: out
                                     rule);
        ASSERT_EQ(run.trades.size(), 1u) << c.zOnMonday;
        EXPECT_EQ(run.trades[0].reason, c.reason) << c.zOnMonday;
        EXPECT_EQ(run.trades[0].exitDate, 20240108) << c.zOnMonday;
    }
}

TEST(BacktestRule, OrdersWaitForBothLegsToTradeAndAnOpenExitMayReenterAtTheClose) {
    const Outcome run = simulate({{20240102, 100, 100, 100, 100, 2.5},    // sell a, waits
                                  {20240103, 101, 100, 0, 0, -2.5},       // b untraded; ignored
                                  {20240104, 102, 100, 103, 100, 2.1},    // filled here
                                  {20240105, 104, 100, 105, 100, -0.2},   // target
                                  {20240108, 106, 100, 107, 100, -2.6},   // out; then buy a
                                  {20240109, 108, 100, 109, 100, -2.0}},  // in; still open
                                 BacktestRule{});
    ASSERT_EQ(run.trades.size(), 2u);
    EXPECT_EQ((std::vector{run.trades[0].entryDate, run.trades[0].exitDate}),
              (std::vector{20240104, 20240108}));
    EXPECT_EQ((std::vector{run.trades[0].aEntry, run.trades[0].bEntry}), (std::vector{102, 103}));
    EXPECT_EQ(run.trades[1].direction, BacktestDirection::BuyA);
    EXPECT_EQ(run.trades[1].entryDate, 20240109);
    EXPECT_EQ(run.trades[1].reason, BacktestExit::Open);

    // A signal on the last date fills nowhere.
    const Outcome late = simulate(
        {{20240102, 100, 100, 100, 100, N}, {20240103, 100, 100, 100, 100, 2.5}}, BacktestRule{});
    EXPECT_TRUE(late.trades.empty());
    EXPECT_FALSE(late.stats.hasOpenTrade);
}

TEST(BacktestRule, SplitsInsideATradeKeepThePositionsValue) {
    const BacktestRule rule{.fill = kClose, .commission = 0.001};
    // b's split on the entry date is in its entry price already.
    const Outcome run = simulate({{20240102, 0, 1000, 0, 500, -2.5, 0, 50},  // buy a, sell b
                                  {20240103, 0, 510, 0, 500, -1.0, 50},      // a splits 1:2
                                  {20240104, 0, 520, 0, 980, 0.1, 0, 200}},  // b merges 2:1; target
                                 rule);
    ASSERT_EQ(run.trades.size(), 1u);
    const BacktestTrade& t = run.trades[0];
    EXPECT_EQ((std::vector<int64_t>{t.aQuantity, t.bQuantity}), (std::vector<int64_t>{1000, 2000}));
    // a: 2,000 shares held, each worth 520; b: 1,000 shares, each worth 980.
    EXPECT_DOUBLE_EQ(t.gross, 1000.0 * (520 / 0.5 - 1000) - 2000.0 * (980 / 2.0 - 500));
    EXPECT_DOUBLE_EQ(t.commission, 0.001 * (1e6 + 1e6 + 2000.0 * 520 + 1000.0 * 980));
    EXPECT_EQ(t.net, std::llround(60000 - 4020 - carry(0.028 + 0.0115, 1e6, 5)));
}

TEST(BacktestRule, QuantitiesRoundDownToTheTradingUnit) {
    struct Case {
        double amount;
        int32_t price;
        int64_t quantity;
    };
    // 2,600 and 6,000 a share buy 3.85 and 1.67 units: down, so that a leg never costs more than
    // the amount unless one unit does.
    for (const Case c : {Case{1e6, 1000, 1000}, Case{1e6, 9999, 100}, Case{1e6, 12000, 100},
                         Case{5e5, 2500, 200}, Case{1e6, 2600, 300}, Case{1e6, 6000, 100}}) {
        const BacktestRule rule{.amount = c.amount, .fill = kClose};
        const Outcome run = simulate({{20240102, 0, c.price, 0, c.price, 2.5}}, rule);
        ASSERT_EQ(run.trades.size(), 1u);
        EXPECT_EQ(run.trades[0].aQuantity, c.quantity) << c.amount << " / " << c.price;
        EXPECT_EQ(run.trades[0].bQuantity, c.quantity) << c.amount << " / " << c.price;
        // The most whole units the amount pays for.
        const int64_t q = run.trades[0].aQuantity;
        EXPECT_TRUE(q == 100 || static_cast<double>(q * c.price) <= c.amount) << c.price;
        EXPECT_GT(static_cast<double>((q + 100) * c.price), c.amount) << c.price;
    }
}

TEST(BacktestRule, SignalsOnlyFromStartAndNothingAfterTheEnd) {
    const BacktestRule rule{.fill = kClose, .startDate = 20240103, .endDate = 20240105};
    const Outcome run = simulate({{20240102, 0, 100, 0, 100, 2.5},  // before the start
                                  {20240103, 0, 100, 0, 100, 1.0},
                                  {20240104, 0, 110, 0, 100, -2.5},  // buy a
                                  {20240105, 0, 120, 0, 100, -1.0},
                                  {20240108, 0, 130, 0, 100, 0.0}},  // past the end
                                 rule);
    ASSERT_EQ(run.trades.size(), 1u);
    EXPECT_EQ(run.trades[0].entryDate, 20240104);
    EXPECT_EQ(run.trades[0].exitDate, 20240105);
    EXPECT_EQ(run.trades[0].reason, BacktestExit::Open);
}

TEST(BacktestRule, ClosingAtTheEndClosesWhatIsOpenAtTheLastCloseWithItsCosts) {
    const std::vector<Day> held = {{20240102, 100, 100, 100, 100, N},
                                   {20240103, 100, 500, 100, 400, -2.5},  // buy a, sell b
                                   {20240104, 500, 480, 400, 410, -1.5},  // filled at the open
                                   {20240105, 490, 490, 405, 400, -1.0}};
    struct Case {
        const char* what;
        BacktestRule rule;
        std::vector<Day> days;
        int32_t entry;  // 0: no trade
        double lastZ;   // the z on the last date
    };
    const BacktestRule atEnd{.commission = 0.001, .closeAtEnd = true};
    const BacktestRule closeFill{.fill = kClose, .commission = 0.001, .closeAtEnd = true};
    const Case cases[] = {
        {"held at the end", atEnd, held, 20240104, -1.0},
        // A target on the last date would fill at the next open, which is not in the period.
        {"exit signal on the last date", atEnd, held, 20240104, 0.5},
        {"entry on the last date with open fills",
         atEnd,
         {held[0], {20240103, 100, 500, 100, 400, -1.0}, {20240104, 500, 480, 400, 410, -2.5}},
         0,
         -2.5},
        // Filled at the last close, closed at that same close: the costs of one day.
        {"entry at the last close",
         closeFill,
         {held[0], {20240103, 100, 500, 100, 400, -2.5}},
         20240103,
         -2.5},
    };
    for (Case c : cases) {
        c.days.back().z = c.lastZ;
        const Outcome run = simulate(c.days, c.rule);
        if (c.entry == 0) {
            EXPECT_TRUE(run.trades.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(run.trades.size(), 1u) << c.what;
        const BacktestTrade& t = run.trades[0];
        const Day& last = c.days.back();
        const Day& in = *std::find_if(c.days.begin(), c.days.end(),
                                      [&](const Day& d) { return d.date == t.entryDate; });
        const int32_t aIn = c.rule.fill == kClose ? in.aClose : in.aOpen;
        const int32_t bIn = c.rule.fill == kClose ? in.bClose : in.bOpen;
        EXPECT_EQ(t.reason, BacktestExit::PeriodEnd) << c.what;
        EXPECT_EQ((std::vector{t.entryDate, t.exitDate, t.aExit, t.bExit}),
                  (std::vector{c.entry, last.date, last.aClose, last.bClose}))
            << c.what;
        const double qa = std::floor(1e6 / (aIn * 100.0)) * 100;
        const double qb = std::floor(1e6 / (bIn * 100.0)) * 100;
        EXPECT_DOUBLE_EQ(t.gross, qa * (last.aClose - aIn) - qb * (last.bClose - bIn)) << c.what;
        EXPECT_DOUBLE_EQ(t.commission,
                         0.001 * (qa * aIn + qb * bIn + qa * last.aClose + qb * last.bClose))
            << c.what;
        // Settlement two dates after each fill, counted on in weekdays past the last date.
        const int days = c.rule.fill == kClose ? 1 : 2;
        EXPECT_DOUBLE_EQ(t.interest, carry(0.028, qa * aIn, days)) << c.what;
        EXPECT_DOUBLE_EQ(t.borrowFee, carry(0.0115, qb * bIn, days)) << c.what;
        // Counted as any closed trade.
        EXPECT_EQ((std::vector<int64_t>{run.stats.trades, run.stats.periodEndExits, run.stats.net,
                                        run.stats.hasOpenTrade}),
                  (std::vector<int64_t>{1, 1, t.net, 0}))
            << c.what;
    }
}

}  // namespace
}  // namespace zepa
