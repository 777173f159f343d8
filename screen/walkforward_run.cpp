#include "screen/walkforward_run.h"

#include <algorithm>
#include <climits>
#include <new>
#include <system_error>
#include <thread>

#include "screen/backtest_batch.h"
#include "screen/backtest_engine.h"
#include "screen/screen_run.h"

namespace zepa {
namespace {

struct Walk {
    const WalkForwardMarket& m;
    const WalkForwardOptions& o;
    std::vector<BacktestLeg> legs;  // views of m.legs
    int32_t slotOffset = 0;         // slot of the market's row 0
    std::vector<WalkForwardPeriod> plan;
    std::vector<WalkForwardPeriodResult>& out;
    std::atomic<size_t> next{0};
};

bool cancelled(const WalkForwardOptions& o) {
    return o.cancel != nullptr && o.cancel->load(std::memory_order_relaxed);
}

// The screen at the period's formation end, as a screen with that end date lists its pairs.
ScreenOutcome choosePairs(const Walk& w, int32_t end, ScreenResult& chosen) {
    ScreenOptions so = w.o.screen;
    so.endRow = end;
    so.threads = 1;
    so.cancel = w.o.cancel;
    so.tilesDone = nullptr;
    so.tileCount = nullptr;
    if (w.o.backtestSort) {
        so.top = INT32_MAX;
        so.sort = ScreenColumn::P;
    }
    const ScreenOutcome screened = runScreen(w.m.market, so, chosen);
    if (screened != ScreenOutcome::Done || !w.o.backtestSort) {
        return screened;
    }
    std::vector<BacktestPairIndex> pairs;
    pairs.reserve(chosen.pairs.size());
    for (const ScreenPair& p : chosen.pairs) {
        pairs.push_back({p.a, p.b});
    }
    std::vector<BacktestStats> stats(pairs.size());
    BacktestRule rule = w.o.rule;
    rule.ratioPeriod = w.o.screen.ratioPeriod;
    if (runScreenBacktest(w.legs, pairs, w.m.calendar, end + w.slotOffset, rule, w.o.backtestYears,
                          1, stats) < 0) {
        return ScreenOutcome::OutOfMemory;
    }
    rankByBacktest(w.m.market, *w.o.backtestSort, chosen, stats,
                   static_cast<size_t>(std::max(w.o.screen.top, 1)));
    return ScreenOutcome::Done;
}

// The pair traded over rows first..last; its trades appended to `trades`.
void tradePair(const Walk& w, const ScreenPair& p, int32_t first, int32_t last,
               BacktestWorkspace& ws, BacktestStats& stats, std::vector<BacktestTrade>& trades) {
    const BacktestRule rule = walkForwardRule(w.o, w.m, first, last);
    const BacktestPair pair{w.legs[static_cast<size_t>(p.a)], w.legs[static_cast<size_t>(p.b)],
                            last + w.slotOffset + 1};
    if (runBacktest(pair, w.m.calendar, rule, ws, stats) == -1) {
        throw std::bad_alloc();
    }
    trades.insert(trades.end(), ws.trades.begin(), ws.trades.end());
}

ScreenOutcome runPeriod(const Walk& w, const WalkForwardPeriod& p, BacktestWorkspace& ws,
                        std::vector<BacktestTrade>& scratch, WalkForwardPeriodResult& r) {
    const std::vector<int32_t>& dates = w.m.market.dates;
    r.period = p;
    r.formationEndDate = dates[static_cast<size_t>(p.formationEnd)];
    r.tradeFirstDate = dates[static_cast<size_t>(p.tradeFirst)];
    r.tradeLastDate = dates[static_cast<size_t>(p.tradeLast)];
    ScreenResult chosen;
    if (const ScreenOutcome s = choosePairs(w, p.formationEnd, chosen); s != ScreenOutcome::Done) {
        return s;
    }
    r.universe = chosen.universe;
    const int32_t windowFirst = p.formationEnd - w.o.screen.days + 1;
    for (const ScreenPair& pair : chosen.pairs) {
        WalkForwardPair& traded = r.pairs.emplace_back();
        traded.a = pair.a;
        traded.b = pair.b;
        tradePair(w, pair, p.tradeFirst, p.tradeLast, ws, traded.out, r.outTrades);
        tradePair(w, pair, windowFirst, p.formationEnd, ws, traded.in, r.inTrades);
    }
    const auto pairPeriods = static_cast<int32_t>(r.pairs.size());
    r.out = walkForwardStats(r.outTrades, pairPeriods, scratch);
    r.in = walkForwardStats(r.inTrades, pairPeriods, scratch);
    return ScreenOutcome::Done;
}

void work(Walk& w, bool& failed) {
    try {
        BacktestWorkspace ws;
        std::vector<BacktestTrade> scratch;
        for (size_t k; (k = w.next.fetch_add(1)) < w.plan.size();) {
            if (cancelled(w.o)) {
                return;
            }
            if (runPeriod(w, w.plan[k], ws, scratch, w.out[k]) == ScreenOutcome::OutOfMemory) {
                failed = true;
                return;
            }
            if (w.o.periodsDone != nullptr) {
                w.o.periodsDone->fetch_add(1, std::memory_order_relaxed);
            }
        }
    } catch (const std::bad_alloc&) {
        failed = true;
    }
}

void summarize(WalkForwardResult& result) {
    std::vector<BacktestTrade> out;
    std::vector<BacktestTrade> in;
    std::vector<int64_t> outNets;
    std::vector<int64_t> inNets;
    int32_t pairPeriods = 0;
    for (const WalkForwardPeriodResult& p : result.periods) {
        out.insert(out.end(), p.outTrades.begin(), p.outTrades.end());
        in.insert(in.end(), p.inTrades.begin(), p.inTrades.end());
        outNets.push_back(p.out.net);
        inNets.push_back(p.in.net);
        pairPeriods += static_cast<int32_t>(p.pairs.size());
    }
    result.out = summarizeWalkForward(out, outNets, pairPeriods);
    result.in = summarizeWalkForward(in, inNets, pairPeriods);
    result.ratio = walkForwardRatio(result.out.stats.net, result.in.stats.net);
}

}  // namespace

ScreenLoad loadWalkForwardMarket(MarketData& md, const CorrectionList& corrections,
                                 const ListingTable& listing,
                                 const WalkForwardMarketRequest& request, WalkForwardMarket& out) {
    out = WalkForwardMarket{};
    ScreenLoadRequest load;
    load.endDate = request.endDate;
    load.days = request.window;
    load.rows = INT32_MAX;  // every date up to the last
    load.marketCode = request.marketCode;
    load.cancel = request.cancel;
    load.stocksDone = request.stocksDone;
    load.stockCount = request.stockCount;
    load.perRowFigures = true;
    load.legs = &out.legs;
    const ScreenLoad loaded = loadScreenMarket(md, corrections, listing, load, out.market);
    if (loaded != ScreenLoad::Loaded) {
        out = WalkForwardMarket{};
        return loaded;
    }
    try {
        out.calendar = installationCalendar(md.set);
    } catch (const std::bad_alloc&) {
        out = WalkForwardMarket{};
        return ScreenLoad::OutOfMemory;
    }
    return ScreenLoad::Loaded;
}

BacktestRule walkForwardRule(const WalkForwardOptions& options, const WalkForwardMarket& market,
                             int32_t first, int32_t last) {
    BacktestRule rule = options.rule;
    rule.ratioPeriod = options.screen.ratioPeriod;
    rule.startDate = market.market.dates[static_cast<size_t>(first)];
    rule.endDate = market.market.dates[static_cast<size_t>(last)];
    rule.closeAtEnd = true;
    return rule;
}

WalkForwardOutcome runWalkForward(const WalkForwardMarket& market,
                                  const WalkForwardOptions& options, WalkForwardResult& result) {
    result = WalkForwardResult{};
    const ScreenMarket& m = market.market;
    try {
        Walk w{market, options, {}, m.endSlot - (m.rows() - 1), {}, result.periods};
        switch (planWalkForward(m.dates, options.screen.days, options.tradeDays, options.step,
                                options.fromDate, w.plan)) {
            case WalkForwardPlanning::Planned:
                break;
            case WalkForwardPlanning::TooFewDates:
                return WalkForwardOutcome::TooFewDates;
            case WalkForwardPlanning::NoPeriod:
                return WalkForwardOutcome::NoPeriod;
        }
        const size_t axis = market.calendar.dates.size();
        if (market.legs.size() != m.stocks.size() || w.slotOffset < 0 ||
            static_cast<size_t>(m.endSlot) >= axis) {
            return WalkForwardOutcome::TooFewDates;
        }
        for (const BacktestLegData& leg : market.legs) {
            if (leg.open.size() < axis || leg.close.size() < axis || leg.adjustment.size() < axis ||
                leg.adjustedClose.size() < axis || leg.logAdjustedClose.size() < axis) {
                return WalkForwardOutcome::TooFewDates;
            }
            w.legs.push_back(leg.view());
        }
        result.periods.resize(w.plan.size());
        if (options.periodCount != nullptr) {
            options.periodCount->store(static_cast<int64_t>(w.plan.size()));
        }
        const int cores = options.threads > 0
                              ? options.threads
                              : static_cast<int>(std::thread::hardware_concurrency());
        const auto count =
            std::min<size_t>(static_cast<size_t>(std::clamp(cores, 1, 64)), w.plan.size());
        std::vector<char> failed(count, 0);
        std::vector<std::thread> helpers;
        try {
            for (size_t t = 1; t < count; ++t) {
                helpers.emplace_back([&w, &failed, t] {
                    bool f = false;
                    work(w, f);
                    failed[t] = f ? 1 : 0;
                });
            }
        } catch (const std::system_error&) {
            // Fewer threads than asked: those started share the periods all the same.
        }
        bool first = false;
        work(w, first);
        for (std::thread& t : helpers) {
            t.join();
        }
        failed[0] = first ? 1 : 0;
        if (std::any_of(failed.begin(), failed.end(), [](char f) { return f != 0; })) {
            result = WalkForwardResult{};
            return WalkForwardOutcome::OutOfMemory;
        }
        if (cancelled(options)) {
            result = WalkForwardResult{};
            return WalkForwardOutcome::Cancelled;
        }
        summarize(result);
    } catch (const std::bad_alloc&) {
        result = WalkForwardResult{};
        return WalkForwardOutcome::OutOfMemory;
    }
    return WalkForwardOutcome::Done;
}

}  // namespace zepa
