// The walk-forward over a whole generated market held in memory: 4,000 stocks in 33 industries
// over 2,500 dates (about ten years), the screen's default filters, a window of 250 dates, 125
// trading dates every 21 dates: 107 periods of 20 pairs, each screened on the one market.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <random>
#include <string>

#include "bench/bench_cases.h"
#include "screen/walkforward_run.h"

namespace zepa {
namespace {

constexpr int kStocks = 4000;
constexpr int kDates = 2500;
constexpr int kSectors = 33;

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

// Returns sharing a market and an industry factor (correlations near 0.75 within an industry),
// closes in whole yen, every stock trading every date.
WalkForwardMarket generatedMarket() {
    WalkForwardMarket w;
    ScreenMarket& m = w.market;
    m.dates = weekdayDates(kDates);
    m.window = 250;
    m.endSlot = kDates - 1;
    w.calendar = makeBacktestCalendar(m.dates);
    std::mt19937_64 random(20261207);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::vector<double> market(kDates);
    std::vector<double> sector(static_cast<size_t>(kDates) * kSectors);
    for (double& f : market) {
        f = normal(random);
    }
    for (double& f : sector) {
        f = normal(random);
    }
    m.closes.resize(static_cast<size_t>(kStocks) * kDates);
    w.legs.resize(kStocks);
    for (int s = 0; s < kStocks; ++s) {
        ScreenStock stock;
        stock.code = 1300 + s;
        stock.marketCode = 1;
        stock.sector33 = std::to_string(s % kSectors);
        double log = std::log(500.0 + 3 * s);
        double* closes = m.closes.data() + static_cast<size_t>(s) * kDates;
        BacktestLegData& leg = w.legs[static_cast<size_t>(s)];
        leg.open.resize(kDates);
        leg.close.resize(kDates);
        leg.adjustment.assign(kDates, 0);
        leg.adjustedClose.resize(kDates);
        leg.logAdjustedClose.resize(kDates);
        for (int d = 0; d < kDates; ++d) {
            const double r =
                std::sqrt(0.3) * market[d] +
                std::sqrt(0.45) *
                    sector[static_cast<size_t>(d) * kSectors + static_cast<size_t>(s % kSectors)] +
                std::sqrt(0.25) * normal(random);
            const auto open = static_cast<int32_t>(std::lround(std::exp(log)));
            log += 0.015 * r;
            const auto close = static_cast<int32_t>(std::lround(std::exp(log)));
            closes[d] = close;
            leg.open[d] = open;
            leg.close[d] = close;
            leg.adjustedClose[d] = close;
            leg.logAdjustedClose[d] = std::log(static_cast<double>(close));
        }
        stock.storedCloseAtEnd = closes[kDates - 1];
        stock.turnover = 1e8;
        m.stocks.push_back(stock);
    }
    return w;
}

double peakResidentMB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0.0;
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
    std::ofstream("/proc/self/clear_refs") << "5";
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
