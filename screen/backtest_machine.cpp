#include "screen/backtest_machine.h"

#include <algorithm>
#include <cmath>

#include "marketdata/margin_carry.h"
#include "marketdata/position_figures.h"
#include "marketdata/split_adjustment.h"

namespace zepa {
namespace {

// Shares for `amount` yen at `price`: rounded down to the trading unit, at least one unit.
int64_t quantityFor(double amount, int32_t price) {
    const double units = std::floor(amount / (static_cast<double>(price) * kTradingUnit));
    const double bounded = std::clamp(units, 1.0, 1.0e12);  // NaN stays out of the cast below
    return (bounded == bounded ? static_cast<int64_t>(bounded) : 1) * kTradingUnit;
}

// F of a leg from its entry fill to its exit fill: the splits on the slots after the entry up
// to and including the exit, as the viewer's position profit counts them.
double splitFactorBetween(const int32_t* adjustment, int32_t entry, int32_t exit) {
    double f = 1.0;
    for (int32_t i = entry + 1; i <= exit; ++i) {
        f = timesAdjustment(f, adjustment[i]);
    }
    return f;
}

double finiteOrZero(double v) {
    return std::isfinite(v) ? v : 0.0;
}

}  // namespace

void BacktestBook::open(int32_t slot, int32_t aPrice, int32_t bPrice, BacktestDirection direction) {
    trade_ = BacktestTrade{};
    trade_.entrySlot = slot;
    trade_.entryDate = calendar_.dates[static_cast<size_t>(slot)];
    trade_.direction = direction;
    trade_.aEntry = aPrice;
    trade_.bEntry = bPrice;
    trade_.aQuantity = quantityFor(rule_.amount, aPrice);
    trade_.bQuantity = quantityFor(rule_.amount, bPrice);
}

void BacktestBook::close(int32_t slot, int32_t aPrice, int32_t bPrice, BacktestExit reason) {
    BacktestTrade& t = trade_;
    t.exitSlot = slot;
    t.exitDate = calendar_.dates[static_cast<size_t>(slot)];
    t.aExit = aPrice;
    t.bExit = bPrice;
    t.reason = reason;
    const double fa = splitFactorBetween(pair_.a.adjustment, t.entrySlot, slot);
    const double fb = splitFactorBetween(pair_.b.adjustment, t.entrySlot, slot);
    const double aSign = t.direction == BacktestDirection::BuyA ? 1.0 : -1.0;
    const auto qa = static_cast<double>(t.aQuantity);
    const auto qb = static_cast<double>(t.bQuantity);
    // Per leg quantity × (exit / F - entry), the sold leg's reversed: the shares held at the
    // exit are quantity / F, each worth the exit price.
    t.gross =
        finiteOrZero(aSign * qa * (aPrice / fa - t.aEntry) - aSign * qb * (bPrice / fb - t.bEntry));
    const double aValue = qa * t.aEntry;
    const double bValue = qb * t.bEntry;
    t.commission =
        finiteOrZero(rule_.commission * (aValue + bValue + qa / fa * aPrice + qb / fb * bPrice));
    const int32_t days =
        carryDays(settlementDay(calendar_, t.entrySlot), settlementDay(calendar_, slot));
    const bool buyA = t.direction == BacktestDirection::BuyA;
    t.interest = carryCost(buyA ? aValue : bValue, rule_.buyRate, days);
    t.borrowFee = carryCost(buyA ? bValue : aValue, rule_.borrowRate, days);
    constexpr auto kLimit = static_cast<double>(kProfitLimit);
    t.net = std::llround(
        std::clamp(t.gross - t.commission - t.interest - t.borrowFee, -kLimit, kLimit));
    trades_.push_back(t);
}

// An order waiting for the open fills on the first date both legs trade.
void RuleMachine::fillAtOpen(int32_t i) {
    const int32_t aOpen = pair_.a.open[i];
    const int32_t bOpen = pair_.b.open[i];
    if (aOpen <= 0 || bOpen <= 0) {
        return;
    }
    if (state_ == State::EntryWaits) {
        book_.open(i, aOpen, bOpen, waitingDirection_);
        state_ = State::Holding;
    } else {
        book_.close(i, aOpen, bOpen, waitingReason_);
        state_ = State::Flat;
    }
}

// The close that opens a trade gives it no exit signal: the caller returns after this.
void RuleMachine::enter(int32_t i, BacktestDirection direction) {
    if (rule_.fill == BacktestFill::Open) {
        waitingDirection_ = direction;
        state_ = State::EntryWaits;
    } else {
        book_.open(i, pair_.a.close[i], pair_.b.close[i], direction);
        state_ = State::Holding;
    }
}

// A trade that leaves at a close is not entered again at that close: the step ends here.
void RuleMachine::leave(int32_t i, BacktestExit reason) {
    if (rule_.fill == BacktestFill::Open) {
        waitingReason_ = reason;
        state_ = State::ExitWaits;
    } else {
        book_.close(i, pair_.a.close[i], pair_.b.close[i], reason);
        state_ = State::Flat;
    }
}

void RuleMachine::finish(int32_t last) {
    if (state_ != State::Holding && state_ != State::ExitWaits) {
        return;
    }
    const BacktestTrade& t = book_.trade();
    while (last > t.entrySlot && (pair_.a.close[last] <= 0 || pair_.b.close[last] <= 0)) {
        --last;
    }
    const bool closes = pair_.a.close[last] > 0 && pair_.b.close[last] > 0;
    book_.close(last, closes ? pair_.a.close[last] : t.aEntry,
                closes ? pair_.b.close[last] : t.bEntry,
                rule_.closeAtEnd ? BacktestExit::PeriodEnd : BacktestExit::Open);
    state_ = State::Flat;
}

}  // namespace zepa
