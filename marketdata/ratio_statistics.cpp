#include "marketdata/ratio_statistics.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "marketdata/split_adjustment.h"

namespace zepa {
namespace {

// Means and co-moments of (x, y) pairs over a sliding window, updated as pairs enter and
// leave (Welford's method run both ways): no sum of squares is ever differenced, so a ratio
// near 1 with a tiny spread keeps its digits.
struct WindowMoments {
    int32_t n = 0;
    double meanX = 0.0;
    double meanY = 0.0;
    double xx = 0.0;  // sum of squared deviations of x
    double yy = 0.0;
    double xy = 0.0;

    void add(double x, double y) {
        ++n;
        const double dx = x - meanX;
        const double dy = y - meanY;
        meanX += dx / n;
        meanY += dy / n;
        xx += dx * (x - meanX);
        yy += dy * (y - meanY);
        xy += dx * (y - meanY);
    }

    void remove(double x, double y) {
        if (n <= 1) {
            *this = {};
            return;
        }
        const double dx = x - meanX;
        const double dy = y - meanY;
        --n;
        meanX -= dx / n;
        meanY -= dy / n;
        xx = std::max(0.0, xx - dx * (x - meanX));
        yy = std::max(0.0, yy - dy * (y - meanY));
        xy -= dx * (y - meanY);
    }
};

// Consecutive slots whose value equals the one before; an exactly flat window has a spread of
// exactly 0, which the moments' rounding left over from earlier windows would not show.
struct FlatRun {
    bool started = false;
    double last = 0.0;
    int32_t length = 0;

    void push(double v) {
        length = started && v == last ? length + 1 : 1;
        started = true;
        last = v;
    }
    bool covers(int32_t count) const { return length >= count; }
};

double adjustedClose(const DayBar& bar, double factor) {
    return bar.close * factor;
}

// Consecutive slots whose ratio equals the one before, told by the cross products
// buy × previous sell = previous buy × sell: the same test whichever leg is on top (the logs of
// an exactly constant ratio still differ in their last bits, and quotients rounded alike one
// way need not be the other way).
struct SameRatioRun {
    int32_t length = 0;
    double buy = 0.0;
    double sell = 0.0;

    void push(double b, double s) {
        length = length > 0 && b * sell == buy * s ? length + 1 : 1;
        buy = b;
        sell = s;
    }
    bool covers(int32_t count) const { return length >= count; }
};

bool usable(double price) {
    return price > 0.0 && std::isfinite(price);
}

}  // namespace

int computeRatioStatistics(const SpreadSeries& series, int32_t period, RatioStatistics& out) {
    const int32_t n = std::max(period, 2);
    out.period = n;
    const size_t count = std::min(series.buyBars.size(), series.sellBars.size());
    std::vector<double> buyFactors;
    std::vector<double> sellFactors;
    try {
        out.slots.assign(count, RatioSlot{});
        buyFactors = splitBasisFactors(series.buyBars, series.buyStart);
        sellFactors = splitBasisFactors(series.sellBars, series.sellStart);
    } catch (const std::bad_alloc&) {
        out.slots = std::vector<RatioSlot>{};
        return -1;
    }

    // Three windows slide together: the log ratios of the last n slots, and for the n - 1 steps
    // between them the legs' log returns and (previous log ratio, its change). The log closes
    // of the last n + 1 slots stay in a ring, so each close is logged once. The log ratio is
    // the difference of the legs' logs, never the log of the quotient: negating both operands
    // of every step negates each result exactly, so the legs swapped give -z to the last bit.
    WindowMoments ratios;
    WindowMoments returns;
    WindowMoments reversion;
    SameRatioRun flatRatio;
    FlatRun flatBuy;
    FlatRun flatSell;
    struct LogCloses {
        double buy = 0.0;
        double sell = 0.0;
        double ratio() const { return buy - sell; }
    };
    std::vector<LogCloses> ring;
    try {
        ring.resize(static_cast<size_t>(n) + 1);
    } catch (const std::bad_alloc&) {
        out.slots = std::vector<RatioSlot>{};
        return -1;
    }
    const auto logsAt = [&ring](size_t slot) -> LogCloses& { return ring[slot % ring.size()]; };
    int32_t run = 0;  // consecutive slots with a ratio, ending at the current one
    for (size_t i = 0; i < count; ++i) {
        RatioSlot& slot = out.slots[i];
        const double buyClose = adjustedClose(series.buyBars[i], buyFactors[i]);
        const double sellClose = adjustedClose(series.sellBars[i], sellFactors[i]);
        // Damaged adjustments can drive a factor to 0 or infinity: such a slot has no ratio.
        if (!usable(buyClose) || !usable(sellClose) || !usable(buyClose / sellClose)) {
            // A gap restarts every window.
            run = 0;
            ratios = {};
            returns = {};
            reversion = {};
            flatRatio = {};
            flatBuy = {};
            flatSell = {};
            continue;
        }
        slot.ratio = buyClose / sellClose;
        slot.hasRatio = true;
        logsAt(i) = LogCloses{std::log(buyClose), std::log(sellClose)};
        const double logRatio = logsAt(i).ratio();
        flatRatio.push(buyClose, sellClose);
        flatBuy.push(buyClose);
        flatSell.push(sellClose);

        ratios.add(logRatio, 0.0);
        if (run > 0) {
            const LogCloses& now = logsAt(i);
            const LogCloses& before = logsAt(i - 1);
            returns.add(now.buy - before.buy, now.sell - before.sell);
            const double previous = before.ratio();
            reversion.add(previous, logRatio - previous);
        }
        ++run;
        if (run > n) {
            const size_t gone = i - static_cast<size_t>(n);
            const LogCloses& first = logsAt(gone);
            const LogCloses& second = logsAt(gone + 1);
            ratios.remove(first.ratio(), 0.0);
            returns.remove(second.buy - first.buy, second.sell - first.sell);
            reversion.remove(first.ratio(), second.ratio() - first.ratio());
        }
        if (run < n) {
            continue;
        }

        const bool flat = flatRatio.covers(n);
        slot.mean = flat ? logRatio : ratios.meanX;
        slot.deviation = flat ? 0.0 : std::sqrt(ratios.xx / n);
        slot.hasMean = true;
        if (slot.deviation > 0.0) {
            slot.z = (logRatio - slot.mean) / slot.deviation;
            slot.hasZ = true;
        }
        // A leg that did not move has no returns to correlate.
        if (!flatBuy.covers(n) && !flatSell.covers(n) && returns.xx > 0.0 && returns.yy > 0.0) {
            slot.correlation =
                std::clamp(returns.xy / std::sqrt(returns.xx * returns.yy), -1.0, 1.0);
            slot.hasCorrelation = true;
        }
        // Least squares of the log ratio's change on its previous value (the intercept absorbs
        // the mean): a negative slope b pulls deviations back at rate -b per bar.
        if (!flat && reversion.xx > 0.0) {
            const double slope = reversion.xy / reversion.xx;
            if (slope < 0.0) {
                slot.halfLife = -std::log(2.0) / slope;
                slot.hasHalfLife = true;
            }
        }
    }
    return 1;
}

}  // namespace zepa
