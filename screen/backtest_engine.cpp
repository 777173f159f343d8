#include "screen/backtest_engine.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "marketdata/position_figures.h"
#include "marketdata/split_adjustment.h"
#include "screen/backtest_z.h"

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

class Simulation {
  public:
    Simulation(const BacktestPair& p, const BacktestCalendar& c, const BacktestRule& r,
               std::vector<BacktestTrade>& trades)
        : pair_(p), calendar_(c), rule_(r), trades_(trades) {}

    void open(int32_t slot, int32_t aPrice, int32_t bPrice, BacktestDirection direction) {
        trade_ = BacktestTrade{};
        trade_.entrySlot = slot;
        trade_.entryDate = calendar_.dates[static_cast<size_t>(slot)];
        trade_.direction = direction;
        trade_.aEntry = aPrice;
        trade_.bEntry = bPrice;
        trade_.aQuantity = quantityFor(rule_.amount, aPrice);
        trade_.bQuantity = quantityFor(rule_.amount, bPrice);
    }

    void close(int32_t slot, int32_t aPrice, int32_t bPrice, BacktestExit reason) {
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
        t.gross = finiteOrZero(aSign * qa * (aPrice / fa - t.aEntry) -
                               aSign * qb * (bPrice / fb - t.bEntry));
        const double aValue = qa * t.aEntry;
        const double bValue = qb * t.bEntry;
        t.commission = finiteOrZero(rule_.commission *
                                    (aValue + bValue + qa / fa * aPrice + qb / fb * bPrice));
        const int32_t days =
            std::max(0, settlementDay(calendar_, slot) - settlementDay(calendar_, t.entrySlot) + 1);
        const bool buyA = t.direction == BacktestDirection::BuyA;
        t.interest = finiteOrZero(rule_.buyRate * (buyA ? aValue : bValue) * days / 365.0);
        t.borrowFee = finiteOrZero(rule_.borrowRate * (buyA ? bValue : aValue) * days / 365.0);
        constexpr auto kLimit = static_cast<double>(kProfitLimit);
        t.net = std::llround(
            std::clamp(t.gross - t.commission - t.interest - t.borrowFee, -kLimit, kLimit));
        trades_.push_back(t);
    }

    const BacktestTrade& trade() const { return trade_; }

  private:
    const BacktestPair& pair_;
    const BacktestCalendar& calendar_;
    const BacktestRule& rule_;
    std::vector<BacktestTrade>& trades_;
    BacktestTrade trade_;
};

enum class State { Flat, EntryWaits, Holding, ExitWaits };

}  // namespace

int prepareBacktestWorkspace(BacktestWorkspace& ws, int32_t slotCount) {
    const auto n = static_cast<size_t>(std::max(slotCount, 0));
    try {
        if (ws.z.size() < n) {
            ws.z.resize(n);
            ws.ratios.resize(n);
        }
        // A trade takes two slots at least: this many never have to grow.
        ws.trades.reserve(n / 2 + 1);
        ws.holdings.reserve(n / 2 + 1);
    } catch (const std::bad_alloc&) {
        ws = BacktestWorkspace{};
        return -1;
    }
    return 1;
}

BacktestRange backtestRange(const BacktestCalendar& calendar, const BacktestRule& rule,
                            int32_t slotCount) {
    BacktestRange range;
    const int32_t count = std::min(slotCount, static_cast<int32_t>(calendar.dates.size()));
    range.first = count;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t date = calendar.dates[static_cast<size_t>(i)];
        if (date >= rule.startDate && range.first == count) {
            range.first = i;
        }
        if (date <= rule.endDate) {
            range.last = i;
        }
    }
    return range;
}

