// The chart's entry point: the whole chart, drawn in one fixed order.
#pragma once

#include "chart/chart_context.h"

namespace zepa {

// Layout, then the chart. Only call with both bar arrays of the series allocated.
void paintChart(DrawingSurface& surface, ChartContext& c);
// The paint order: proportions, columns, prices, frame, header, axes, candles and panel,
// tomeashi, averages, lower pane.
void drawChart(DrawingSurface& surface, ChartContext& c);
// The chart of a position whose series could not be built: the frame and the header naming the
// position, no bars. The bar arrays are not read.
void paintEmptyChart(DrawingSurface& surface, ChartContext& c);

}  // namespace zepa
