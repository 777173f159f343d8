// The ratio chart of the lower pane: the z-score of the pair's price ratio on a scale whose
// grid lines stand at +-1 and +-2 standard deviations, and its title with the latest values.
#pragma once

#include <cstdint>
#include <string>

#include "chart/chart_context.h"

namespace zepa {

// The scale value of the ratio chart: the outer grid lines are +-2 sigma.
inline constexpr int32_t kRatioScaleValue = 2;

// Vertical mapping and clip band of the z line, in pixels.
struct ZLineScale {
    int32_t zeroY = 0;
    float factor = 0.0f;  // pixels per sigma
    int32_t clipTop = 0;  // first and last pixel row the line may use
    int32_t clipBottom = 0;
};

// "レシオケータ(25本)  R:1.2345  Z:+1.8  相関(25本):0.82  半減期(25本):12本" for the last shown
// slot, "--" for what it lacks; CP932.
std::string ratioTitle(const ChartContext& c);

// The slot the title's values come from: the last shown one that exists; -1 when none.
int64_t ratioTitleSlot(const ChartContext& c);

// z over the shown slots, joined only between neighbouring slots that both have a z; a lone z
// is a dot. Parts beyond the clip band are cut off at its edge.
void drawZLine(DrawingSurface& surface, const ChartContext& c, int32_t originX,
               const ZLineScale& scale);

// The trade marks of the shown slots on the z line (at the pane's edge where z is beyond it, on
// the zero line where the slot has no z): an entry triangle points at the line from below (▲)
// or above (▼); an exit is a bar across it.
void drawTradeMarks(DrawingSurface& surface, const ChartContext& c, int32_t originX,
                    const ZLineScale& scale);

}  // namespace zepa
