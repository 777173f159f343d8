#include "screen/screen_run.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <new>
#include <span>
#include <thread>

#include "screen/screen_statistics.h"
#include "screen/screen_universe.h"

namespace zepa {
namespace {

// Columns per tile side: a tile's float block is 256 KB, and the columns a tile reads stay in
// the caches while its pairs are worked through.
constexpr Eigen::Index kTile = 256;
// The single-precision correlation of unit-length columns of at most 1,500 rows is within 1e-4
// of the exact one; pairs within this margin of the threshold are decided in double precision.
constexpr double kFloatMargin = 1e-3;
constexpr double kRounding = kRoundingFraction;

enum Stage { kFormed, kCorrelation, kShort, kP, kHalfLife, kStageCount };
constexpr const char* kStageNames[] = {
    "pairs", "correlation", "correlation_short", "p", "half_life", "q", "z"};

// A pair that passed the filters of the matrix stage, with its columns in listing order.
struct Candidate {
    int32_t x = 0;  // the regressed stock's column
    int32_t y = 0;
    double correlation = 0.0;
    double correlationShort = 0.0;
    double ssd = 0.0;
    double beta = 0.0;
    double adfT = 0.0;
    double p = 0.0;
    double halfLife = 0.0;
    double q = 1.0;
    double z = 0.0;
    double crossings = 0.0;
    bool hasShort = false;
    bool hasT = false;
    bool hasHalfLife = false;
    bool hasZ = false;
};

ScreenPair toPair(const ScreenUniverse& u, const Candidate& k) {
    ScreenPair p;
    p.a = u.stocks[static_cast<size_t>(k.x)];
    p.b = u.stocks[static_cast<size_t>(k.y)];
    p.correlation = k.correlation;
    p.correlationShort = k.hasShort ? std::optional(k.correlationShort) : std::nullopt;
    p.ssd = k.ssd;
    p.beta = k.beta;
    if (k.hasT) {
        p.adfT = k.adfT;
        p.p = k.p;
        p.q = k.q;
    }
    p.halfLife = k.hasHalfLife ? std::optional(k.halfLife) : std::nullopt;
    p.z = k.hasZ ? std::optional(k.z) : std::nullopt;
    p.crossings = k.crossings;
    return p;
}

struct Worker {
    std::vector<Candidate> kept;
    std::vector<double> pValues;  // of every pair that reached the p stage
    int64_t counts[kStageCount] = {};
};

// The products of two columns that the pair's statistics are formed from.
struct PairSums {
    double lagged = 0.0;  // lagged_x . lagged_y
    double diffXLagY = 0.0;
    double diffYLagX = 0.0;
    double diffs = 0.0;
};

struct Regression {
    double beta = 0.0;
    std::optional<double> t;
};

// The Engle-Granger t of x on y from the sums: with e = levels_x - beta levels_y, its lagged
// values are lagged_x - beta lagged_y + k (k the shift of the lag means) and its differences
// diffs_x - beta diffs_y, so every sum of the Dickey-Fuller regression is a combination of the
// column products.
Regression engleGrangerFromSums(double w, const ColumnSums& x, const ColumnSums& y,
                                const PairSums& s) {
    Regression r;
    const double levels = s.lagged + (w - 1) * x.lagShift * y.lagShift + x.lastLevel * y.lastLevel;
    r.beta = levels / y.levelSquares;
    const double b = r.beta;
    const double k = x.lagShift - b * y.lagShift;
    const double lagTerms = x.laggedSquares + b * b * y.laggedSquares + (w - 1) * k * k;
    const double lagSquares = lagTerms - 2 * b * s.lagged;
    const double cross = x.diffLagged - b * s.diffXLagY - b * s.diffYLagX + b * b * y.diffLagged +
                         k * (x.rise - b * y.rise);
    const double diffTerms = x.diffSquares + b * b * y.diffSquares;
    const double diffSquares = diffTerms - 2 * b * s.diffs;
    if (!(lagSquares > kRounding * lagTerms)) {
        return r;
    }
    const double rss = diffSquares - cross * cross / lagSquares;
    if (!(rss > kRounding * diffTerms)) {
        return r;
    }
    r.t = cross / std::sqrt(rss * lagSquares / (w - 2));
    return r;
}

struct Context {
    const ScreenMarket& market;
    const ScreenOptions& o;
    const ScreenUniverse& u;
    std::vector<int32_t> group;  // industry of each column, -1 none
    std::vector<bool> lendable;
    Eigen::Index tiles = 0;
    // Without a q or z filter, and ranked by a column known here, each worker keeps only its
    // best `top`: an unfiltered market then holds no list of millions. q ranks as p does.
    bool bounded = false;
    size_t top = 0;
    ScreenColumn order = ScreenColumn::P;
};

// Code then market: the order of "the smaller code first".
bool codeBefore(const ScreenMarket& m, int32_t a, int32_t b) {
    const ScreenStock& x = m.stocks[static_cast<size_t>(a)];
    const ScreenStock& y = m.stocks[static_cast<size_t>(b)];
    return x.code != y.code ? x.code < y.code : x.marketCode < y.marketCode;
}

bool better(const Context& c, const Candidate& x, const Candidate& y) {
    return ranksBefore(c.market, c.order, toPair(c.u, x), toPair(c.u, y));
}

// Adds a candidate; a bounded list is a heap with the worst kept pair on top.
void keep(const Context& c, Worker& w, const Candidate& k) {
    if (!c.bounded) {
        w.kept.push_back(k);
        return;
    }
    const auto worse = [&c](const Candidate& x, const Candidate& y) { return better(c, x, y); };
    if (w.kept.size() == c.top) {
        if (!better(c, k, w.kept.front())) {
            return;
        }
        std::pop_heap(w.kept.begin(), w.kept.end(), worse);
        w.kept.pop_back();
    }
    w.kept.push_back(k);
    std::push_heap(w.kept.begin(), w.kept.end(), worse);
}

bool formed(const Context& c, Eigen::Index i, Eigen::Index j) {
    return (c.o.sector == 0 || (c.group[i] >= 0 && c.group[i] == c.group[j])) &&
           (!c.o.borrowable || (c.lendable[i] && c.lendable[j]));
}

// The statistics of the matrix stage for columns i < j; false when a filter drops the pair,
// after counting the stages it passed.
bool screenPair(const Context& c, Eigen::Index i, Eigen::Index j, Worker& w) {
    const ScreenUniverse& u = c.u;
    const ScreenOptions& o = c.o;
    Candidate k;
    const double exactCorrelation = u.returns.col(i).dot(u.returns.col(j));
    k.correlation = std::clamp(exactCorrelation, -1.0, 1.0);
    if (o.minCorrelation && k.correlation < *o.minCorrelation) {
        return false;
    }
    ++w.counts[kCorrelation];
    const ColumnSums& si = u.sums[static_cast<size_t>(i)];
    const ColumnSums& sj = u.sums[static_cast<size_t>(j)];
    k.hasShort = si.shortMoves && sj.shortMoves;
    if (k.hasShort) {
        k.correlationShort =
            std::clamp(u.shortReturns.col(i).dot(u.shortReturns.col(j)), -1.0, 1.0);
    }
    if (o.minShortCorrelation && (!k.hasShort || k.correlationShort < *o.minShortCorrelation)) {
        return false;
    }
    ++w.counts[kShort];

    const auto w64 = static_cast<double>(u.window);
    PairSums s;
    s.lagged = u.lagged.col(i).dot(u.lagged.col(j));
    s.diffXLagY = u.diffs.col(i).dot(u.lagged.col(j));
    // Two more sums without a product: the returns' co-moment from their correlation, and the
    // other cross sum from the telescoping of levels_i levels_j over the window,
    // last_i last_j - first_i first_j = sum of (diffs_i lag_j + lag_i diffs_j + diffs_i diffs_j).
    s.diffs =
        exactCorrelation * si.diffSpread * sj.diffSpread + (w64 - 1) * si.diffMean * sj.diffMean;
    s.diffYLagX = si.lastLevel * sj.lastLevel - si.firstLevel * sj.firstLevel - s.diffs -
                  s.diffXLagY - sj.lagShift * si.rise - si.lagShift * sj.rise;
    const Regression ij = engleGrangerFromSums(w64, si, sj, s);
    const Regression ji =
        engleGrangerFromSums(w64, sj, si, PairSums{s.lagged, s.diffYLagX, s.diffXLagY, s.diffs});
    const int32_t ci = static_cast<int32_t>(i);
    const int32_t cj = static_cast<int32_t>(j);
    // The order with the lower t; on a tie (or without either t) the smaller code first.
    bool iFirst = codeBefore(c.market, u.stocks[i], u.stocks[j]);
    if (ij.t && (!ji.t || *ij.t < *ji.t)) {
        iFirst = true;
    } else if (ji.t && (!ij.t || *ji.t < *ij.t)) {
        iFirst = false;
    }
    const Regression& r = iFirst ? ij : ji;
    k.x = iFirst ? ci : cj;
    k.y = iFirst ? cj : ci;
    k.beta = r.beta;
    k.hasT = r.t.has_value();
    if (k.hasT) {
        k.adfT = *r.t;
        k.p = mackinnonP(k.adfT);
        w.pValues.push_back(k.p);
    }
    if (o.maxP && (!k.hasT || k.p > *o.maxP)) {
        return false;
    }
    ++w.counts[kP];

    // Half-life of s = x - y: the lag-centred s is lagged_x - lagged_y.
    const double spreadTerms = si.laggedSquares + sj.laggedSquares;
    const double spreadSquares = spreadTerms - 2 * s.lagged;
    const double spreadCross = si.diffLagged - s.diffXLagY - s.diffYLagX + sj.diffLagged;
    if (spreadSquares > kRounding * spreadTerms && spreadCross < 0.0) {
        k.halfLife = -std::log(2.0) / (spreadCross / spreadSquares);
        k.hasHalfLife = true;
    }
    if ((o.minHalfLife || o.maxHalfLife) &&
        (!k.hasHalfLife || (o.minHalfLife && k.halfLife < *o.minHalfLife) ||
         (o.maxHalfLife && k.halfLife > *o.maxHalfLife))) {
        return false;
    }
    ++w.counts[kHalfLife];

    k.ssd =
        std::max(0.0, si.priceSquares + sj.priceSquares - 2 * u.prices.col(i).dot(u.prices.col(j)) +
                          w64 * (si.priceMean - sj.priceMean) * (si.priceMean - sj.priceMean));
    keep(c, w, k);
    return true;
}

// Tile (ti, tj) with ti <= tj: its pairs i < j.
void screenTile(const Context& c, Eigen::Index ti, Eigen::Index tj, Worker& w,
                Eigen::MatrixXf& block) {
    const Eigen::Index n = static_cast<Eigen::Index>(c.u.stocks.size());
    const Eigen::Index i0 = ti * kTile;
    const Eigen::Index j0 = tj * kTile;
    const Eigen::Index ni = std::min(kTile, n - i0);
    const Eigen::Index nj = std::min(kTile, n - j0);
    const bool prefilter = c.o.minCorrelation.has_value();
    if (prefilter) {
        block.resize(ni, nj);
        block.noalias() =
            c.u.returnsFloat.middleCols(i0, ni).transpose() * c.u.returnsFloat.middleCols(j0, nj);
    }
    const double floor = prefilter ? *c.o.minCorrelation - kFloatMargin : 0.0;
    for (Eigen::Index jj = 0; jj < nj; ++jj) {
        const Eigen::Index j = j0 + jj;
        const Eigen::Index iEnd = ti == tj ? jj : ni;
        for (Eigen::Index ii = 0; ii < iEnd; ++ii) {
            const Eigen::Index i = i0 + ii;
            if (!formed(c, i, j)) {
                continue;
            }
            ++w.counts[kFormed];
            if (prefilter && block(ii, jj) < floor) {
                continue;
            }
            screenPair(c, i, j, w);
        }
    }
}

void runWorker(const Context& c, std::atomic<int64_t>& next, Worker& w, bool& failed) {
    try {
        Eigen::MatrixXf block;
        const int64_t tilePairs = c.tiles * (c.tiles + 1) / 2;
        for (int64_t t; (t = next.fetch_add(1)) < tilePairs;) {
            if (c.o.cancel != nullptr && c.o.cancel->load(std::memory_order_relaxed)) {
                break;
            }
            // Tile pair t of the upper triangle, row by row.
            Eigen::Index ti = 0;
            int64_t rest = t;
            while (rest >= c.tiles - ti) {
                rest -= c.tiles - ti;
                ++ti;
            }
            screenTile(c, ti, ti + rest, w, block);
            if (c.o.tilesDone != nullptr) {
                c.o.tilesDone->fetch_add(1, std::memory_order_relaxed);
            }
        }
        // Sorted here, in parallel; the lists are merged after.
        std::sort(w.pValues.begin(), w.pValues.end());
    } catch (const std::bad_alloc&) {
        failed = true;
    }
}

std::optional<double> sortKey(ScreenColumn column, const ScreenPair& x) {
    switch (column) {
        case ScreenColumn::P:
            return x.p;
        case ScreenColumn::Q:
            return x.q;
        case ScreenColumn::AdfT:
            return x.adfT;
        case ScreenColumn::Ssd:
            return x.ssd;
        case ScreenColumn::HalfLife:
            return x.halfLife;
        case ScreenColumn::Correlation:
            return -x.correlation;
        case ScreenColumn::CorrelationShort:
            return x.correlationShort ? std::optional(-*x.correlationShort) : std::nullopt;
        case ScreenColumn::Crossings:
            return -x.crossings;
        case ScreenColumn::Z:
            return x.z ? std::optional(-std::abs(*x.z)) : std::nullopt;
    }
    return std::nullopt;
}

// -1 when x is better, 1 when y is, 0 when equal: lower first, missing last.
int compareKeys(const std::optional<double>& x, const std::optional<double>& y) {
    if (x.has_value() != y.has_value()) {
        return x ? -1 : 1;
    }
    if (x && *x != *y) {
        return *x < *y ? -1 : 1;
    }
    return 0;
}

// Crossings of s = levels_x - levels_y (both centred, so s's mean is 0) per 250 dates.
double crossingsOf(const ScreenUniverse& u, int32_t x, int32_t y) {
    int32_t count = 0;
    int side = 0;
    for (Eigen::Index t = 0; t < u.levels.rows(); ++t) {
        const double s = u.levels(t, x) - u.levels(t, y);
        const int now = s > 0.0 ? 1 : s < 0.0 ? -1 : 0;
        count += now != 0 && side != 0 && now != side ? 1 : 0;
        side = now != 0 ? now : side;
    }
    return count * 250.0 / static_cast<double>(u.window);
}

}  // namespace

bool ranksBefore(const ScreenMarket& market, ScreenColumn column, const ScreenPair& x,
                 const ScreenPair& y) {
    if (const int by = compareKeys(sortKey(column, x), sortKey(column, y)); by != 0) {
        return by < 0;
    }
    if (const int byP = compareKeys(x.p, y.p); byP != 0) {
        return byP < 0;
    }
    if (x.correlation != y.correlation) {
        return x.correlation > y.correlation;
    }
    if (x.a != y.a) {
        return codeBefore(market, x.a, y.a);
    }
    return codeBefore(market, x.b, y.b);
}

ScreenOutcome runScreen(const ScreenMarket& market, const ScreenOptions& o, ScreenResult& result) {
    result = ScreenResult{};
    try {
        ScreenUniverse u;
        if (!buildUniverse(market, o, u)) {
            return ScreenOutcome::OutOfMemory;
        }
        const auto n = static_cast<Eigen::Index>(u.stocks.size());
        result.universe = static_cast<int32_t>(n);
        Context c{market, o, u, {}, {}, (n + kTile - 1) / kTile};
        c.bounded =
            !o.maxQ && !o.minAbsZ && o.sort != ScreenColumn::Z && o.sort != ScreenColumn::Crossings;
        c.top = static_cast<size_t>(std::max(o.top, 1));
        c.order = o.sort == ScreenColumn::Q ? ScreenColumn::P : o.sort;
        std::map<std::string, int32_t> groups;
        for (int32_t k : u.stocks) {
            const ScreenStock& s = market.stocks[static_cast<size_t>(k)];
            const std::string& sector = o.sector == 17 ? s.sector17 : s.sector33;
            c.group.push_back(
                sector.empty() ? -1 : groups.emplace(sector, int32_t(groups.size())).first->second);
            c.lendable.push_back(s.marginCode == 2);
        }

        const int cores =
            o.threads > 0 ? o.threads : static_cast<int>(std::thread::hardware_concurrency());
        const auto threadCount = static_cast<size_t>(std::clamp(cores, 1, 64));
        std::vector<Worker> workers(threadCount);
        std::atomic<int64_t> next{0};
        if (o.tileCount != nullptr) {
            o.tileCount->store(c.tiles * (c.tiles + 1) / 2);
        }
        std::vector<std::thread> threads;
        bool failed[64] = {};
        for (size_t t = 1; t < threadCount; ++t) {
            threads.emplace_back(runWorker, std::cref(c), std::ref(next), std::ref(workers[t]),
                                 std::ref(failed[t]));
        }
        runWorker(c, next, workers[0], failed[0]);
        for (std::thread& t : threads) {
            t.join();
        }
        if (std::any_of(failed, failed + threadCount, [](bool f) { return f; })) {
            return ScreenOutcome::OutOfMemory;
        }
        if (o.cancel != nullptr && o.cancel->load()) {
            result = ScreenResult{};
            return ScreenOutcome::Cancelled;
        }

        int64_t counts[kStageCount] = {};
        std::vector<Candidate> kept = std::move(workers[0].kept);
        std::vector<double> pValues = std::move(workers[0].pValues);
        for (size_t t = 0; t < threadCount; ++t) {
            for (int s = 0; s < kStageCount; ++s) {
                counts[s] += workers[t].counts[s];
            }
            if (t > 0) {
                kept.insert(kept.end(), workers[t].kept.begin(), workers[t].kept.end());
                const auto middle = static_cast<std::ptrdiff_t>(pValues.size());
                pValues.insert(pValues.end(), workers[t].pValues.begin(), workers[t].pValues.end());
                std::inplace_merge(pValues.begin(), pValues.begin() + middle, pValues.end());
                workers[t] = Worker{};
            }
        }
        for (int s = 0; s < kStageCount; ++s) {
            result.funnel.push_back({kStageNames[s], counts[s]});
        }

        // q over every pair formed: the pairs without a p count as p = 1.
        std::vector<double> qValues = pValues;
        adjustSortedPValues(qValues, static_cast<size_t>(counts[kFormed]));
        const auto qOf = [&](double p) {
            const auto at = std::upper_bound(pValues.begin(), pValues.end(), p);
            return qValues[static_cast<size_t>(at - pValues.begin()) - 1];
        };

        // The rows up to the screen's end date.
        const int32_t rows = market.endRowOf(o.endRow) + 1;
        const int32_t period = o.ratioPeriod;
        // The q and z stages, the survivors compacted in place: an unfiltered market keeps
        // millions of candidates, so no second list of them is made.
        size_t left = 0;
        int64_t afterQ = 0;
        for (Candidate& k : kept) {
            if (k.hasT) {
                k.q = qOf(k.p);
            }
            if (o.maxQ && (!k.hasT || k.q > *o.maxQ)) {
                continue;
            }
            ++afterQ;
            const size_t a = static_cast<size_t>(u.stocks[static_cast<size_t>(k.x)]);
            const size_t b = static_cast<size_t>(u.stocks[static_cast<size_t>(k.y)]);
            const std::optional<double> z =
                rows >= period
                    ? ratioZ({market.closesOf(a) + (rows - period), static_cast<size_t>(period)},
                             {market.closesOf(b) + (rows - period), static_cast<size_t>(period)})
                    : std::nullopt;
            k.hasZ = z.has_value();
            k.z = z.value_or(0.0);
            if (o.minAbsZ && (!k.hasZ || std::abs(k.z) < *o.minAbsZ)) {
                continue;
            }
            if (o.sort == ScreenColumn::Crossings) {
                k.crossings = crossingsOf(u, k.x, k.y);
            }
            kept[left++] = k;
        }
        kept.resize(left);
        // A bounded list passed every pair of the last stage on.
        result.funnel.push_back({kStageNames[5], c.bounded ? counts[kHalfLife] : afterQ});
        result.funnel.push_back(
            {kStageNames[6], c.bounded ? counts[kHalfLife] : static_cast<int64_t>(left)});

        const auto top = std::min(left, static_cast<size_t>(std::max(o.top, 1)));
        std::partial_sort(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(top), kept.end(),
                          [&](const Candidate& x, const Candidate& y) {
                              return ranksBefore(market, o.sort, toPair(u, x), toPair(u, y));
                          });
        std::vector<ScreenPair> pairs;
        for (size_t k = 0; k < top; ++k) {
            if (o.sort != ScreenColumn::Crossings) {
                kept[k].crossings = crossingsOf(u, kept[k].x, kept[k].y);
            }
            pairs.push_back(toPair(u, kept[k]));
        }
        result.pairs = std::move(pairs);
    } catch (const std::bad_alloc&) {
        result = ScreenResult{};
        return ScreenOutcome::OutOfMemory;
    }
    return ScreenOutcome::Done;
}

}  // namespace zepa
