// One simulated trade of a pair a / b: what was done at the two fills and what it made.
#pragma once

#include <cstdint>

namespace zepa {

enum class BacktestDirection {
    SellA,  // opened at z > 0: sell a, buy b
    BuyA,   // opened at z < 0: buy a, sell b
};

enum class BacktestExit {
    Target,
    Stop,
    Time,
    Open,       // still open at the end, valued at the last close
    PeriodEnd,  // closed at the last date's close by a rule that closes what is open at its end
};

struct BacktestTrade {
    int32_t entrySlot = 0;  // date slots of the fills
    int32_t exitSlot = 0;
    int32_t entryDate = 0;  // YYYYMMDD
    int32_t exitDate = 0;
    BacktestDirection direction = BacktestDirection::SellA;
    // Stored prices at the fills, each in its own date's basis.
    int32_t aEntry = 0;
    int32_t aExit = 0;
    int32_t bEntry = 0;
    int32_t bExit = 0;
    int64_t aQuantity = 0;  // shares at entry
    int64_t bQuantity = 0;
    double gross = 0.0;  // yen, unrounded
    double commission = 0.0;
    double interest = 0.0;   // on the bought leg
    double borrowFee = 0.0;  // on the sold leg
    int64_t net = 0;         // gross - costs, rounded to the yen half away from zero
    BacktestExit reason = BacktestExit::Target;
};

// Names as the JSON output spells them.
const char* backtestDirectionName(BacktestDirection direction);
const char* backtestExitName(BacktestExit reason);

}  // namespace zepa
