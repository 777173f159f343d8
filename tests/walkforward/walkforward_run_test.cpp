// The walk-forward on a written installation, against the screen and the backtest alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "marketdata/market_code.h"
#include "screen/backtest_engine.h"
#include "screen/screen_backtest.h"
#include "screen/walkforward_run.h"
#include "tests/walkforward/walkforward_market.h"

namespace zepa {
namespace {

struct Loaded {
    test::TempInstallation at;
    MarketData md;
    CorrectionList corrections;
    WalkForwardMarket market;

    explicit Loaded(const test::MarketChange& change = {}) {
        test::writeWalkMarket(at, change);
        md.dataDirectory = at.paths.dataDirectory;
        EXPECT_EQ(scanPriceDatabases(md), DataError::None);
        EXPECT_EQ(loadPriceDatabases(md), DataError::None);
        WalkForwardMarketRequest request;
        request.window = 60;
        EXPECT_EQ(loadWalkForwardMarket(md, corrections, ListingTable{}, request, market),
                  ScreenLoad::Loaded);
    }

    WalkForwardResult run(const WalkForwardOptions& o) const {
        WalkForwardResult r;
        EXPECT_EQ(runWalkForward(market, o, r), WalkForwardOutcome::Done);
        return r;
    }
};

WalkForwardOptions options() {
    WalkForwardOptions o;
    o.screen.days = 60;
    o.screen.shortDays = 20;
    o.screen.minCorrelation = 0.0;
    o.screen.top = 4;
    o.tradeDays = 25;
    o.step = 40;
    o.rule.entry = 1.5;
    o.rule.commission = 0.0005;
    return o;
}

using Codes = std::vector<std::pair<int32_t, int32_t>>;

// The codes of each pair listed (a screen's) or chosen (a period's).
template <class Pairs>
Codes codesOf(const ScreenMarket& m, const Pairs& pairs) {
    Codes codes;
    for (const auto& p : pairs) {
        codes.emplace_back(m.stocks[static_cast<size_t>(p.a)].code,
                           m.stocks[static_cast<size_t>(p.b)].code);
    }
    return codes;
}

// The screen loaded for one end date and run as zepa_screen runs it, ranked by its backtest
// when asked.
Codes screenAt(Loaded& l, const WalkForwardOptions& o, int32_t endDate, int32_t& universe) {
    ScreenLoadRequest request;
    request.endDate = endDate;
    request.days = o.screen.days;
    request.rows = std::max(o.screen.days, o.screen.ratioPeriod);
    ScreenMarket m;
    EXPECT_EQ(loadScreenMarket(l.md, l.corrections, ListingTable{}, request, m),
              ScreenLoad::Loaded);
    ScreenOptions so = o.screen;
    if (o.backtestSort) {
        so.top = INT32_MAX;
    }
    ScreenResult r;
    EXPECT_EQ(runScreen(m, so, r), ScreenOutcome::Done);
    if (o.backtestSort) {
        std::vector<BacktestStats> stats;
        BacktestRule rule = o.rule;
        rule.ratioPeriod = o.screen.ratioPeriod;
        EXPECT_EQ(backtestScreenPairs(l.md, l.corrections, m, r, rule, o.backtestYears, stats), 1);
        rankByBacktest(m, *o.backtestSort, r, stats, static_cast<size_t>(o.screen.top));
    }
    universe = r.universe;
    return codesOf(m, r.pairs);
}

TEST(WalkForwardRun, EachPeriodChoosesWhatTheScreenListsAtItsFormationEnd) {
    Loaded l;
    struct Case {
        const char* what;
        void (*set)(WalkForwardOptions&);
    };
    const Case cases[] = {
        {"by p", [](WalkForwardOptions&) {}},
        {"turnover and price at each end",
         [](WalkForwardOptions& o) {
             o.screen.minTurnover = 1.2e6;
             o.screen.minPrice = 700;
         }},
        {"by the screen's backtest",
         [](WalkForwardOptions& o) {
             o.backtestSort = BacktestColumn::Net;
             o.backtestYears = 1;
         }},
        {"filtered by z, ranked by crossings",
         [](WalkForwardOptions& o) {
             o.screen.minAbsZ = 0.5;
             o.screen.sort = ScreenColumn::Crossings;
         }},
    };
    for (const Case& c : cases) {
        WalkForwardOptions o = options();
        c.set(o);
        const WalkForwardResult r = l.run(o);
        ASSERT_EQ(r.periods.size(), 7u) << c.what;  // e = 59, 99, ..., 299 before 329
        bool someChosen = false;
        for (const WalkForwardPeriodResult& p : r.periods) {
            int32_t universe = 0;
            EXPECT_EQ(codesOf(l.market.market, p.pairs),
                      screenAt(l, o, p.formationEndDate, universe))
                << c.what << " at " << p.formationEndDate;
            EXPECT_EQ(p.universe, universe) << c.what << " at " << p.formationEndDate;
            someChosen = someChosen || !p.pairs.empty();
        }
        EXPECT_TRUE(someChosen) << c.what;
    }
}

TEST(WalkForwardRun, InSampleAndOutOfSampleAreTheBacktestOverTheirDatesClosedAtTheEnd) {
    Loaded l;
    const WalkForwardOptions o = options();
    const WalkForwardResult r = l.run(o);
    const BacktestCalendar calendar = installationCalendar(l.md.set);
    const auto dateCount = static_cast<int32_t>(calendar.dates.size());
    // Each leg read again from the installation as the ratio chart reads it.
    const auto legOf = [&](int32_t stock) {
        const ScreenStock& s = l.market.market.stocks[static_cast<size_t>(stock)];
        EXPECT_EQ(findStock(l.md, s.marketCode * kMarketScale + s.code), 0);
        EXPECT_EQ(readStockSeries(l.md), kSeriesBuilt);
        BacktestLegData leg;
        EXPECT_EQ(makeBacktestLegFromSeries(l.md.series, 1, dateCount, leg), 1);
        return leg;
    };
    int checked = 0;
    int64_t outNet = 0;
    for (const WalkForwardPeriodResult& p : r.periods) {
        const int32_t e = p.period.formationEnd;
        for (const WalkForwardPair& pair : p.pairs) {
            const BacktestLegData a = legOf(pair.a);
            const BacktestLegData b = legOf(pair.b);
            const BacktestPair traded{a.view(), b.view(), dateCount};
            struct Side {
                int32_t first;
                int32_t last;
                const BacktestStats& stats;
            };
            for (const Side side : {Side{e - 59, e, pair.in},
                                    Side{p.period.tradeFirst, p.period.tradeLast, pair.out}}) {
                BacktestRule rule = o.rule;
                rule.startDate = calendar.dates[static_cast<size_t>(side.first)];
                rule.endDate = calendar.dates[static_cast<size_t>(side.last)];
                rule.closeAtEnd = true;
                BacktestWorkspace ws;
                BacktestStats direct;
                ASSERT_EQ(runBacktest(traded, calendar, rule, ws, direct), 1);
                EXPECT_EQ((std::vector<int64_t>{side.stats.trades, side.stats.net,
                                                side.stats.periodEndExits}),
                          (std::vector<int64_t>{direct.trades, direct.net, direct.periodEndExits}))
                    << p.formationEndDate << " " << side.first;
                EXPECT_DOUBLE_EQ(side.stats.costs, direct.costs);
                EXPECT_FALSE(side.stats.hasOpenTrade);
                for (const BacktestTrade& t : ws.trades) {
                    EXPECT_GE(t.entryDate, rule.startDate);
                    EXPECT_LE(t.exitDate, rule.endDate);
                }
                ++checked;
            }
            outNet += pair.out.net;
        }
    }
    EXPECT_GT(checked, 10);
    EXPECT_EQ(r.out.stats.net, outNet);
    EXPECT_EQ(r.out.stats.pairPeriods * 2, checked);
    EXPECT_GT(r.in.stats.trades, 0);
    EXPECT_GT(r.out.stats.periodEndExits + r.in.stats.periodEndExits, 0);
}

TEST(WalkForwardRun, NothingAfterAFormationEndReachesItsChoiceOrItsInSampleFigures) {
    Loaded base;
    const WalkForwardOptions o = options();
    const WalkForwardResult r = base.run(o);
    ASSERT_GE(r.periods.size(), 4u);
    const WalkForwardPeriodResult& k = r.periods[3];
    ASSERT_FALSE(k.pairs.empty());
    const auto inFigures = [](const WalkForwardPeriodResult& p) {
        std::vector<int64_t> v{p.universe, p.in.trades, p.in.net, p.in.maxDrawdown};
        for (const WalkForwardPair& pair : p.pairs) {
            v.insert(v.end(), {pair.a, pair.b, pair.in.trades, pair.in.net});
        }
        return v;
    };

    // Every close after the formation end moved: period k chooses and promises the same.
    const Loaded later({.from = k.period.formationEnd + 1});
    const WalkForwardResult moved = later.run(o);
    ASSERT_EQ(moved.periods.size(), r.periods.size());
    for (size_t i = 0; i <= 3; ++i) {
        EXPECT_EQ(inFigures(moved.periods[i]), inFigures(r.periods[i])) << i;
    }
    EXPECT_NE(moved.periods[3].out.net, k.out.net);

    // One close of a chosen stock inside the window moved: the choice or its figures move.
    const int32_t code = base.market.market.stocks[static_cast<size_t>(k.pairs[0].a)].code;
    const Loaded inside({.oneDate = k.period.formationEnd - 10, .oneCode = code});
    EXPECT_NE(inFigures(inside.run(o).periods[3]), inFigures(k));
}

TEST(WalkForwardRun, SummaryJoinsThePeriodsAndTheCoresChangeNothing) {
    Loaded l;
    WalkForwardOptions o = options();
    o.step = 15;  // periods overlap
    std::atomic<int64_t> done{0};
    std::atomic<int64_t> count{0};
    o.periodsDone = &done;
    o.periodCount = &count;
    o.threads = 3;
    const WalkForwardResult r = l.run(o);
    EXPECT_EQ(count.load(), static_cast<int64_t>(r.periods.size()));
    EXPECT_EQ(done.load(), count.load());
    o.threads = 1;
    const WalkForwardResult one = l.run(o);
    ASSERT_EQ(one.periods.size(), r.periods.size());
    int64_t net = 0;
    int32_t trades = 0;
    for (size_t i = 0; i < r.periods.size(); ++i) {
        EXPECT_EQ(codesOf(l.market.market, one.periods[i].pairs),
                  codesOf(l.market.market, r.periods[i].pairs));
        EXPECT_EQ(one.periods[i].out.net, r.periods[i].out.net);
        net += r.periods[i].out.net;
        trades += r.periods[i].out.trades;
    }
    EXPECT_EQ(r.out.stats.net, net);
    EXPECT_EQ(r.out.stats.trades, trades);
    EXPECT_EQ(r.out.periods, static_cast<int32_t>(r.periods.size()));
    ASSERT_FALSE(r.out.curve.empty());
    EXPECT_EQ(r.out.curve.back().net, net);
    EXPECT_TRUE(std::is_sorted(r.out.curve.begin(), r.out.curve.end(),
                               [](auto& x, auto& y) { return x.date < y.date; }));
    if (r.in.stats.net != 0) {
        EXPECT_DOUBLE_EQ(*r.ratio, static_cast<double>(net) / r.in.stats.net);
    }
    const WalkForwardPeriodResult& last = r.periods.back();
    EXPECT_TRUE(last.period.isShort);
    EXPECT_EQ(last.tradeLastDate, l.market.market.dates.back());
}

TEST(WalkForwardRun, CancelledBeforeOrTooFewDates) {
    Loaded l;
    WalkForwardOptions o = options();
    const std::atomic<bool> cancel{true};
    o.cancel = &cancel;
    WalkForwardResult r;
    EXPECT_EQ(runWalkForward(l.market, o, r), WalkForwardOutcome::Cancelled);
    EXPECT_TRUE(r.periods.empty());
    o.cancel = nullptr;
    o.screen.days = test::kMarketDates;
    EXPECT_EQ(runWalkForward(l.market, o, r), WalkForwardOutcome::TooFewDates);
    o.screen.days = 60;
    o.fromDate = l.market.market.dates.back();
    EXPECT_EQ(runWalkForward(l.market, o, r), WalkForwardOutcome::NoPeriod);
    // A leg shorter than the date axis is refused, not read past its end.
    o.fromDate = 0;
    WalkForwardMarket shortLeg = l.market;
    shortLeg.legs[1].logAdjustedClose.pop_back();
    EXPECT_EQ(runWalkForward(shortLeg, o, r), WalkForwardOutcome::TooFewDates);
}

}  // namespace
}  // namespace zepa
