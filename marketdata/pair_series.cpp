#include "marketdata/pair_series.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/wrapping.h"
#include "marketdata/market_code.h"
#include "marketdata/moving_average.h"
#include "marketdata/weekly_bars.h"

namespace zepa {
namespace {

struct LegTarget {
    std::vector<DayBar>& bars;
    bool& allocated;
    int32_t& start;
    int32_t& entryBar;
    int32_t& marketCode;
    int32_t& stockCode;
    char* stockName;
    int32_t& factor;
    int32_t& averageStart;
};

PairSeriesResult fail(int result, PairSeriesMessage message) {
    return {result, message};
}

PairSeriesResult buildLeg(MarketData& md, const CorrectionList& corrections, const PositionLeg& leg,
                          int averagePeriod, int weeklyBars, bool sellLeg, SpreadSeries& series) {
    LegTarget t =
        sellLeg ? LegTarget{series.sellBars,      series.sellBarsAllocated, series.sellStart,
                            series.sellEntryBar,  series.sellMarketCode,    series.sellStockCode,
                            series.sellStockName, series.sellFactor,        series.sellAverageStart}
                : LegTarget{series.buyBars,      series.buyBarsAllocated, series.buyStart,
                            series.buyEntryBar,  series.buyMarketCode,    series.buyStockCode,
                            series.buyStockName, series.buyFactor,        series.buyAverageStart};

    const StockKey key = marketCodeOf(leg.marketLetter[0]) * kMarketScale + leg.stockCode;
    if (findStock(md, key) == -1) {
        return fail(-1, PairSeriesMessage::StockNotRegistered);
    }
    releaseStockSeries(md);
    const int read = readStockSeries(md);
    if (read == kSeriesDataError) {
        return fail(0, PairSeriesMessage::DataError);
    }
    if (read != kSeriesBuilt) {
        return fail(-2, PairSeriesMessage::NoTradedDate);
    }
    StockSeries& s = md.series;
    if (weeklyBars == 1) {
        aggregateWeekly(s);
    }

    t.stockCode = key % kStockCodeModulus;
    t.marketCode = static_cast<int32_t>(static_cast<uint32_t>(key) / kMarketScale);
    std::memcpy(t.stockName, md.set.stockName, 8);
    t.stockName[8] = '\0';
    const int32_t dateCount = md.set.dateCount;
    t.start = dateCount - s.length;
    if (sellLeg) {
        series.firstBar = std::min(series.buyStart, series.sellStart);
    }

    t.bars.clear();
    t.allocated = false;
    try {
        // Zeros before the leg's start; the loop below appends every later bar whole, so no bar
        // is written twice.
        t.bars.reserve(static_cast<size_t>(dateCount));
        t.bars.assign(static_cast<size_t>(t.start), DayBar{});
    } catch (const std::bad_alloc&) {
        t.bars = std::vector<DayBar>{};
        return fail(-1, PairSeriesMessage::OutOfMemory);
    }
    t.allocated = true;

    std::vector<float> work;
    try {
        work.assign(static_cast<size_t>(s.length), 0.0f);
    } catch (const std::bad_alloc&) {
        return fail(-1, PairSeriesMessage::OutOfMemory);
    }
    const bool haveAverage = movingAverage(s, averagePeriod, work) == 1;
    t.averageStart = haveAverage ? t.start + averagePeriod : t.start;

    t.factor = correctionFactorOf(corrections, key);
    const int32_t factor = t.factor;
    const int64_t threshold = entryThreshold(leg.entryDate);

    t.entryBar = -1;
    int32_t entryClose = 0;
    for (int32_t b = t.start; b < dateCount; ++b) {
        const int32_t k = b - t.start;
        DayBar& bar = t.bars.emplace_back();
        bar.date = s.date[k];
        bar.open = wrapMul(s.open[k], factor);
        bar.high = wrapMul(s.high[k], factor);
        bar.low = wrapMul(s.low[k], factor);
        bar.close = wrapMul(s.close[k], factor);
        bar.volume = s.volume[k];
        bar.adjustment = s.adjustment[k];
        bar.average = haveAverage ? truncToInt32(static_cast<double>(work[k] * factor)) : bar.close;
        if (sellLeg) {
            series.buyBars[b].date = bar.date;
        }
        if (t.entryBar == -1 && dateValue(bar.date) >= threshold) {
            t.entryBar = b;
            entryClose = bar.close;
        }
        if (t.entryBar != -1) {
            bar.gain = sellLeg ? wrapSub(entryClose, bar.close) : wrapSub(bar.close, entryClose);
        }
    }
    return fail(1, PairSeriesMessage::None);
}

}  // namespace

int64_t entryThreshold(int32_t entryDate) {
    if (entryDate <= 0) {
        return 99999999;
    }
    return int64_t{entryDate} + (entryDate / 10000 >= 70 ? 19000000 : 20000000);
}

PairSeriesResult buildPairSeries(MarketData& md, const CorrectionList& corrections,
                                 const PositionRecord& position, const PairSeriesOptions& options,
                                 SpreadSeries& series) {
    PairSeriesResult buy = buildLeg(md, corrections, position.buy, options.buyAveragePeriod,
                                    options.weeklyBars, false, series);
    if (buy.result != 1) {
        return buy;
    }
    return buildLeg(md, corrections, position.sell, options.sellAveragePeriod, options.weeklyBars,
                    true, series);
}

void releasePairSeries(SpreadSeries& series) {
    if (series.buyBarsAllocated) {
        series.buyBars = std::vector<DayBar>{};
        series.buyBarsAllocated = false;
    }
    if (series.sellBarsAllocated) {
        series.sellBars = std::vector<DayBar>{};
        series.sellBarsAllocated = false;
    }
}

std::string pairSeriesMessageText(PairSeriesMessage message) {
    switch (message) {
        case PairSeriesMessage::StockNotRegistered:
            return "指定銘柄は登録されていません";
        case PairSeriesMessage::NoTradedDate:
            return "データが登録されていません";
        case PairSeriesMessage::OutOfMemory:
            return "メモリが確保できません";
        case PairSeriesMessage::None:
        case PairSeriesMessage::DataError:
            break;
    }
    return {};
}

}  // namespace zepa
