// The pair screen over a whole generated market: 4,000 stocks in 33 industries whose returns
// share a market and an industry factor, with thresholds that let every pair of an industry
// through to the per-pair stage.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <random>
#include <string>

#include "bench/bench_cases.h"
#include "screen/screen_run.h"

namespace zepa {
namespace {

constexpr int kStocks = 4000;
constexpr int kSectors = 33;

ScreenMarket generatedMarket(int dates) {
    ScreenMarket m;
    std::mt19937_64 random(20261207);
    std::normal_distribution<double> normal(0.0, 1.0);
    for (int d = 0; d < dates; ++d) {
        m.dates.push_back(20200101 + d);
    }
    m.window = dates;
    std::vector<double> market(static_cast<size_t>(dates));
    std::vector<double> sector(static_cast<size_t>(dates) * kSectors);
    for (double& f : market) {
        f = normal(random);
    }
    for (double& f : sector) {
        f = normal(random);
    }
    m.closes.resize(static_cast<size_t>(kStocks) * dates);
    for (int s = 0; s < kStocks; ++s) {
        ScreenStock stock;
        stock.code = 1300 + s;
        stock.marketCode = 1;
        stock.sector33 = std::to_string(s % kSectors);
        stock.turnover = 1e8;
        double log = std::log(1000.0);
        double* closes = m.closes.data() + static_cast<size_t>(s) * dates;
        for (int d = 0; d < dates; ++d) {
            // Variances 0.3 market, 0.3 industry, 0.4 own: correlations near 0.6 within an
            // industry and 0.3 across.
            const double r =
                std::sqrt(0.3) * market[d] +
                std::sqrt(0.3) *
                    sector[static_cast<size_t>(d) * kSectors + static_cast<size_t>(s % kSectors)] +
                std::sqrt(0.4) * normal(random);
            log += 0.015 * r;
            closes[d] = std::exp(log);
        }
        stock.storedCloseAtEnd = closes[dates - 1];
        m.stocks.push_back(stock);
    }
    return m;
}

// The process's peak resident memory in MB, and a way to start measuring it anew (Linux).
double peakResidentMB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0.0;
}

void resetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void screenMarket(benchmark::State& state, int dates) {
    const ScreenMarket market = generatedMarket(dates);
    ScreenOptions options;
    options.days = dates;
    options.minCorrelation = 0.5;
    options.minShortCorrelation = 0.3;
    options.maxP = 0.5;
    options.minHalfLife = 0.0;
    options.maxHalfLife = 1000.0;
    ScreenResult result;
    resetPeakResident();
    const double before = peakResidentMB();
    for (auto _ : state) {
        if (runScreen(market, options, result) != ScreenOutcome::Done) {
            state.SkipWithError("the screen ran out of memory");
            break;
        }
        benchmark::DoNotOptimize(result.pairs.data());
    }
    state.counters["pairs"] = static_cast<double>(result.funnel.at(0).pairs);
    state.counters["per_pair_stage"] = static_cast<double>(result.funnel.at(1).pairs);
    state.counters["listed"] = static_cast<double>(result.pairs.size());
    state.counters["peak_MB"] = peakResidentMB();
    state.counters["screen_MB"] = peakResidentMB() - before;
}

}  // namespace

void registerScreenBenchmarks() {
    benchmark::RegisterBenchmark("Screen/Market4000x250",
                                 [](benchmark::State& s) { screenMarket(s, 250); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Iterations(3);
    benchmark::RegisterBenchmark("Screen/Market4000x750",
                                 [](benchmark::State& s) { screenMarket(s, 750); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Iterations(2);
}

}  // namespace zepa
