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
void fillStock(const StockSeries& s, int32_t dateCount, int32_t correction, int32_t first,
               int32_t window, ScreenStock& stock, double* closes, uint8_t* traded, int32_t rows) {
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
        const int32_t stored = s.close[bar];
        const double shown = static_cast<double>(wrapMul(stored, correction)) * product;
        closes[r] = stored > 0 && shown > 0.0 ? shown : 0.0;
        // The series carries the close into a date without trade, whose volume is 0.
        const bool hasTrade = stored > 0 && s.volume[bar] > 0;
        traded[r] = hasTrade ? 1 : 0;
        if (r >= rows - window && hasTrade) {
            turnover += static_cast<double>(stored) * s.volume[bar];
        }
        if (r == rows - 1) {
            stock.storedCloseAtEnd = hasTrade ? stored : 0.0;
        }
    }
    stock.turnover = turnover / window;
}

}  // namespace

ScreenLoad loadScreenMarket(MarketData& md, const CorrectionList& corrections,
                            const ListingTable& listing, const ScreenLoadRequest& request,
                            ScreenMarket& market) {
    market = ScreenMarket{};
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
            const size_t at = market.closes.size();
            market.closes.resize(at + static_cast<size_t>(rows), 0.0);
            market.traded.resize(at + static_cast<size_t>(rows), 0);
            fillStock(md.series, dateCount, correctionFactorOf(corrections, key), first,
                      request.days, stock, market.closes.data() + at, market.traded.data() + at,
                      rows);
            market.stocks.push_back(std::move(stock));
        }
        releaseStockSeries(md);
    } catch (const std::bad_alloc&) {
        market = ScreenMarket{};
        return ScreenLoad::OutOfMemory;
    }
    return ScreenLoad::Loaded;
}

}  // namespace zepa
