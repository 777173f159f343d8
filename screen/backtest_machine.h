// The rule's states from one close to the next, shared by the one-pair run over a z array and
// the batch's run that computes the z as it goes. Not for callers outside the backtest.
#pragma once

#include <cstdint>
#include <vector>

#include "screen/backtest_calendar.h"
#include "screen/backtest_rule.h"
#include "screen/backtest_slots.h"
#include "screen/backtest_trade.h"

namespace zepa {

// The open trade and what its fills make: quantities at entry, the profit across splits and
// the costs at exit.
class BacktestBook {
  public:
    BacktestBook(const BacktestPair& p, const BacktestCalendar& c, const BacktestRule& r,
                 std::vector<BacktestTrade>& trades)
        : pair_(p), calendar_(c), rule_(r), trades_(trades) {}

    void open(int32_t slot, int32_t aPrice, int32_t bPrice, BacktestDirection direction);
    // Completes the open trade and appends it to the trades.
    void close(int32_t slot, int32_t aPrice, int32_t bPrice, BacktestExit reason);
    const BacktestTrade& trade() const { return trade_; }

  private:
    const BacktestPair& pair_;
    const BacktestCalendar& calendar_;
    const BacktestRule& rule_;
    std::vector<BacktestTrade>& trades_;
    BacktestTrade trade_;
};

// A z known in full, as the z array gives it.
struct KnownZ {
    double value;
    bool surelyInside(double lo, double hi) const { return lo < value && value < hi; }
    double z() const { return value; }
};

class RuleMachine {
  public:
    RuleMachine(const BacktestPair& p, const BacktestCalendar& c, const BacktestRule& r,
                std::vector<BacktestTrade>& trades)
        : pair_(p), calendar_(c), rule_(r), book_(p, c, r, trades) {}

    // Date slot i: a waiting order fills at its open, then the close's z (if the slot has one)
    // may signal. `z` answers surelyInside(lo, hi) and z() (see KnownZ, ZParts).
    template <class Z>
    void step(int32_t i, bool hasZ, const Z& z) {
        if (state_ == State::EntryWaits || state_ == State::ExitWaits) {
            fillAtOpen(i);
        }
        if (!hasZ) {
            return;
        }
        if (state_ == State::Flat) {
            if (z.surelyInside(-rule_.entry, rule_.entry)) {
                return;
            }
            const double v = z.z();
            if (v >= rule_.entry) {
                enter(i, BacktestDirection::SellA);
            } else if (v <= -rule_.entry) {
                enter(i, BacktestDirection::BuyA);
            }
            return;
        }
        if (state_ != State::Holding) {
            return;
        }
        // z measured towards the side the trade was opened on: target at or below the exit
        // level, stop at or beyond the stop level, i.e. no signal strictly between them.
        const bool sellA = book_.trade().direction == BacktestDirection::SellA;
        BacktestExit reason = BacktestExit::Time;
        if (z.surelyInside(sellA ? rule_.exit : -rule_.stop, sellA ? rule_.stop : -rule_.exit)) {
            if (!timeUp(i)) {
                return;
            }
        } else {
            const double side = sellA ? z.z() : -z.z();
            if (side <= rule_.exit) {
                reason = BacktestExit::Target;
            } else if (side >= rule_.stop) {
                reason = BacktestExit::Stop;
            } else if (!timeUp(i)) {
                return;
            }
        }
        leave(i, reason);
    }

    // After the last slot: a trade still held is valued as if closed at the last close both
    // legs have (closed there, with the rule's closeAtEnd). An order still waiting for an open
    // fills nowhere: a waiting exit leaves the trade held.
    void finish(int32_t last);

  private:
    enum class State { Flat, EntryWaits, Holding, ExitWaits };

    bool timeUp(int32_t i) const {
        return calendar_.days[static_cast<size_t>(i)] -
                   calendar_.days[static_cast<size_t>(book_.trade().entrySlot)] >=
               rule_.maxDays;
    }
    void fillAtOpen(int32_t i);
    void enter(int32_t i, BacktestDirection direction);
    void leave(int32_t i, BacktestExit reason);

    const BacktestPair& pair_;
    const BacktestCalendar& calendar_;
    const BacktestRule& rule_;
    BacktestBook book_;
    State state_ = State::Flat;
    BacktestDirection waitingDirection_ = BacktestDirection::SellA;
    BacktestExit waitingReason_ = BacktestExit::Target;
};

}  // namespace zepa
