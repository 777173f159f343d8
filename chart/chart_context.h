// What one chart paint reads and writes: the inputs of the position on show, and the layout,
// scale and markers the paint computes for the other parts and for mouse handling.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "chart/primitives.h"
#include "chart/trade_marks.h"
#include "chart/view_state.h"
#include "marketdata/pair_series.h"
#include "marketdata/position_file.h"
#include "marketdata/ratio_statistics.h"
#include "settings/chart_settings.h"
#include "settings/color_table.h"

namespace zepa {

// Recomputed at every paint; all pixels in client coordinates.
struct ChartLayout {
    int32_t headerFontHeight = -15;
    int32_t axisFontHeight = -15;
    int32_t labelFontHeight = -13;
    float paneScale = 0.0f;  // pixels per unit of the 310-unit pane height
    // The pitch the bars are drawn with: the user's, or in stretch mode the plot's width over
    // the bars shown. The user's stored pitch is never replaced by it.
    float pitch = 0.0f;
    int32_t headerLeft = 0;
    int32_t headerRight = 0;
    int32_t pricePaneLeft = 0;
    int32_t pricePaneRight = 0;
    int32_t pricePaneTop = 0;
    int32_t priceAxisTop = 0;
    int32_t pricePlotTop = 0;
    int32_t pricePaneBottom = 0;
    int32_t lowerTitleTop = 0;
    int32_t lowerTitleBottom = 0;
    int32_t lowerPaneLeft = 0;
    int32_t lowerPaneRight = 0;
    int32_t lowerPaneTop = 0;
    int32_t lowerPaneBottom = 0;
    int32_t plotLeft = 0;
    int32_t plotWidth = 0;
};

// Pane proportions in units of the 310-unit height.
inline constexpr int kPricePaneUnits = 180;
inline constexpr int kPriceGapUnits = 20;
inline constexpr int kLowerPaneUnits = 110;

struct PriceScale {
    int32_t priceMax = 0;
    int32_t priceMin = 999999999;
    float priceScale = 0.0f;  // pixels per price unit
};

// Where the entry icons go, recorded by the candle loop for the information panel.
struct EntryIcons {
    bool buyRecorded = false;
    int32_t buyX = 0;
    int32_t buyY = 0;
    bool sellRecorded = false;
    int32_t sellX = 0;
    int32_t sellY = 0;
};

inline constexpr int32_t kNoLowerScaleValue = 1000000000;

// State the chart keeps between paints.
struct ChartState {
    ChartLayout layout;
    PriceScale scale;
    int32_t lowerScaleValue = 0;  // V of the lower-pane body drawn last
    EntryIcons icons;
    // The sell leg's prices are drawn times this (buy entry close / sell entry close while the
    // sell leg is overlaid at the entry, else 1); the panel and tables keep real prices.
    double sellDrawScale = 1.0;
};

struct ChartContext {
    ViewState& view;
    ChartSettings& settings;  // a pitch that is not a number is replaced by the layout
    const ColorTable& colors;
    const SpreadSeries& series;  // both bar arrays allocated
    const PositionRecord& position;
    int32_t dateCount = 0;
    FontSlotTable& fonts;
    ChartState& state;
    const RatioStatistics* ratio = nullptr;  // of the series; none: the ratio chart stays empty
    // A screened pair shown as if held: "候補" in the header line, no entry arrows.
    bool candidate = false;
    // Simulated trades drawn on the ratio chart; none: no marks.
    const TradeMarks* tradeMarks = nullptr;
};

inline ColorRef chartColor(const ChartContext& c, int index) {
    return c.colors.colors[index];
}

// The ratio statistics of date slot `slot`; null without statistics or outside them.
inline const RatioSlot* ratioSlotAt(const ChartContext& c, int64_t slot) {
    if (c.ratio == nullptr || slot < 0 || slot >= std::ssize(c.ratio->slots)) {
        return nullptr;
    }
    return &c.ratio->slots[static_cast<size_t>(slot)];
}

}  // namespace zepa
