// The walk-forward over a whole generated market held in memory: 4,000 stocks in 33 industries
// over 2,500 dates (about ten years), the screen's default filters, a window of 250 dates, 125
// trading dates every 21 dates: 107 periods of 20 pairs, each screened on the one market.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

#include "bench/bench_cases.h"
#include "bench/generated_market.h"
#include "screen/walkforward_run.h"

namespace zepa {
namespace {

constexpr int kStocks = 4000;
constexpr int kDates = 2500;

// Weekdays from 2015-01-05 on, as YYYYMMDD.
std::vector<int32_t> weekdayDates(int n) {
    using namespace std::chrono;
    std::vector<int32_t> out;
    for (sys_days d = year{2015} / January / 5; std::ssize(out) < n; d += days{1}) {
        if (weekday{d} != Saturday && weekday{d} != Sunday) {
            const year_month_day v{d};
            out.push_back(static_cast<int>(v.year()) * 10000 +
                          static_cast<int32_t>(static_cast<unsigned>(v.month())) * 100 +
                          static_cast<int32_t>(static_cast<unsigned>(v.day())));
        }
    }
    return out;
}

// Correlations near 0.75 within an industry, closes in whole yen, every stock trading every
// date, each date's open the close before it.
WalkForwardMarket generatedMarket() {
    GeneratedMarketShape shape;
    shape.stocks = kStocks;
    shape.dates = kDates;
    shape.industryShare = 0.45;
    shape.ownShare = 0.25;
    shape.firstClose = [](int s) { return 500.0 + 3 * s; };
    WalkForwardMarket w;
    ScreenMarket& m = w.market;
    m = zepa::generatedMarket(shape);
    m.dates = weekdayDates(kDates);
    m.window = 250;
    m.endSlot = kDates - 1;
    w.calendar = makeBacktestCalendar(m.dates);
    w.legs.resize(kStocks);
    for (int s = 0; s < kStocks; ++s) {
        double* closes = m.closes.data() + static_cast<size_t>(s) * kDates;
        BacktestLegData& leg = w.legs[static_cast<size_t>(s)];
        leg.open.resize(kDates);
        leg.close.resize(kDates);
        leg.adjustment.assign(kDates, 0);
        leg.adjustedClose.resize(kDates);
        leg.logAdjustedClose.resize(kDates);
        double previous = shape.firstClose(s);
        for (int d = 0; d < kDates; ++d) {
            leg.open[d] = static_cast<int32_t>(std::lround(previous));
            previous = closes[d];
            const auto close = static_cast<int32_t>(std::lround(closes[d]));
            closes[d] = close;
            leg.close[d] = close;
            leg.adjustedClose[d] = close;
            leg.logAdjustedClose[d] = std::log(static_cast<double>(close));
        }
        m.stocks[static_cast<size_t>(s)].storedCloseAtEnd = closes[kDates - 1];
    }
    return w;
}

void walkForward(benchmark::State& state) {
    const WalkForwardMarket market = generatedMarket();
    WalkForwardOptions o;
    o.screen.days = 250;
    o.screen.top = 20;
    applyDefaultFilters(o.screen);
    o.tradeDays = 125;
    o.step = 21;
    WalkForwardResult result;
    resetPeakResident();
    for (auto _ : state) {
        if (runWalkForward(market, o, result) != WalkForwardOutcome::Done) {
            state.SkipWithError("the walk-forward did not run");
            break;
        }
        benchmark::DoNotOptimize(result.periods.data());
    }
    state.counters["periods"] = static_cast<double>(result.periods.size());
    state.counters["pair_periods"] = result.out.stats.pairPeriods;
    state.counters["trades"] = result.out.stats.trades;
    state.counters["peak_MB"] = peakResidentMB();
}

}  // namespace

void registerWalkForwardBenchmarks() {
    benchmark::RegisterBenchmark("WalkForward/Market4000x2500", walkForward)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Iterations(1);
}

}  // namespace zepa