void simulateBacktestRange(const BacktestPair& pair, const double* z,
                           const BacktestCalendar& calendar, const BacktestRule& rule,
                           BacktestRange range, BacktestWorkspace& ws, BacktestStats& stats) {
    ws.trades.clear();
    Simulation sim(pair, calendar, rule, ws.trades);
    const bool atOpen = rule.fill == BacktestFill::Open;
    State state = State::Flat;
    BacktestDirection waitingDirection = BacktestDirection::SellA;
    BacktestExit waitingReason = BacktestExit::Target;
    for (int32_t i = range.first; i <= range.last; ++i) {
        // An order waiting for the open fills on the first date both legs trade.
        if (state == State::EntryWaits || state == State::ExitWaits) {
            const int32_t aOpen = pair.a.open[i];
            const int32_t bOpen = pair.b.open[i];
            if (aOpen > 0 && bOpen > 0) {
                if (state == State::EntryWaits) {
                    sim.open(i, aOpen, bOpen, waitingDirection);
                    state = State::Holding;
                } else {
                    sim.close(i, aOpen, bOpen, waitingReason);
                    state = State::Flat;
                }
            }
        }
        const double zi = z[i];
        if (std::isnan(zi)) {
            continue;
        }
        if (state == State::Flat) {
            BacktestDirection direction;
            if (zi >= rule.entry) {
                direction = BacktestDirection::SellA;
            } else if (zi <= -rule.entry) {
                direction = BacktestDirection::BuyA;
            } else {
                continue;
            }
            if (atOpen) {
                waitingDirection = direction;
                state = State::EntryWaits;
            } else {
                sim.open(i, pair.a.close[i], pair.b.close[i], direction);
                state = State::Holding;
            }
            // The close that opened a trade gives it no exit signal.
            continue;
        }
        if (state != State::Holding) {
            continue;
        }
        // z measured towards the side the trade was opened on.
        const double side = sim.trade().direction == BacktestDirection::SellA ? zi : -zi;
        BacktestExit reason;
        if (side <= rule.exit) {
            reason = BacktestExit::Target;
        } else if (side >= rule.stop) {
            reason = BacktestExit::Stop;
        } else if (calendar.days[static_cast<size_t>(i)] -
                       calendar.days[static_cast<size_t>(sim.trade().entrySlot)] >=
                   rule.maxDays) {
            reason = BacktestExit::Time;
        } else {
            continue;
        }
        if (atOpen) {
            waitingReason = reason;
            state = State::ExitWaits;
        } else {
            // No entry at the close a trade left at.
            sim.close(i, pair.a.close[i], pair.b.close[i], reason);
            state = State::Flat;
        }
    }
    if (state == State::Holding || state == State::ExitWaits) {
        // Valued as if closed at the last close both legs have.
        const int32_t entry = sim.trade().entrySlot;
        int32_t last = range.last;
        while (last > entry && (pair.a.close[last] <= 0 || pair.b.close[last] <= 0)) {
            --last;
        }
        const bool closes = pair.a.close[last] > 0 && pair.b.close[last] > 0;
        sim.close(last, closes ? pair.a.close[last] : sim.trade().aEntry,
                  closes ? pair.b.close[last] : sim.trade().bEntry, BacktestExit::Open);
    }
    computeBacktestStats(ws.trades.data(), ws.trades.size(), ws.holdings, stats);
}

int simulateBacktest(const BacktestPair& pair, const double* z, const BacktestCalendar& calendar,
                     const BacktestRule& rule, BacktestWorkspace& ws, BacktestStats& stats) {
    stats = BacktestStats{};
    ws.trades.clear();
    if (pair.slotCount > static_cast<int32_t>(calendar.dates.size()) ||
        calendar.days.size() != calendar.dates.size()) {
        return 0;
    }
    if (prepareBacktestWorkspace(ws, pair.slotCount) != 1) {
        return -1;
    }
    simulateBacktestRange(pair, z, calendar, rule, backtestRange(calendar, rule, pair.slotCount),
                          ws, stats);
    return 1;
}

int runBacktest(const BacktestPair& pair, const BacktestCalendar& calendar,
                const BacktestRule& rule, BacktestWorkspace& ws, BacktestStats& stats) {
    stats = BacktestStats{};
    ws.trades.clear();
    if (pair.slotCount > static_cast<int32_t>(calendar.dates.size()) ||
        calendar.days.size() != calendar.dates.size()) {
        return 0;
    }
    if (prepareBacktestWorkspace(ws, pair.slotCount) != 1) {
        return -1;
    }
    const BacktestRange range = backtestRange(calendar, rule, pair.slotCount);
    computeBacktestZ(pair, rule.ratioPeriod, range.last + 1, ws.z.data(), ws.ratios.data());
    simulateBacktestRange(pair, ws.z.data(), calendar, rule, range, ws, stats);
    return 1;
}

}  // namespace zepa
