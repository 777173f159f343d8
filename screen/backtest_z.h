// The ratio chart's z of a / b without building its statistics: the same sliding moments of
// ln(a / b) in the same order, so each z is the one the chart shows, at a fraction of the work
// and no allocation.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "screen/backtest_slots.h"

namespace zepa {

// A slot's z as its parts: the log ratio's distance u from the window's mean, the window's sum of
// squared deviations and its length, z = u / sqrt(squares / n). Kept apart so that most slots
// are judged without the root and the division.
struct ZParts {
    double u = 0.0;
    double squares = 0.0;
    int32_t n = 2;

    double z() const { return u / std::sqrt(squares / n); }

    // True when z is certainly strictly between lo and hi, decided by comparing z² without
    // the root and the division, with a margin far beyond their rounding. False leaves the
    // question to z().
    bool surelyInside(double lo, double hi) const {
        return surelyBelow(u, hi) && surelyBelow(-u, -lo);
    }

    // v / sqrt(squares / n) < t for certain.
    bool surelyBelow(double v, double t) const {
        const double q = v * v * n;
        if (t > 0.0) {
            return v <= 0.0 || q < t * t * squares * (1.0 - 1e-9);
        }
        // The floor keeps a z that would underflow to -0 from counting as below 0.
        return v < 0.0 && q > std::max(t * t, 1e-300) * squares * (1.0 + 1e-9);
    }
};

// The ratio half of computeRatioStatistics, step for step: Welford's mean and squared
// deviations of ln a - ln b over the window, a gap restarting it, and an exactly flat run
// giving no z. Any change there must be made here too; the tests compare the two at every slot.
class RatioWindow {
  public:
    explicit RatioWindow(int32_t period) : n_(std::max(period, 2)) {}

    // Takes slot i of the legs (a over b), the slots in order from 0; true when the slot has a
    // z.
    bool push(const BacktestLeg& a, const BacktestLeg& b, int32_t i) {
        if (!usable(a.adjustedClose[i]) || !usable(b.adjustedClose[i]) ||
            !usable(a.adjustedClose[i] / b.adjustedClose[i])) {
            *this = RatioWindow(n_);
            return false;
        }
        ratio_ = a.logAdjustedClose[i] - b.logAdjustedClose[i];
        // The ratio unchanged, by cross products as the chart tells it.
        flatLength_ = run_ > 0 && a.adjustedClose[i] * b.adjustedClose[i - 1] ==
                                      a.adjustedClose[i - 1] * b.adjustedClose[i]
                          ? flatLength_ + 1
                          : 1;
        ++count_;
        const double dx = ratio_ - mean_;
        mean_ += dx / count_;
        squares_ += dx * (ratio_ - mean_);
        ++run_;
        if (run_ > n_) {
            // Subtracted again rather than kept: a store here would make the compiler keep the
            // window in memory, and this subtraction waits for nothing.
            const double gone = a.logAdjustedClose[i - n_] - b.logAdjustedClose[i - n_];
            const double dg = gone - mean_;
            --count_;
            mean_ -= dg / count_;
            squares_ = std::max(0.0, squares_ - dg * (gone - mean_));
        }
        // A window whose squares are too small to tell apart from 0 after dividing by n is
        // judged by the division itself, as the chart does.
        return run_ >= n_ && flatLength_ < n_ &&
               (squares_ > 1e-290 || (squares_ > 0.0 && squares_ / n_ > 0.0));
    }

    // What decides the z of the slot just pushed, which must have one.
    ZParts parts() const { return {ratio_ - mean_, squares_, n_}; }
    double z() const { return parts().z(); }

  private:
    static bool usable(double price) { return price > 0.0 && std::isfinite(price); }

    int32_t n_;
    int32_t count_ = 0;
    double mean_ = 0.0;
    double squares_ = 0.0;
    int32_t flatLength_ = 0;
    int32_t run_ = 0;
    double ratio_ = 0.0;  // ln a - ln b of the slot just pushed
};

// z of slots [0, count) of the pair into `z`, NaN where the chart has none (fewer than
// max(period, 2) ratios in a row, or a flat window).
void computeBacktestZ(const BacktestPair& pair, int32_t period, int32_t count, double* z);

}  // namespace zepa
