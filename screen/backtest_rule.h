// The ratio rule a backtest trades by, every number a setting: when a pair is entered and left,
// where orders fill, how large the legs are and what margin trading costs.
#pragma once

#include <cstdint>

namespace zepa {

enum class BacktestFill {
    Open,   // at the next date's open
    Close,  // at the signal date's close
};

struct BacktestRule {
    int32_t ratioPeriod = 25;   // bars of the ratio chart's z
    double entry = 2.0;         // |z| at or past this opens a trade
    double exit = 0.0;          // z back to this (mirrored for a trade opened below 0): target
    double stop = 3.5;          // |z| at or past this, on the side the trade opened: stop
    int32_t maxDays = 180;      // calendar days from the entry's fill to a time exit
    double amount = 1000000.0;  // yen per leg at entry
    BacktestFill fill = BacktestFill::Open;
    // Rates are fractions: 0.028 is 2.8 % a year.
    double commission = 0.0;     // of the traded value at each of the four fills
    double buyRate = 0.028;      // margin interest on the bought leg, a year
    double borrowRate = 0.0115;  // 貸株料 on the sold leg, a year
    // Signals are taken on dates from startDate to endDate (YYYYMMDD); nothing fills after
    // endDate. The z of the first dates may use closes before startDate.
    int32_t startDate = 0;
    int32_t endDate = 99999999;
    // A trade still open after the last signal is closed at the last date's close, with its
    // exit costs, and counts as any closed trade (reason PeriodEnd); otherwise it stays open.
    bool closeAtEnd = false;
};

// The trading unit every leg is bought or sold in.
inline constexpr int64_t kTradingUnit = 100;

}  // namespace zepa
