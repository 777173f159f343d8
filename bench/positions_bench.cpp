// Positions/Overview1000: 建玉一覧's figures of 1,000 positions over the large installation (4,000
// stock slots a file, 100 files), as the viewer forms them after a load.
#include <benchmark/benchmark.h>

#include "bench/bench_cases.h"
#include "positions/position_overview.h"
#include "tools/common/installation.h"

namespace zepa {
namespace {

constexpr int kOverviewPositions = 1000;

void overview(benchmark::State& state, const LargeInstallation& in) {
    Installation installation;
    if (loadInstallation(in.root, installation) != LoadOutcome::Loaded ||
        installation.positions.positionCount < kOverviewPositions) {
        state.SkipWithError("the installation does not load");
        return;
    }
    installation.positions.positionCount = kOverviewPositions;
    PositionOverview out;
    for (auto _ : state) {
        if (computePositionOverview(installation.md, installation.corrections,
                                    installation.positions, OverviewSettings{},
                                    out) != OverviewResult::Ok ||
            out.totals.counted != kOverviewPositions) {
            state.SkipWithError("the figures do not form");
            break;
        }
        benchmark::DoNotOptimize(out.totals.profit);
    }
}

}  // namespace

void registerPositionsBenchmarks(const LargeInstallation& installation) {
    benchmark::RegisterBenchmark(
        "Positions/Overview1000",
        [&installation](benchmark::State& s) { overview(s, installation); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

}  // namespace zepa
