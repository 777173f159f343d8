#include "screen/backtest_batch.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace zepa {
namespace {

// Pairs a thread takes at a time: few enough to share the tail out evenly, many enough that
// the shared counter is rarely touched.
constexpr size_t kChunk = 64;

struct BatchJob {
    std::span<const BacktestLeg> legs;
    std::span<const BacktestPairIndex> pairs;
    int32_t slotCount;
    const BacktestCalendar& calendar;
    const BacktestRule& rule;
    BacktestRange range;
    std::span<BacktestStats> out;
    std::atomic<size_t> next{0};
};

void work(BatchJob& job, BacktestWorkspace& ws) {
    for (size_t from; (from = job.next.fetch_add(kChunk)) < job.pairs.size();) {
        const size_t to = std::min(from + kChunk, job.pairs.size());
        for (size_t k = from; k < to; ++k) {
            const BacktestPairIndex index = job.pairs[k];
            const BacktestPair pair{job.legs[static_cast<size_t>(index.a)],
                                    job.legs[static_cast<size_t>(index.b)], job.slotCount};
            runBacktestFused(pair, job.calendar, job.rule, job.range, ws, job.out[k]);
        }
    }
}

}  // namespace

int runBacktestBatch(std::span<const BacktestLeg> legs, std::span<const BacktestPairIndex> pairs,
                     int32_t slotCount, const BacktestCalendar& calendar, const BacktestRule& rule,
                     int threads, std::span<BacktestStats> out) {
    const auto legCount = static_cast<int64_t>(legs.size());
    const bool inside = std::all_of(pairs.begin(), pairs.end(), [&](BacktestPairIndex p) {
        return p.a >= 0 && p.b >= 0 && p.a < legCount && p.b < legCount;
    });
    if (!inside || out.size() < pairs.size() || slotCount < 0 ||
        static_cast<size_t>(slotCount) > calendar.dates.size() ||
        calendar.days.size() != calendar.dates.size()) {
        return 0;
    }
    int count = threads > 0 ? threads : static_cast<int>(std::thread::hardware_concurrency());
    count = std::clamp(count, 1, 256);
    count =
        static_cast<int>(std::min<size_t>(static_cast<size_t>(count), pairs.size() / kChunk + 1));
    std::vector<BacktestWorkspace> spaces;
    try {
        spaces.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    for (BacktestWorkspace& ws : spaces) {
        if (prepareBacktestWorkspace(ws, slotCount) != 1) {
            return -1;
        }
    }
    BatchJob job{legs, pairs, slotCount, calendar, rule, backtestRange(calendar, rule, slotCount),
                 out};
    std::vector<std::thread> helpers;
    try {
        helpers.reserve(static_cast<size_t>(count - 1));
        for (int t = 1; t < count; ++t) {
            helpers.emplace_back(work, std::ref(job), std::ref(spaces[static_cast<size_t>(t)]));
        }
    } catch (const std::system_error&) {
        // Fewer threads than asked: those started and this one share the pairs all the same.
    } catch (const std::bad_alloc&) {
    }
    work(job, spaces[0]);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return 1;
}

}  // namespace zepa
