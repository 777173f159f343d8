#include "screen/screen_load.h"

#include <algorithm>
#include <new>
#include <set>

#include "base/codepage.h"
#include "base/wrapping.h"
#include "marketdata/market_code.h"
#include "marketdata/split_adjustment.h"

namespace zepa {
namespace {

std::string trimmedName(const char* cp932) {
    std::string name(cp932);
    while (!name.empty() && name.back() == ' ') {
        name.pop_back();
    }
    return utf8FromCp932(name);
}

// One stock's rows from the series just read: slot `first` of the date axis is row 0.
// With `stored` and `values` set, the per-row figures too.
void fillStock(const StockSeries& s, int32_t dateCount, int32_t correction, int32_t first,
               int32_t window, ScreenStock& stock, double* closes, uint8_t* traded, int32_t rows,
               int32_t* stored, double* values) {
    const int32_t start = dateCount - s.length;
    // The product of the adjustments after each bar up to the newest, as the ratio chart's
    // basis has it.
    double product = 1.0;
    int32_t k = s.length - 1;
    double turnover = 0.0;
    for (int32_t r = rows - 1; r >= 0; --r) {
        const int32_t bar = first + r - start;
        if (bar < 0 || bar >= s.length) {
            continue;
        }
        for (; k > bar; --k) {
            if (isSplit(s.adjustment[k])) {
                product = std::clamp(product * (s.adjustment[k] / 100.0), kMinSplitFactor,
                                     kMaxSplitFactor);
            }
        }
        const int32_t close = s.close[bar];
        const double shown = static_cast<double>(wrapMul(close, correction)) * product;
        closes[r] = close > 0 && shown > 0.0 ? shown : 0.0;
        // The series carries the close into a date without trade, whose volume is 0.
        const bool hasTrade = close > 0 && s.volume[bar] > 0;
        traded[r] = hasTrade ? 1 : 0;
        const double value = hasTrade ? static_cast<double>(close) * s.volume[bar] : 0.0;
        if (r >= rows - window && hasTrade) {
            turnover += value;
        }
        if (r == rows - 1) {
            stock.storedCloseAtEnd = hasTrade ? close : 0.0;
        }
        if (stored != nullptr) {
            stored[r] = hasTrade ? close : 0;
            values[r] = value;
        }
    }
    stock.turnover = turnover / window;
}

}  // namespace

ScreenLoad loadScreenMarket(MarketData& md, const CorrectionList& corrections,
                            const ListingTable& listing, const ScreenLoadRequest& request,
                            ScreenMarket& market) {
    market = ScreenMarket{};
    if (request.legs != nullptr) {
        request.legs->clear();
    }
    try {
        std::vector<int32_t> axis;
        std::set<StockKey> keys;
        for (const PriceDatabase& db : md.set.files) {
            for (PackedDate d : db.dates) {
                axis.push_back(dateValue(d));
            }
            keys.insert(db.keys.begin(), db.keys.end());
        }
        const int32_t end = request.endDate > 0 ? request.endDate : INT32_MAX;
        const auto after = std::upper_bound(axis.begin(), axis.end(), end);
        const auto endSlot = static_cast<int32_t>(after - axis.begin()) - 1;
        if (endSlot < 0) {
            return ScreenLoad::EndBeforeFirstDate;
        }
        if (endSlot + 1 < request.days) {
            return ScreenLoad::TooFewDates;
        }
        const int32_t rows = std::min(std::max(request.rows, request.days), endSlot + 1);
        const int32_t first = endSlot - rows + 1;
        market.dates.assign(axis.begin() + first, axis.begin() + endSlot + 1);
        market.window = request.days;
        market.endSlot = endSlot;
        const auto dateCount = static_cast<int32_t>(axis.size());
        // Every stock's block of every file is read: each file is opened once for all of them.
        const HeldPriceFiles held(md);
        if (request.stockCount != nullptr) {
            request.stockCount->store(static_cast<int64_t>(keys.size()));
        }
        for (StockKey key : keys) {
            if (request.cancel != nullptr && request.cancel->load(std::memory_order_relaxed)) {
                releaseStockSeries(md);
                market = ScreenMarket{};
                if (request.legs != nullptr) {
                    request.legs->clear();
                }
                return ScreenLoad::Cancelled;
            }
            if (request.stocksDone != nullptr) {
                request.stocksDone->fetch_add(1, std::memory_order_relaxed);
            }
            const auto marketCode = static_cast<int32_t>(static_cast<uint32_t>(key) / kMarketScale);
            if (key <= 0 || (request.marketCode >= 0 && marketCode != request.marketCode)) {
                continue;
            }
            if (findStock(md, key) == -1) {
                continue;
            }
            const int read = readStockSeries(md);
            if (read == kSeriesDataError) {
                return ScreenLoad::DataError;
            }
            if (read != kSeriesBuilt) {
                continue;
            }
            ScreenStock stock;
            stock.code = key % kStockCodeModulus;
            stock.marketCode = marketCode;
            if (const ListingEntry* e = findListing(listing, stock.code)) {
                stock.name = e->name;
                stock.sector17 = e->sector17Code;
                stock.sector33 = e->sector33Code;
                stock.marginCode = e->marginCode;
            }
            if (stock.name.empty()) {
                stock.name = trimmedName(md.set.stockName);
            }
            const int32_t correction = correctionFactorOf(corrections, key);
            if (request.legs != nullptr) {
                BacktestLegData& leg = request.legs->emplace_back();
                const int made = makeBacktestLegFromSeries(md.series, correction, dateCount, leg);
                if (made < 0) {
                    throw std::bad_alloc();
                }
                if (made == 0) {  // a series longer than the axis: a leg that never trades
                    leg.open.assign(static_cast<size_t>(dateCount), 0);
                    leg.close.assign(static_cast<size_t>(dateCount), 0);
                    leg.adjustment.assign(static_cast<size_t>(dateCount), 0);
                    leg.adjustedClose.assign(static_cast<size_t>(dateCount), 0.0);
                    leg.logAdjustedClose.assign(static_cast<size_t>(dateCount), 0.0);
                }
            }
            const size_t at = market.closes.size();
            const auto grown = at + static_cast<size_t>(rows);
            market.closes.resize(grown, 0.0);
            market.traded.resize(grown, 0);
            if (request.perRowFigures) {
                market.storedCloses.resize(grown, 0);
                market.tradedValues.resize(grown, 0.0);
            }
            fillStock(md.series, dateCount, correction, first, request.days, stock,
                      market.closes.data() + at, market.traded.data() + at, rows,
                      request.perRowFigures ? market.storedCloses.data() + at : nullptr,
                      request.perRowFigures ? market.tradedValues.data() + at : nullptr);
            market.stocks.push_back(std::move(stock));
        }
        releaseStockSeries(md);
    } catch (const std::bad_alloc&) {
        releaseStockSeries(md);
        market = ScreenMarket{};
        if (request.legs != nullptr) {
            request.legs->clear();
        }
        return ScreenLoad::OutOfMemory;
    }
    return ScreenLoad::Loaded;
}

}  // namespace zepa
