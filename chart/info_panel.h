// The header line naming both legs, the entry icons and the information panel.
#pragma once

#include <string>

#include "chart/chart_context.h"

namespace zepa {

void drawHeaderLine(DrawingSurface& surface, ChartContext& c, int32_t y);
void drawInfoPanel(DrawingSurface& surface, ChartContext& c);

// The header text in CP932, as drawn.
std::string headerLineText(const ChartContext& c);

}  // namespace zepa
