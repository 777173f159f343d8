#include "screen/screen_universe.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace zepa {
namespace {

bool listed(const std::vector<int32_t>& codes, int32_t code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool passesOptions(const ScreenMarket& m, size_t k, const ScreenOptions& o) {
    const ScreenStock& s = m.stocks[k];
    if ((!o.codes.empty() && !listed(o.codes, s.code)) || listed(o.exclude, s.code)) {
        return false;
    }
    if (!o.minTurnover && !o.minPrice) {
        return true;
    }
    const ScreenStockAtEnd at = stockAtEnd(m, k, o.endRow, o.days);
    return (!o.minTurnover || at.turnover >= *o.minTurnover) &&
           (!o.minPrice || at.storedClose >= *o.minPrice);
}

// Scales a centred column to unit length; false when it is all zeros.
template <class Column>
bool normalise(Column&& c) {
    const double norm = c.norm();
    if (!(norm > 0.0)) {
        return false;
    }
    c /= norm;
    return true;
}

}  // namespace

ScreenStockAtEnd stockAtEnd(const ScreenMarket& market, size_t stock, int32_t endRow,
                            int32_t window) {
    const ScreenStock& s = market.stocks[stock];
    const size_t size = market.closes.size();
    if (market.storedCloses.size() != size || market.tradedValues.size() != size) {
        return {s.turnover, s.storedCloseAtEnd};
    }
    const int32_t end = market.endRowOf(endRow);
    const size_t base = stock * market.dates.size();
    ScreenStockAtEnd at;
    if (end < 0 || end >= market.rows() || window <= 0) {
        return at;
    }
    // Summed from the end backwards, as the load sums them for its end date.
    for (int32_t r = end; r >= std::max(0, end - window + 1); --r) {
        at.turnover += market.tradedValues[base + static_cast<size_t>(r)];
    }
    at.turnover /= window;
    at.storedClose = market.storedCloses[base + static_cast<size_t>(end)];
    return at;
}

bool windowCloses(const ScreenMarket& market, size_t stock, int32_t window,
                  std::vector<double>& closes, int32_t endRow) {
    const int32_t rows = market.endRowOf(endRow) + 1;
    if (window < 2 || window > rows || rows > market.rows()) {
        return false;
    }
    const int32_t first = rows - window;
    const double* all = market.closesOf(stock) + first;
    if (!market.tradedAt(stock, first) || !market.tradedAt(stock, rows - 1)) {
        return false;
    }
    closes.resize(static_cast<size_t>(window));
    int64_t present = 0;
    bool moves = false;
    for (int32_t t = 0; t < window; ++t) {
        const bool has = market.tradedAt(stock, first + t) && std::isfinite(all[t]);
        present += has ? 1 : 0;
        closes[t] = has ? all[t] : closes[t - 1];
        moves = moves || closes[t] != closes[0];
    }
    // At least 98 % of the dates, in integers.
    return moves && present * 100 >= int64_t{window} * 98;
}

bool buildUniverse(const ScreenMarket& market, const ScreenOptions& options, ScreenUniverse& u) {
    const int32_t w = options.days;
    const int32_t s = std::min(options.shortDays, w);
    u = ScreenUniverse{};
    u.window = w;
    try {
        std::vector<double> closes;
        for (size_t k = 0; k < market.stocks.size(); ++k) {
            if (passesOptions(market, k, options) &&
                windowCloses(market, k, w, closes, options.endRow)) {
                u.stocks.push_back(static_cast<int32_t>(k));
            }
        }
        const auto n = static_cast<Eigen::Index>(u.stocks.size());
        u.levels.resize(w, n);
        u.diffs.resize(w - 1, n);
        u.lagged.resize(w - 1, n);
        u.returns.resize(w - 1, n);
        u.shortReturns.resize(s - 1, n);
        u.prices.resize(w, n);
        u.sums.resize(u.stocks.size());
        std::vector<int32_t> kept;
        Eigen::Index out = 0;
        for (Eigen::Index c = 0; c < n; ++c) {
            windowCloses(market, static_cast<size_t>(u.stocks[c]), w, closes, options.endRow);
            const Eigen::Map<const Eigen::VectorXd> p(closes.data(), w);
            const Eigen::VectorXd logs = p.array().log().matrix();
            ColumnSums& sum = u.sums[out];
            const double mean = logs.mean();
            const double lagMean = logs.head(w - 1).mean();
            u.levels.col(out) = logs.array() - mean;
            u.diffs.col(out) = logs.tail(w - 1) - logs.head(w - 1);
            u.lagged.col(out) = logs.head(w - 1).array() - lagMean;
            sum.diffMean = u.diffs.col(out).mean();
            u.returns.col(out) = u.diffs.col(out).array() - sum.diffMean;
            sum.diffSpread = u.returns.col(out).norm();
            // Returns without variance (a constant rate) correlate with nothing.
            if (!normalise(u.returns.col(out))) {
                continue;
            }
            const auto shortDiffs = u.diffs.col(out).tail(s - 1);
            u.shortReturns.col(out) = shortDiffs.array() - shortDiffs.mean();
            sum.shortMoves = normalise(u.shortReturns.col(out));
            u.prices.col(out) = p / p[0];
            sum.priceMean = u.prices.col(out).mean();
            u.prices.col(out).array() -= sum.priceMean;
            sum.levelSquares = u.levels.col(out).squaredNorm();
            sum.laggedSquares = u.lagged.col(out).squaredNorm();
            sum.diffSquares = u.diffs.col(out).squaredNorm();
            sum.diffLagged = u.diffs.col(out).dot(u.lagged.col(out));
            sum.lagShift = lagMean - mean;
            sum.firstLevel = u.levels(0, out);
            sum.lastLevel = u.levels(w - 1, out);
            sum.rise = logs[w - 1] - logs[0];
            sum.priceSquares = u.prices.col(out).squaredNorm();
            kept.push_back(u.stocks[c]);
            ++out;
        }
        u.stocks = std::move(kept);
        u.sums.resize(u.stocks.size());
        u.levels.conservativeResize(Eigen::NoChange, out);
        u.diffs.conservativeResize(Eigen::NoChange, out);
        u.lagged.conservativeResize(Eigen::NoChange, out);
        u.returns.conservativeResize(Eigen::NoChange, out);
        u.shortReturns.conservativeResize(Eigen::NoChange, out);
        u.prices.conservativeResize(Eigen::NoChange, out);
        u.returnsFloat = u.returns.cast<float>();
    } catch (const std::bad_alloc&) {
        u = ScreenUniverse{};
        return false;
    }
    return true;
}

}  // namespace zepa
