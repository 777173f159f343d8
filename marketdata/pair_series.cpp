#include "marketdata/pair_series.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/wrapping.h"
#include "marketdata/market_code.h"
#include "marketdata/moving_average.h"
#include "marketdata/split_adjustment.h"
#include "marketdata/weekly_bars.h"

namespace zepa {
namespace {

struct LegTarget {
    std::vector<DayBar>& bars;
    bool& allocated;
    int32_t& start;
    int32_t& entryBar;
    int32_t& entryClose;
    int32_t& shownEntryClose;
    int32_t& marketCode;
    int32_t& stockCode;
    char* stockName;
    int32_t& factor;
    int32_t& averageStart;
    std::vector<double>& splitSinceEntry;
    std::vector<DayBar>& shownBars;
};

PairSeriesResult fail(int result, PairSeriesMessage message) {
    return {result, message};
}

// The bars of the split-adjusted display: the stored bars with the prices and volumes of the
// displayed series, its own moving average (in one basis, the plain mean of the closes on show)
// and the gain as the displayed closes give it.
void buildShownBars(const LegTarget& t, const StockSeries& shown, int averagePeriod, bool sellLeg) {
    std::vector<float> work(static_cast<size_t>(shown.length), 0.0f);
    const bool haveAverage = movingAverage(shown, averagePeriod, work) == 1;
    t.shownBars = t.bars;
    const int32_t entryClose = t.shownEntryClose;
    for (size_t b = static_cast<size_t>(std::max(t.start, 0)); b < t.shownBars.size(); ++b) {
        const size_t k = b - static_cast<size_t>(t.start);
        DayBar& bar = t.shownBars[b];
        bar.open = shown.open[k];
        bar.high = shown.high[k];
        bar.low = shown.low[k];
        bar.close = shown.close[k];
        bar.volume = shown.volume[k];
        bar.average = haveAverage ? truncToInt32(static_cast<double>(work[k])) : bar.close;
        if (t.entryBar != -1 && static_cast<int32_t>(b) >= t.entryBar) {
            bar.gain = sellLeg ? wrapSub(entryClose, bar.close) : wrapSub(bar.close, entryClose);
        }
    }
}

PairSeriesResult buildLeg(MarketData& md, const CorrectionList& corrections, const PositionLeg& leg,
                          const PairSeriesOptions& options, bool sellLeg, SpreadSeries& series) {
    const int averagePeriod = sellLeg ? options.sellAveragePeriod : options.buyAveragePeriod;
    LegTarget t =
        sellLeg
            ? LegTarget{series.sellBars,       series.sellBarsAllocated, series.sellStart,
                        series.sellEntryBar,   series.sellEntryClose,    series.sellShownEntryClose,
                        series.sellMarketCode, series.sellStockCode,     series.sellStockName,
                        series.sellFactor,     series.sellAverageStart,  series.sellSplitSinceEntry,
                        series.sellShownBars}
            : LegTarget{series.buyBars,       series.buyBarsAllocated, series.buyStart,
                        series.buyEntryBar,   series.buyEntryClose,    series.buyShownEntryClose,
                        series.buyMarketCode, series.buyStockCode,     series.buyStockName,
                        series.buyFactor,     series.buyAverageStart,  series.buySplitSinceEntry,
                        series.buyShownBars};

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
    // The adjusted display is taken from the daily prices, before they form weekly bars; a leg
    // without a split is shown as stored and costs nothing here.
    const bool adjusted = options.splitAdjustedDisplay == 1 && seriesHasSplit(s);
    const int32_t factor = correctionFactorOf(corrections, key);
    // The entry is a day, whatever bars are formed: its close is the entry price, and the splits
    // after it count from that day on.
    const int64_t threshold = entryThreshold(leg.entryDate);
    int32_t entryDay = 0;
    while (entryDay < s.length && dateValue(s.date[static_cast<size_t>(entryDay)]) < threshold) {
        ++entryDay;
    }
    const bool entered = entryDay < s.length;
    StockSeries shown;
    std::vector<double> daySplits;
    std::vector<int32_t> lastDayOfWeek;
    try {
        if (adjusted) {
            shown = displayedSeries(s, factor);
        }
        daySplits = splitFactorsSinceEntry(s, entered ? entryDay : -1);
        if (options.weeklyBars == 1) {
            lastDayOfWeek.reserve(static_cast<size_t>(s.length));
        }
    } catch (const std::bad_alloc&) {
        return fail(-1, PairSeriesMessage::OutOfMemory);
    }
    const int32_t entryClose =
        entered ? wrapMul(s.close[static_cast<size_t>(entryDay)], factor) : 0;
    const int32_t shownEntryClose =
        entered && adjusted ? shown.close[static_cast<size_t>(entryDay)] : entryClose;
    // The bar that holds the entry day, as an index into the series' (daily or weekly) entries.
    int32_t entryEntry = entered ? entryDay : -1;
    if (options.weeklyBars == 1) {
        aggregateWeekly(s, &lastDayOfWeek);
        if (adjusted) {
            aggregateWeekly(shown);
        }
        if (entered) {
            entryEntry = static_cast<int32_t>(
                std::lower_bound(lastDayOfWeek.begin(), lastDayOfWeek.end(), entryDay) -
                lastDayOfWeek.begin());
        }
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
    t.splitSinceEntry.clear();
    t.shownBars.clear();
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

    t.factor = factor;
    t.entryBar = entered ? t.start + entryEntry : -1;
    t.entryClose = entryClose;
    t.shownEntryClose = shownEntryClose;
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
            if (!series.buyShownBars.empty()) {
                series.buyShownBars[b].date = bar.date;
            }
        }
        if (t.entryBar != -1 && b >= t.entryBar) {
            bar.gain = sellLeg ? wrapSub(entryClose, bar.close) : wrapSub(bar.close, entryClose);
        }
    }
    try {
        if (!daySplits.empty()) {
            // A bar counts the splits up to its last day.
            t.splitSinceEntry.assign(static_cast<size_t>(dateCount), 1.0);
            for (int32_t b = t.start; b < dateCount; ++b) {
                const auto k = static_cast<size_t>(b - t.start);
                const size_t day =
                    lastDayOfWeek.empty() ? k : static_cast<size_t>(lastDayOfWeek[k]);
                t.splitSinceEntry[static_cast<size_t>(b)] = daySplits[day];
            }
        }
        if (adjusted) {
            buildShownBars(t, shown, averagePeriod, sellLeg);
        }
    } catch (const std::bad_alloc&) {
        t.splitSinceEntry.clear();
        t.shownBars.clear();
        return fail(-1, PairSeriesMessage::OutOfMemory);
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
    PairSeriesResult buy = buildLeg(md, corrections, position.buy, options, false, series);
    if (buy.result != 1) {
        return buy;
    }
    PairSeriesResult sell = buildLeg(md, corrections, position.sell, options, true, series);
    sell.leg = Leg::Sell;
    return sell;
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
    series.buySplitSinceEntry = std::vector<double>{};
    series.sellSplitSinceEntry = std::vector<double>{};
    series.buyShownBars = std::vector<DayBar>{};
    series.sellShownBars = std::vector<DayBar>{};
}

std::string pairSeriesFailureText(const PairSeriesResult& result, const PositionRecord& position,
                                  int32_t line) {
    std::string text = pairSeriesMessageText(result.message);
    if (result.message != PairSeriesMessage::StockNotRegistered) {
        return text;
    }
    const PositionLeg& leg = result.leg == Leg::Buy ? position.buy : position.sell;
    // The letter is a byte of the file: only a printable ASCII one goes into UTF-8 text.
    const char letter = leg.marketLetter[0];
    const std::string shownLetter = letter > ' ' && letter < 0x7f ? std::string(1, letter) : "";
    text += "\n" + std::string(result.leg == Leg::Buy ? "買い" : "売り") + "の銘柄 " + shownLetter +
            std::to_string(leg.stockCode) + " が株価データにありません";
    if (line > 0) {
        text += "（建玉ファイル " + std::to_string(line) + " 行目）";
    }
    return text;
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
