// Scrolling the shown dates and the geometry of the chart cursor.
#pragma once

#include <cstdint>

#include "chart/chart_context.h"

namespace zepa {

// Move the shown range by about four fifths of its width, using the values of the last paint.
// false: it cannot move and the caller beeps; true: scrollBack changed and the caller redraws.
bool scrollOlder(ChartContext& c);
bool scrollNewer(ChartContext& c);
// The same by `bars` slots, within the same limits; a step of 0 changes nothing but still
// reports whether the range could move.
bool scrollOlderBy(ChartContext& c, int64_t bars);
bool scrollNewerBy(ChartContext& c, int64_t bars);
// A wheel notch: a tenth of the slots the last paint showed, at least one.
int64_t wheelStepBars(const ChartContext& c);
// A page, as Left and Right move: about four fifths of the plot (0 before any paint).
int64_t pageStepBars(const ChartContext& c);

// The two cursor segments at x (the caller sets the inverting raster mode).
void cursorLine(DrawingSurface& surface, const ChartContext& c, int32_t x, ColorRef color);

// The slot nearest to a mouse x, clamped to the shown range.
int32_t cursorBarAt(const ChartContext& c, int32_t mouseX);

// Makes the cursor's slot the last one shown at the next paint.
void jumpToCursorBar(ChartContext& c, int32_t cursorBar);

}  // namespace zepa
