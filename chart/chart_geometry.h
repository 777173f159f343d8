// The mappings every pane shares: bar x from a float accumulator, price y, and which slots of a
// leg hold data and a moving average.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "base/wrapping.h"
#include "chart/chart_context.h"

namespace zepa {

// x of successive slots from firstShownBar on: the pitch is added once per slot, by repeated
// float addition, so the first shown bar stands at plotLeft + trunc(pitch).
struct BarAxis {
    int32_t plotLeft = 0;
    float pitch = 0.0f;
    float accumulator = 0.0f;

    int32_t advance() {
        accumulator += pitch;
        return static_cast<int32_t>(int64_t{plotLeft} + truncToInt32(accumulator));
    }
};

inline BarAxis barAxis(const ChartContext& c) {
    return BarAxis{c.state.layout.plotLeft, c.state.layout.pitch, 0.0f};
}

// y of a price in the upper pane.
inline int32_t priceY(const ChartContext& c, int32_t price) {
    const PriceScale& s = c.state.scale;
    const float offset = static_cast<float>(int64_t{s.priceMax} - price) * s.priceScale;
    return static_cast<int32_t>(int64_t{c.state.layout.pricePlotTop} + truncToInt32(offset));
}

inline int32_t truncPixels(float v) {
    return truncToInt32(v);
}

struct LegBars {
    const std::vector<DayBar>& bars;  // as shown: split-adjusted when that display is on
    int32_t start;
    int32_t entryBar;
    int32_t averageStart;  // first slot that holds a real moving average
    int32_t factor;
    int32_t quantity;
};

inline LegBars legBars(const ChartContext& c, Leg leg) {
    const SpreadSeries& s = c.series;
    if (leg == Leg::Buy) {
        return LegBars{shownBars(s, leg), s.buyStart,  s.buyEntryBar,
                       s.buyAverageStart, s.buyFactor, c.position.buy.quantity};
    }
    return LegBars{shownBars(s, leg),  s.sellStart,  s.sellEntryBar,
                   s.sellAverageStart, s.sellFactor, c.position.sell.quantity};
}

// A price of the leg as the price pane draws it: the sell leg scaled while it is overlaid.
inline int32_t drawnPrice(const ChartContext& c, Leg leg, int32_t price) {
    const double scale = c.state.sellDrawScale;
    if (leg == Leg::Buy || scale == 1.0) {
        return price;
    }
    return static_cast<int32_t>(std::clamp(
        std::round(price * scale), static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

// A leg has an average at slot i once its average period has passed since its own start.
inline bool hasAverage(const LegBars& leg, int32_t i) {
    return i >= leg.averageStart;
}

}  // namespace zepa
