// The pair screen over a whole generated market: 4,000 stocks in 33 industries whose returns
// share a market and an industry factor, with thresholds that let every pair of an industry
// through to the per-pair stage.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "bench/bench_cases.h"
#include "bench/generated_market.h"
#include "marketdata/installation_paths.h"
#include "screen/screen_load.h"
#include "screen/screen_run.h"
#include "tools/dbw_writer.h"

namespace zepa {
namespace {

// Correlations near 0.6 within an industry and 0.3 across.
ScreenMarket generatedMarket(int dates) {
    GeneratedMarketShape shape;
    shape.dates = dates;
    return zepa::generatedMarket(shape);
}

// Loose thresholds let every pair of an industry through to the per-pair stage; `unfiltered`
// screens with no filter at all (--all), every pair through the per-pair stage.
void screenMarket(benchmark::State& state, int dates, bool unfiltered) {
    const ScreenMarket market = generatedMarket(dates);
    ScreenOptions options;
    options.days = dates;
    if (!unfiltered) {
        options.minCorrelation = 0.5;
        options.minShortCorrelation = 0.3;
        options.maxP = 0.5;
        options.minHalfLife = 0.0;
        options.maxHalfLife = 1000.0;
    }
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

// The generated market as one price file of an installation, its closes rounded to yen.
bool writeMarketInstallation(const ScreenMarket& m, const std::string& root) {
    const InstallationPaths paths = makeInstallationPaths(root);
    std::filesystem::create_directories(paths.dataDirectory);
    DbwFile file;
    for (int32_t d = 0; d < m.rows(); ++d) {
        // Consecutive days from 2020-01-01 on; the screen needs only their order.
        file.dates.push_back(
            PackedDate{50, static_cast<uint8_t>(1 + d / 28), static_cast<uint8_t>(1 + d % 28)});
    }
    for (size_t s = 0; s < m.stocks.size(); ++s) {
        DbwStock stock{100000000 + m.stocks[s].code, "STOCK", {}};
        for (int32_t d = 0; d < m.rows(); ++d) {
            const auto close = static_cast<int32_t>(std::lround(m.closesOf(s)[d]));
            stock.records.push_back(DbwRecord{close, close, close, close, 1000, 0});
        }
        file.stocks.push_back(std::move(stock));
    }
    return writePriceDatabase(paths.dataDirectory + "/DBW.2020", file);
}

// Reading the market of 4,000 stocks x 250 dates from its price file, as zepa_screen does
// before it screens.
void loadMarket(benchmark::State& state, const std::string& scratch) {
    const std::string root = scratch + "/screen_market";
    if (!writeMarketInstallation(generatedMarket(250), root)) {
        state.SkipWithError("the installation cannot be written");
        return;
    }
    ScreenLoadRequest request;
    request.days = 250;
    request.rows = 250;
    ScreenMarket market;
    for (auto _ : state) {
        MarketData md;
        md.dataDirectory = makeInstallationPaths(root).dataDirectory;
        if (scanPriceDatabases(md) != DataError::None ||
            loadPriceDatabases(md) != DataError::None ||
            loadScreenMarket(md, CorrectionList{}, ListingTable{}, request, market) !=
                ScreenLoad::Loaded) {
            state.SkipWithError("the market does not load");
            break;
        }
        benchmark::DoNotOptimize(market.closes.data());
    }
    state.counters["stocks"] = static_cast<double>(market.stocks.size());
}

}  // namespace

void registerScreenBenchmarks(const std::string& scratch) {
    benchmark::RegisterBenchmark("Screen/LoadMarket4000x250",
                                 [scratch](benchmark::State& s) { loadMarket(s, scratch); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Iterations(3);
    benchmark::RegisterBenchmark("Screen/Market4000x250",
                                 [](benchmark::State& s) { screenMarket(s, 250, false); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Iterations(3);
    benchmark::RegisterBenchmark("Screen/Market4000x750",
                                 [](benchmark::State& s) { screenMarket(s, 750, false); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Iterations(2);
    benchmark::RegisterBenchmark("Screen/Market4000x250All",
                                 [](benchmark::State& s) { screenMarket(s, 250, true); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Iterations(1);
}

}  // namespace zepa
