#include "screen/backtest_batch.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

#include "screen/backtest_machine.h"
#include "screen/backtest_z.h"

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

BacktestPair pairAt(const BatchJob& job, size_t k) {
    const BacktestPairIndex index = job.pairs[k];
    return {job.legs[static_cast<size_t>(index.a)], job.legs[static_cast<size_t>(index.b)],
            job.slotCount};
}

// The parts of every z of two pairs in one loop: each z waits on two divisions in a row, and
// two pairs in flight keep the divider busy where one leaves it idle.
void zPartsOfTwo(const BatchJob& job, const BacktestPair& p, const BacktestPair& q, ZParts* pParts,
                 ZParts* qParts) {
    RatioWindow pWindow(job.rule.ratioPeriod);
    RatioWindow qWindow(job.rule.ratioPeriod);
    const ZParts none{0.0, -1.0, 2};
    for (int32_t i = 0; i <= job.range.last; ++i) {
        const bool pHas = pWindow.push(p.a, p.b, i);
        const bool qHas = qWindow.push(q.a, q.b, i);
        pParts[i] = pHas ? pWindow.parts() : none;
        qParts[i] = qHas ? qWindow.parts() : none;
    }
}

// The rule over one pair whose z parts are known (squares < 0: no z), as runBacktest runs it.
void simulateWithParts(const BatchJob& job, const BacktestPair& pair, BacktestWorkspace& ws,
                       BacktestStats& out) {
    ws.trades.clear();
    RuleMachine machine(pair, job.calendar, job.rule, ws.trades);
    for (int32_t i = job.range.first; i <= job.range.last; ++i) {
        const ZParts& z = ws.parts[static_cast<size_t>(i)];
        machine.step(i, z.squares >= 0.0, z);
    }
    machine.finish(job.range.last);
    computeBacktestStats(ws.trades.data(), ws.trades.size(), ws.holdings, out);
}

void work(BatchJob& job, std::array<BacktestWorkspace, 2>& ws) {
    for (size_t from; (from = job.next.fetch_add(kChunk)) < job.pairs.size();) {
        const size_t to = std::min(from + kChunk, job.pairs.size());
        for (size_t k = from; k < to; k += 2) {
            // An odd pair out runs beside itself.
            const size_t other = std::min(k + 1, to - 1);
            const BacktestPair p = pairAt(job, k);
            const BacktestPair q = pairAt(job, other);
            zPartsOfTwo(job, p, q, ws[0].parts.data(), ws[1].parts.data());
            simulateWithParts(job, p, ws[0], job.out[k]);
            if (other != k) {
                simulateWithParts(job, q, ws[1], job.out[other]);
            }
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
    std::vector<std::array<BacktestWorkspace, 2>> spaces;
    try {
        spaces.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    for (auto& pairOfSpaces : spaces) {
        for (BacktestWorkspace& ws : pairOfSpaces) {
            if (prepareBacktestWorkspace(ws, slotCount) != 1) {
                return -1;
            }
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
