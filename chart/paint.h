// The chart's entry point: the whole chart, drawn in one fixed order.
#pragma once

#include "chart/chart_context.h"

namespace zepa {

// Layout, then the chart. Only call with both bar arrays of the series allocated.
void paintChart(DrawingSurface& surface, ChartContext& c);
// The paint order: proportions, columns, prices, frame, header, axes, candles and panel,
// tomeashi, averages, lower pane.
void drawChart(DrawingSurface& surface, ChartContext& c);

}  // namespace zepa
