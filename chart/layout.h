// The chart's geometry: font heights, pane rectangles, the shown range of slots, the price
// scale, and the frame.
#pragma once

#include "chart/chart_context.h"

namespace zepa {

// Chooses the font heights from the chart area, selects slot 1 (header) and slot 2 (axis) and
// fills the vertical fields of the layout.
void layoutChart(DrawingSurface& surface, ChartContext& c);
// plotLeft, plotWidth, the pitch drawn with and the shown range.
void layoutColumns(DrawingSurface& surface, ChartContext& c);
// Highest high and lowest low of the shown bars of both legs; priceSpan = 180 * paneScale.
// Sets sellDrawScale for the shown range: the ratio of the legs' entry closes when both legs
// have one, else of the first shown slot where both closed; 1 without the overlay setting.
void setSellDrawScale(ChartContext& c);
void scalePrices(ChartContext& c, float priceSpan);
// Frame band, background and outline.
void drawFrame(DrawingSurface& surface, ChartContext& c);

}  // namespace zepa
