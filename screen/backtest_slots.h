// A pair's date slots as the backtest reads them: per leg the stored opens and closes, the
// ex-date adjustments and the split-adjusted closes the ratio chart divides (and their logs), all
// on the installation's date axis. Views, so that a batch shares each stock's arrays among its
// pairs.
#pragma once

#include <cstdint>
#include <vector>

#include "marketdata/day_bar.h"
#include "marketdata/price_database.h"

namespace zepa {

// Pointers to slotCount values each; an open or close of 0 marks a date without trade.
struct BacktestLeg {
    const int32_t* open = nullptr;
    const int32_t* close = nullptr;
    const int32_t* adjustment = nullptr;    // percent on the ex-date, 0 or 100 for none
    const double* adjustedClose = nullptr;  // close × the splits after it (splitBasisFactors)
    // Its natural log, once per leg rather than per pair and date; 0 where the close is not
    // positive and finite (such a date has no ratio).
    const double* logAdjustedClose = nullptr;
};

struct BacktestPair {
    BacktestLeg a;  // the ratio is a / b
    BacktestLeg b;
    int32_t slotCount = 0;
};

// The arrays a BacktestLeg views.
struct BacktestLegData {
    std::vector<int32_t> open;
    std::vector<int32_t> close;
    std::vector<int32_t> adjustment;
    std::vector<double> adjustedClose;
    std::vector<double> logAdjustedClose;

    BacktestLeg view() const {
        return {open.data(), close.data(), adjustment.data(), adjustedClose.data(),
                logAdjustedClose.data()};
    }
};

// A leg's arrays from its bars on the date axis (SpreadSeries::buyBars or sellBars, with the
// leg's first slot `start`), with the adjusted closes exactly as the ratio chart computes them.
// 1, or -1 when memory runs short.
int makeBacktestLeg(const std::vector<DayBar>& bars, int32_t start, BacktestLegData& out);

// The same from a stock's series as readStockSeries leaves it, for a batch that reads every
// stock once: the bars buildPairSeries would make of it, prices times the correction factor, on
// a date axis of dateCount slots whose last is the series' last. 1; 0 when the series is longer
// than the axis; -1 when memory runs short.
int makeBacktestLegFromSeries(const StockSeries& series, int32_t correctionFactor,
                              int32_t dateCount, BacktestLegData& out);

}  // namespace zepa
