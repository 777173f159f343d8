// The lower pane: profit bars, change-rate lines or spread bars on a scale symmetric around
// the zero line, with title, grid and labels.
#pragma once

#include "chart/chart_context.h"

namespace zepa {

void drawLowerPane(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t top);
void drawProfitBars(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t top);
void drawChangeRateLines(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t top);
void drawSpreadBars(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t top);

}  // namespace zepa
