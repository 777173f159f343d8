// Scrolling the shown dates and the geometry of the chart cursor.
#pragma once

#include "chart/chart_context.h"

namespace zepa {

// Move the shown range by about four fifths of its width, using the values of the last paint.
// false: it cannot move and the caller beeps; true: scrollBack changed and the caller redraws.
bool scrollOlder(ChartContext& c);
bool scrollNewer(ChartContext& c);

// The two cursor segments at x (the caller sets the inverting raster mode).
void cursorLine(DrawingSurface& surface, const ChartContext& c, int32_t x, ColorRef color);

// The slot nearest to a mouse x, clamped to the shown range.
int32_t cursorBarAt(const ChartContext& c, int32_t mouseX);

// Makes the cursor's slot the last one shown at the next paint.
void jumpToCursorBar(ChartContext& c, int32_t cursorBar);

}  // namespace zepa
