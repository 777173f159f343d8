#include "tools/demo/demo_prices.h"

#include <algorithm>
#include <cmath>

#include "base/codepage.h"
#include "tools/demo/demo_random.h"

namespace zepa {
namespace {

constexpr double kMarketDrift = 0.00015;
constexpr double kMarketVolatility = 0.009;
constexpr double kSectorVolatility = 0.0085;
constexpr double kPullToSector = 0.01;  // how fast a stock drifts back to its sector
constexpr double kNewsDayChance = 1.0 / 150;

// The exchange's price steps.
int64_t tickFor(double yen, int32_t unit) {
    const int64_t tick = yen <= 3000 ? 1 : yen <= 5000 ? 5 : yen <= 30000 ? 10 : 50;
    return std::max<int64_t>(tick, unit);
}

int64_t roundToTick(double v, int64_t tick) {
    return static_cast<int64_t>(std::floor(v / static_cast<double>(tick) + 0.5)) * tick;
}

struct Walk {
    double value = 0;          // where the stock trades now, yen
    double anchor = 0;         // where its sector and the market alone would have taken it
    double previousClose = 0;  // yen, of the last day with a trade
    double volumeScale = 1;    // grows with every split
    size_t listedDay = 0;
    bool listed = false;
};

bool sameDay(CivilDay a, CivilDay b) {
    return a.ok() && a == b;
}

// `pinned`, when above 0, is where a planted pair's spread puts the stock today (yen).
DbwRecord tradeDay(const DemoStock& s, Walk& w, double common, DemoRandom& rng, size_t day,
                   double pinned) {
    double own = s.volatility * gaussian(rng);
    if (uniform01(rng) < kNewsDayChance) {
        own *= 4;  // results, a rating change: one leg jumps alone
    }
    double move = common + own - kPullToSector * (w.value / w.anchor - 1.0);
    w.anchor *= 1.0 + common;
    if (pinned > 0) {
        move = pinned / w.value - 1.0;
    }
    w.value = std::max(w.value * (1.0 + move), 5.0 * s.priceUnit);

    const double open = w.previousClose * (1.0 + 0.6 * common + 0.3 * s.volatility * gaussian(rng));
    const double close = w.value;
    const double range = 0.4 * s.volatility + 0.003;
    const double high = std::max(open, close) * (1.0 + range * std::fabs(gaussian(rng)));
    const double low = std::min(open, close) * (1.0 - range * std::fabs(gaussian(rng)));
    double activity = (0.45 + 1.1 * uniform01(rng)) * (1.0 + 20.0 * std::fabs(move));
    if (s.listedOn.ok()) {
        activity *= 1.0 + 75.0 / (15.0 + static_cast<double>(day - w.listedDay));
    }
    const bool noTrade = day != w.listedDay && uniform01(rng) < s.noTradeChance;
    if (noTrade) {
        return DbwRecord{};
    }

    const int64_t tick = s.sector == DemoSector::Index ? 1 : tickFor(close, s.priceUnit);
    const int64_t o = roundToTick(open, tick);
    const int64_t c = roundToTick(close, tick);
    const int64_t h = std::max({roundToTick(high + 0.5 * tick, tick), o, c});
    const int64_t l = std::max(std::min({roundToTick(low - 0.5 * tick, tick), o, c}), tick);
    w.previousClose = static_cast<double>(c);

    DbwRecord r;
    r.open = static_cast<int32_t>(o / s.priceUnit);
    r.high = static_cast<int32_t>(h / s.priceUnit);
    r.low = static_cast<int32_t>(l / s.priceUnit);
    r.close = static_cast<int32_t>(c / s.priceUnit);
    const double shares = static_cast<double>(s.dailyVolume) * w.volumeScale * activity;
    if (s.sector == DemoSector::Index) {
        r.volume = std::min<int64_t>(static_cast<int64_t>(shares), 2000000000);
    } else {
        r.volume = std::max<int64_t>(static_cast<int64_t>(shares / 100) * 100, 100);
    }
    return r;
}

}  // namespace

DemoMarket simulateMarket(std::span<const DemoStock> stocks, std::vector<CivilDay> days,
                          uint64_t seed) {
    DemoMarket m;
    m.days = std::move(days);
    m.stocks = stocks;
    m.records.assign(stocks.size(), std::vector<DbwRecord>(m.days.size()));

    DemoRandom factors = demoStream(seed, 1);
    std::vector<DemoRandom> own(stocks.size());
    std::vector<Walk> walks(stocks.size());
    for (size_t i = 0; i < stocks.size(); ++i) {
        own[i] = demoStream(seed, 1000 + static_cast<uint64_t>(demoStockKey(stocks[i])));
    }
    // Planted pairs: the index of the stock followed, and the spread's value.
    std::vector<int> tracked(stocks.size(), -1);
    std::vector<double> spread(stocks.size(), 0.0);
    for (size_t i = 0; i < stocks.size(); ++i) {
        const int j = stocks[i].tracks != 0 ? findDemoStock(stocks, stocks[i].tracks) : -1;
        tracked[i] = j >= 0 && static_cast<size_t>(j) < i ? j : -1;
    }
    double sectorMove[kDemoSectorCount] = {};
    for (size_t d = 0; d < m.days.size(); ++d) {
        const double market = kMarketDrift + kMarketVolatility * gaussian(factors);
        for (double& s : sectorMove) {
            s = kSectorVolatility * gaussian(factors);
        }
        sectorMove[static_cast<int>(DemoSector::Index)] = 0;
        for (size_t i = 0; i < stocks.size(); ++i) {
            const DemoStock& s = stocks[i];
            Walk& w = walks[i];
            if (!w.listed) {
                if (s.listedOn.ok() && m.days[d] < s.listedOn) {
                    continue;
                }
                w = Walk{s.firstPrice * 1.0, s.firstPrice * 1.0, s.firstPrice * 1.0, 1, d, true};
            }
            uint16_t adjustment = 0;
            if (sameDay(s.splitOn, m.days[d]) && s.splitRatio > 1) {
                // From the split on every price is divided by the ratio; the stored
                // percentage lets moving averages bridge it.
                w.value /= s.splitRatio;
                w.anchor /= s.splitRatio;
                w.previousClose /= s.splitRatio;
                w.volumeScale *= s.splitRatio;
                adjustment = static_cast<uint16_t>(100 / s.splitRatio);
            }
            const double common = s.beta * market + sectorMove[static_cast<int>(s.sector)];
            double pinned = 0;
            if (tracked[i] >= 0 && walks[static_cast<size_t>(tracked[i])].listed) {
                // sqrt is exact in IEEE arithmetic, so the spread is the same everywhere.
                const double phi = s.spreadPersistence;
                spread[i] = phi * spread[i] +
                            s.spreadDeviation * std::sqrt(1.0 - phi * phi) * gaussian(own[i]);
                const DemoStock& leader = stocks[static_cast<size_t>(tracked[i])];
                pinned = walks[static_cast<size_t>(tracked[i])].value * s.firstPrice /
                         leader.firstPrice * (1.0 + spread[i]);
            }
            m.records[i][d] = tradeDay(s, w, common, own[i], d, pinned);
            m.records[i][d].adjustment = adjustment;
        }
    }
    return m;
}

int64_t closeInYen(const DemoMarket& market, int stock, size_t day) {
    if (stock < 0 || static_cast<size_t>(stock) >= market.records.size()) {
        return 0;
    }
    const std::vector<DbwRecord>& records = market.records[static_cast<size_t>(stock)];
    for (size_t d = std::min(day + 1, records.size()); d-- > 0;) {
        if (records[d].low != 0) {
            return int64_t{records[d].close} * market.stocks[static_cast<size_t>(stock)].priceUnit;
        }
    }
    return 0;
}

std::vector<NamedPriceFile> yearlyPriceFiles(const DemoMarket& market) {
    std::vector<NamedPriceFile> files;
    size_t begin = 0;
    while (begin < market.days.size()) {
        const std::chrono::year y = market.days[begin].year();
        size_t end = begin;
        while (end < market.days.size() && market.days[end].year() == y) {
            ++end;
        }
        NamedPriceFile f;
        f.name = "DBW." + std::to_string(static_cast<int>(y));
        for (size_t d = begin; d < end; ++d) {
            f.file.dates.push_back(packDate(market.days[d]));
        }
        const CivilDay last = market.days[end - 1];
        const CivilDay yearEnd{y / std::chrono::December / 30};
        if (last < yearEnd) {
            const CivilDay next{std::chrono::sys_days{last} + std::chrono::days{1}};
            f.file.unusedDateSlots = static_cast<int>(tradingDays(next, yearEnd).size());
        }
        f.file.unusedStockSlots = 4;  // room for the next listings
        for (size_t i = 0; i < market.stocks.size(); ++i) {
            const DemoStock& s = market.stocks[i];
            if (s.listedOn.ok() && s.listedOn.year() > y) {
                continue;
            }
            DbwStock stock;
            stock.key = demoStockKey(s);
            stock.name = cp932FromUtf8(s.name);
            stock.records.assign(market.records[i].begin() + static_cast<std::ptrdiff_t>(begin),
                                 market.records[i].begin() + static_cast<std::ptrdiff_t>(end));
            f.file.stocks.push_back(std::move(stock));
        }
        std::sort(f.file.stocks.begin(), f.file.stocks.end(),
                  [](const DbwStock& a, const DbwStock& b) { return a.key < b.key; });
        files.push_back(std::move(f));
        begin = end;
    }
    return files;
}

}  // namespace zepa
