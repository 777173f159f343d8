// The upper pane: month and price axes, both legs' candlesticks, tomeashi and average lines.
#pragma once

#include "chart/chart_context.h"
#include "chart/chart_geometry.h"

namespace zepa {

// axisTop = priceAxisTop; axisBottom = the bottom of the candle area.
void drawPriceAxes(DrawingSurface& surface, ChartContext& c, int32_t axisTop, int32_t axisBottom);
// Candles of both legs slot by slot; records the entry icon positions, then draws the
// information panel.
void drawCandles(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t originY);
void drawTomeashi(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t originY,
                  Leg leg);
void drawAverageLine(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t originY,
                     Leg leg);

}  // namespace zepa
