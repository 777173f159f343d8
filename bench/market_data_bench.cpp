// Reading the price files: start-up's scan and load, the pair series of one position, and the
// bare system calls that reading its blocks cannot go below.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "bench/bench_cases.h"
#include "marketdata/market_code.h"
#include "marketdata/pair_series.h"
#include "marketdata/ratio_statistics.h"
#include "tools/common/installation.h"

namespace zepa {
namespace {

void scanAndLoad(benchmark::State& state, const LargeInstallation& in) {
    const std::string dataDirectory = makeInstallationPaths(in.root).dataDirectory;
    for (auto _ : state) {
        MarketData md;
        md.dataDirectory = dataDirectory;
        if (scanPriceDatabases(md) != DataError::None ||
            loadPriceDatabases(md) != DataError::None) {
            state.SkipWithError("the price files do not load");
            break;
        }
        benchmark::DoNotOptimize(md.set.dateCount);
    }
}

// The viewer's series build: both legs, then the ratio statistics of the default period.
void buildSeries(benchmark::State& state, const LargeInstallation& in, int weeklyBars) {
    Installation installation;
    if (loadInstallation(in.root, installation) != LoadOutcome::Loaded) {
        state.SkipWithError("the installation does not load");
        return;
    }
    // Position 0's legs are listed, with full blocks, in every file.
    const PositionRecord& position = installation.positions.records[0];
    const PairSeriesOptions options{weeklyBars, 5, 5};
    SpreadSeries series;
    for (auto _ : state) {
        // As the viewer builds with its default settings; the ratio statistics, computed only
        // where the ratio chart can be shown, are measured on their own below.
        const PairSeriesResult r =
            buildPairSeries(installation.md, installation.corrections, position, options, series);
        if (r.result != 1) {
            state.SkipWithError("the series does not build");
            break;
        }
        benchmark::DoNotOptimize(series.sellBars.data());
    }
}

// The ratio statistics alone, over the daily series of the same position.
void ratioStatistics(benchmark::State& state, const LargeInstallation& in) {
    Installation installation;
    if (loadInstallation(in.root, installation) != LoadOutcome::Loaded) {
        state.SkipWithError("the installation does not load");
        return;
    }
    SpreadSeries series;
    if (buildPairSeries(installation.md, installation.corrections,
                        installation.positions.records[0], PairSeriesOptions{0, 5, 5}, series)
            .result != 1) {
        state.SkipWithError("the series does not build");
        return;
    }
    RatioStatistics ratio;
    for (auto _ : state) {
        computeRatioStatistics(series, 25, ratio);
        benchmark::DoNotOptimize(ratio.slots.data());
    }
    state.counters["slots"] = static_cast<double>(ratio.slots.size());
}

// One stock block as readStockSeries reads it.
struct BlockRead {
    std::string path;
    off_t nameOffset = 0;
    off_t recordsOffset = 0;
    size_t recordBytes = 0;
};

void rawBlockReads(benchmark::State& state, const LargeInstallation& in) {
    Installation installation;
    if (loadInstallation(in.root, installation) != LoadOutcome::Loaded) {
        state.SkipWithError("the installation does not load");
        return;
    }
    const PositionRecord& position = installation.positions.records[0];
    std::vector<BlockRead> reads;
    for (const PositionLeg* leg : {&position.buy, &position.sell}) {
        findStock(installation.md,
                  marketCodeOf(leg->marketLetter[0]) * kMarketScale + leg->stockCode);
        for (const PriceDatabase& db : installation.md.set.files) {
            if (db.stockSlot == -1) {
                continue;
            }
            reads.push_back(BlockRead{
                db.path, static_cast<off_t>(4 + int64_t{kStockNameSize} * db.stockSlot),
                static_cast<off_t>(db.priceAreaOffset +
                                   int64_t{db.stockSlot} * db.dateSlots * kPriceRecordSize),
                size_t{db.validDates} * kPriceRecordSize});
        }
    }
    std::vector<unsigned char> block(65536 * size_t{kPriceRecordSize});
    char name[kStockNameSize];
    for (auto _ : state) {
        for (const BlockRead& r : reads) {
            const int fd = ::open(r.path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0 || ::pread(fd, name, sizeof name, r.nameOffset) < 0 ||
                ::pread(fd, block.data(), r.recordBytes, r.recordsOffset) < 0) {
                state.SkipWithError("a price file does not read");
            }
            if (fd >= 0) {
                ::close(fd);
            }
        }
        benchmark::DoNotOptimize(block.data());
        benchmark::DoNotOptimize(name);
    }
    state.counters["files"] = static_cast<double>(reads.size());
}

}  // namespace

void registerMarketDataBenchmarks(const LargeInstallation& in) {
    benchmark::RegisterBenchmark("Startup/ScanAndLoad",
                                 [&in](benchmark::State& s) { scanAndLoad(s, in); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Series/BuildDaily",
                                 [&in](benchmark::State& s) { buildSeries(s, in, 0); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Series/BuildWeekly",
                                 [&in](benchmark::State& s) { buildSeries(s, in, 1); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Series/RatioStatistics",
                                 [&in](benchmark::State& s) { ratioStatistics(s, in); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Series/RawBlockReads",
                                 [&in](benchmark::State& s) { rawBlockReads(s, in); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

}  // namespace zepa
