// Backtest/Pairs100000x750: the ratio rule over 100,000 pairs of a universe of 1,000 stocks and
// 750 dates (three years), on every core, as a screen ranks its pairs: the z of each pair, its
// trades and their statistics. The universe is made in memory once, outside the timing.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <random>
#include <vector>

#include "bench/bench_cases.h"
#include "screen/backtest_batch.h"

namespace zepa {
namespace {

constexpr int kStocks = 1000;
constexpr int32_t kDates = 750;
constexpr int kPairs = 100000;

struct Universe {
    std::vector<BacktestLegData> data;
    std::vector<BacktestLeg> legs;
    std::vector<BacktestPairIndex> pairs;
    BacktestCalendar calendar;
};

// Stocks in twenty sectors, each a sector walk plus its own mean-reverting part, so that pairs
// within a sector trade often; a split here and there; a few dates without trade.
std::unique_ptr<Universe> makeUniverse() {
    auto u = std::make_unique<Universe>();
    std::mt19937_64 random(2026);
    std::normal_distribution<double> step(0.0, 0.012);
    std::vector<int32_t> dates;
    using namespace std::chrono;
    for (sys_days d = 2023y / January / 4; std::ssize(dates) < kDates; d += days{1}) {
        if (weekday{d} != Saturday && weekday{d} != Sunday) {
            const year_month_day v{d};
            dates.push_back(static_cast<int32_t>(v.year()) * 10000 +
                            static_cast<int32_t>(unsigned(v.month())) * 100 +
                            static_cast<int32_t>(unsigned(v.day())));
        }
    }
    u->calendar = makeBacktestCalendar(dates);
    std::vector<std::vector<double>> sectors(20, std::vector<double>(kDates));
    for (auto& sector : sectors) {
        double level = 0;
        for (double& v : sector) {
            v = level += step(random);
        }
    }
    u->data.resize(kStocks);
    for (int s = 0; s < kStocks; ++s) {
        std::vector<DayBar> bars(kDates);
        const double base = 300.0 + 37.0 * (s % 200);
        double own = 0;
        double split = 1.0;
        for (int32_t i = 0; i < kDates; ++i) {
            own = 0.9 * own + step(random);
            if (s % 50 == 7 && i == 400) {
                split = 0.5;
                bars[static_cast<size_t>(i)].adjustment = 50;
            }
            const double price = base * std::exp(sectors[s % 20][static_cast<size_t>(i)] + own);
            const bool traded = (s * 31 + i) % 997 != 0;
            bars[static_cast<size_t>(i)].open =
                traded ? static_cast<int32_t>(price * split * 1.002) + 1 : 0;
            bars[static_cast<size_t>(i)].close =
                traded ? static_cast<int32_t>(price * split) + 1 : 0;
        }
        makeBacktestLeg(bars, 0, u->data[static_cast<size_t>(s)]);
        u->legs.push_back(u->data[static_cast<size_t>(s)].view());
    }
    std::uniform_int_distribution<int32_t> pick(0, kStocks - 1);
    while (std::ssize(u->pairs) < kPairs) {
        const int32_t a = pick(random);
        const int32_t b = pick(random);
        if (a != b) {
            u->pairs.push_back({a, b});
        }
    }
    return u;
}

void pairs100000x750(benchmark::State& state) {
    static const std::unique_ptr<Universe> u = makeUniverse();
    std::vector<BacktestStats> out(u->pairs.size());
    int64_t trades = 0;
    for (auto _ : state) {
        if (runBacktestBatch(u->legs, u->pairs, kDates, u->calendar, BacktestRule{}, 0, out) != 1) {
            state.SkipWithError("the batch failed");
            return;
        }
        benchmark::DoNotOptimize(out.data());
    }
    for (const BacktestStats& s : out) {
        trades += s.trades;
    }
    state.counters["trades"] = static_cast<double>(trades);
    // Per second of wall time, over both cores.
    state.counters["pair_dates"] = benchmark::Counter(
        static_cast<double>(kPairs) * kDates, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

void registerBacktestBenchmarks() {
    benchmark::RegisterBenchmark("Backtest/Pairs100000x750", pairs100000x750)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime();
}

}  // namespace zepa
