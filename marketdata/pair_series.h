// The two bar series of a position on the shared date axis, aligned at the newest date.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "marketdata/correction_list.h"
#include "marketdata/day_bar.h"
#include "marketdata/position_file.h"
#include "marketdata/price_database.h"

namespace zepa {

enum class Leg { Buy, Sell };

struct SpreadSeries {
    std::vector<DayBar> buyBars;  // dateCount bars; also carries the sell leg's dates
    std::vector<DayBar> sellBars;
    bool buyBarsAllocated = false;
    bool sellBarsAllocated = false;
    int32_t buyStart = 0;
    int32_t sellStart = 0;
    int32_t firstBar = 0;
    int32_t buyEntryBar = -1;
    int32_t sellEntryBar = -1;
    // The price each leg was entered at (corrected): the close of the first trading date on or
    // after the entry date. In weekly bars too, whose entry bar is the week holding that date;
    // 0 without an entry bar.
    int32_t buyEntryClose = 0;
    int32_t sellEntryClose = 0;
    // The same in the prices of the split-adjusted display, while that display shows the leg.
    int32_t buyShownEntryClose = 0;
    int32_t sellShownEntryClose = 0;
    int32_t buyMarketCode = 0;
    int32_t sellMarketCode = 0;
    int32_t buyStockCode = 0;
    int32_t sellStockCode = 0;
    char buyStockName[9] = {};  // first 8 bytes of the database name, CP932
    char sellStockName[9] = {};
    int32_t buyFactor = 1;
    int32_t sellFactor = 1;
    // First slot whose `average` is a real moving average: start + period when the average was
    // computed, else start (the bars then carry the close).
    int32_t buyAverageStart = 0;
    int32_t sellAverageStart = 0;
    // F(i) of each leg, the splits since its entry bar (splitFactorsSinceEntry); empty when the
    // leg has none, so that every figure is then computed as without splits.
    std::vector<double> buySplitSinceEntry;
    std::vector<double> sellSplitSinceEntry;
    // The bars the split-adjusted display shows; empty when that display is off or the leg has
    // no split, and then the stored bars are shown.
    std::vector<DayBar> buyShownBars;
    std::vector<DayBar> sellShownBars;
};

inline const std::vector<DayBar>& storedBars(const SpreadSeries& s, Leg leg) {
    return leg == Leg::Buy ? s.buyBars : s.sellBars;
}

// What the price pane, the spread and the closes in the tables show.
inline const std::vector<DayBar>& shownBars(const SpreadSeries& s, Leg leg) {
    const std::vector<DayBar>& shown = leg == Leg::Buy ? s.buyShownBars : s.sellShownBars;
    return shown.empty() ? storedBars(s, leg) : shown;
}

inline int32_t storedEntryClose(const SpreadSeries& s, Leg leg) {
    return leg == Leg::Buy ? s.buyEntryClose : s.sellEntryClose;
}

// The entry price in the prices shownBars gives.
inline int32_t shownEntryClose(const SpreadSeries& s, Leg leg) {
    const bool adjusted = !(leg == Leg::Buy ? s.buyShownBars : s.sellShownBars).empty();
    if (!adjusted) {
        return storedEntryClose(s, leg);
    }
    return leg == Leg::Buy ? s.buyShownEntryClose : s.sellShownEntryClose;
}

struct PairSeriesOptions {
    int weeklyBars = 0;  // 0 daily, 1 weekly
    int buyAveragePeriod = 5;
    int sellAveragePeriod = 5;
    // 1: also build the bars of the split-adjusted display.
    int splitAdjustedDisplay = 0;
};

enum class PairSeriesMessage {
    None,
    StockNotRegistered,  // "指定銘柄は登録されていません"
    NoTradedDate,        // "データが登録されていません"
    OutOfMemory,         // "メモリが確保できません"
    DataError,           // fatal: md.dataError says which, and the run ends
};

struct PairSeriesResult {
    int result = 0;  // 1 built; -1 stock not found or memory short; -2 no traded date; 0 fatal
    PairSeriesMessage message = PairSeriesMessage::None;
    Leg leg = Leg::Buy;  // the leg a failure is about
};

// Builds both legs of the position into the series. A failing sell leg leaves the buy leg of
// the new position beside the sell leg of the previous one, as callers of a failed build
// never draw.
PairSeriesResult buildPairSeries(MarketData& md, const CorrectionList& corrections,
                                 const PositionRecord& position, const PairSeriesOptions& options,
                                 SpreadSeries& series);

void releasePairSeries(SpreadSeries& series);

// The text of a non-fatal message, UTF-8; empty for None and DataError.
std::string pairSeriesMessageText(PairSeriesMessage message);

// The text a user is shown for a failed build of `position`, read from line `line` of the
// position file: a stock in no price file is named with the leg, its code as the file writes it
// and the line, after the message users know.
std::string pairSeriesFailureText(const PairSeriesResult& result, const PositionRecord& position,
                                  int32_t line);

inline constexpr const char* kPairSeriesCaption = "データの読み込み";

// YYMMDD entry date to the YYYYMMDD threshold the entry bar must reach; 0 never is reached.
int64_t entryThreshold(int32_t entryDate);

}  // namespace zepa
