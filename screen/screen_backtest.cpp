#include "screen/screen_backtest.h"

#include <algorithm>
#include <array>
#include <limits>
#include <new>
#include <utility>

#include "marketdata/market_code.h"
#include "screen/backtest_batch.h"
#include "screen/backtest_calendar.h"
#include "screen/backtest_slots.h"

namespace zepa {
namespace {

constexpr std::array<std::pair<BacktestColumn, std::string_view>, 16> kNames{{
    {BacktestColumn::Trades, "trades"},
    {BacktestColumn::Wins, "wins"},
    {BacktestColumn::WinRate, "win_rate"},
    {BacktestColumn::Net, "net"},
    {BacktestColumn::Gross, "gross"},
    {BacktestColumn::Costs, "costs"},
    {BacktestColumn::AverageNet, "average_net"},
    {BacktestColumn::ProfitFactor, "profit_factor"},
    {BacktestColumn::AverageHolding, "average_holding"},
    {BacktestColumn::MedianHolding, "median_holding"},
    {BacktestColumn::LargestWin, "largest_win"},
    {BacktestColumn::LargestLoss, "largest_loss"},
    {BacktestColumn::MaxDrawdown, "max_drawdown"},
    {BacktestColumn::TargetExits, "exits.target"},
    {BacktestColumn::StopExits, "exits.stop"},
    {BacktestColumn::TimeExits, "exits.time"},
}};

// The column's value turned so that the smaller is the better; none for a pair that has none.
std::optional<double> sortKey(BacktestColumn column, const BacktestStats& s) {
    if (column == BacktestColumn::Trades) {
        return -s.trades;
    }
    if (s.trades == 0) {
        return std::nullopt;
    }
    switch (column) {
        case BacktestColumn::Trades:
            return -s.trades;
        case BacktestColumn::Wins:
            return -s.wins;
        case BacktestColumn::WinRate:
            return -s.winRate;
        case BacktestColumn::Net:
            return -static_cast<double>(s.net);
        case BacktestColumn::Gross:
            return -s.gross;
        case BacktestColumn::Costs:
            return s.costs;
        case BacktestColumn::AverageNet:
            return -s.averageNet;
        case BacktestColumn::ProfitFactor:
            // Without a loss the factor is unbounded when something was won, and means nothing
            // when every trade came out even.
            if (s.hasProfitFactor) {
                return -s.profitFactor;
            }
            return s.wins > 0 ? std::optional(-std::numeric_limits<double>::infinity())
                              : std::nullopt;
        case BacktestColumn::AverageHolding:
            return s.averageHolding;
        case BacktestColumn::MedianHolding:
            return s.medianHolding;
        case BacktestColumn::LargestWin:
            return -static_cast<double>(s.largestWin);
        case BacktestColumn::LargestLoss:
            return -static_cast<double>(s.largestLoss);
        case BacktestColumn::MaxDrawdown:
            return static_cast<double>(s.maxDrawdown);
        case BacktestColumn::TargetExits:
            return -s.targetExits;
        case BacktestColumn::StopExits:
            return s.stopExits;
        case BacktestColumn::TimeExits:
            return s.timeExits;
    }
    return std::nullopt;
}

// The stock's leg on the installation's whole date axis; 1, 0 when it cannot be read, -1 when
// memory runs short.
int readLeg(MarketData& md, const CorrectionList& corrections, const ScreenStock& stock,
            int32_t dateCount, BacktestLegData& out) {
    const StockKey key = stock.marketCode * kMarketScale + stock.code;
    if (findStock(md, key) != 0 || readStockSeries(md) != kSeriesBuilt) {
        return 0;
    }
    return makeBacktestLegFromSeries(md.series, correctionFactorOf(corrections, key), dateCount,
                                     out);
}

int backtestPairs(MarketData& md, const CorrectionList& corrections, const ScreenMarket& market,
                  const ScreenResult& result, const BacktestRule& rule, int years,
                  std::vector<BacktestStats>& out) {
    out.assign(result.pairs.size(), BacktestStats{});
    if (result.pairs.empty()) {
        return 1;
    }
    const BacktestCalendar calendar = installationCalendar(md.set);
    const auto dateCount = static_cast<int32_t>(calendar.dates.size());
    if (market.dates.empty() || market.endSlot < 0 || market.endSlot >= dateCount) {
        return 0;
    }
    // Each listed stock read once, its leg shared by all its pairs.
    std::vector<int32_t> legOf(market.stocks.size(), -1);
    std::vector<BacktestLegData> data;
    std::vector<BacktestPairIndex> pairs;
    pairs.reserve(result.pairs.size());
    for (const ScreenPair& p : result.pairs) {
        for (const int32_t s : {p.a, p.b}) {
            if (s < 0 || static_cast<size_t>(s) >= market.stocks.size()) {
                return 0;
            }
            if (legOf[static_cast<size_t>(s)] >= 0) {
                continue;
            }
            data.emplace_back();
            const int read = readLeg(md, corrections, market.stocks[static_cast<size_t>(s)],
                                     dateCount, data.back());
            if (read != 1) {
                return read;
            }
            legOf[static_cast<size_t>(s)] = static_cast<int32_t>(data.size() - 1);
        }
        pairs.push_back({legOf[static_cast<size_t>(p.a)], legOf[static_cast<size_t>(p.b)]});
    }
    std::vector<BacktestLeg> legs;
    legs.reserve(data.size());
    for (const BacktestLegData& d : data) {
        legs.push_back(d.view());
    }
    return runScreenBacktest(legs, pairs, calendar, market.endSlot, rule, years, 0, out);
}

}  // namespace

int runScreenBacktest(std::span<const BacktestLeg> legs, std::span<const BacktestPairIndex> pairs,
                      const BacktestCalendar& calendar, int32_t endSlot, const BacktestRule& rule,
                      int years, int threads, std::span<BacktestStats> out) {
    if (endSlot < 0 || static_cast<size_t>(endSlot) >= calendar.dates.size()) {
        return 0;
    }
    BacktestRule r = rule;
    r.endDate = calendar.dates[static_cast<size_t>(endSlot)];
    r.startDate = backtestStartOf(r.endDate, years);
    return runBacktestBatch(legs, pairs, endSlot + 1, calendar, r, threads, out);
}

int32_t backtestStartOf(int32_t end, int years) {
    const int32_t year = end / 10000 - std::clamp(years, kMinBacktestYears, kMaxBacktestYears);
    const int32_t monthDay = end % 10000;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return year * 10000 + (monthDay == 229 && !leap ? 228 : monthDay);
}

int backtestScreenPairs(MarketData& md, const CorrectionList& corrections,
                        const ScreenMarket& market, const ScreenResult& result,
                        const BacktestRule& rule, int years, std::vector<BacktestStats>& out) {
    int done = -1;
    try {
        done = backtestPairs(md, corrections, market, result, rule, years, out);
    } catch (const std::bad_alloc&) {
        done = -1;
    }
    releaseStockSeries(md);
    if (done != 1) {
        out.clear();
    }
    return done;
}

std::string_view backtestColumnName(BacktestColumn column) {
    for (const auto& [c, name] : kNames) {
        if (c == column) {
            return name;
        }
    }
    return {};
}

std::optional<BacktestColumn> backtestColumnNamed(std::string_view name) {
    for (const auto& [c, n] : kNames) {
        if (n == name) {
            return c;
        }
    }
    return std::nullopt;
}

std::vector<BacktestColumn> backtestColumns() {
    std::vector<BacktestColumn> columns;
    for (const auto& [c, name] : kNames) {
        columns.push_back(c);
    }
    return columns;
}

int compareBacktest(BacktestColumn column, const BacktestStats& x, const BacktestStats& y) {
    const std::optional<double> a = sortKey(column, x);
    const std::optional<double> b = sortKey(column, y);
    if (!a || !b) {
        return a ? -1 : b ? 1 : 0;
    }
    return *a < *b ? -1 : *b < *a ? 1 : 0;
}

void rankByBacktest(const ScreenMarket& market, BacktestColumn column, ScreenResult& result,
                    std::vector<BacktestStats>& stats, size_t top) {
    const size_t n = std::min(result.pairs.size(), stats.size());
    std::vector<size_t> order(n);
    for (size_t k = 0; k < n; ++k) {
        order[k] = k;
    }
    std::sort(order.begin(), order.end(), [&](size_t x, size_t y) {
        if (const int by = compareBacktest(column, stats[x], stats[y]); by != 0) {
            return by < 0;
        }
        return ranksBefore(market, ScreenColumn::P, result.pairs[x], result.pairs[y]);
    });
    order.resize(std::min(n, top));
    std::vector<ScreenPair> pairs;
    std::vector<BacktestStats> ranked;
    pairs.reserve(order.size());
    ranked.reserve(order.size());
    for (const size_t k : order) {
        pairs.push_back(result.pairs[k]);
        ranked.push_back(stats[k]);
    }
    result.pairs = std::move(pairs);
    stats = std::move(ranked);
}

}  // namespace zepa
