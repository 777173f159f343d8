// The picture of a walk-forward: the realised cumulative net of the trades chosen ahead (solid)
// and of the same pairs over their own windows (second colour) against the dates, with a yen
// axis, the zero line and a label for each curve. Plain code on the drawing surface, so that
// both shells draw the same picture.
#pragma once

#include <cstdint>
#include <vector>

#include "chart/surface.h"
#include "screen/walkforward_stats.h"

namespace zepa {

inline constexpr ColorRef kWalkForwardOutColor = rgbColor(0, 64, 192);
inline constexpr ColorRef kWalkForwardInColor = rgbColor(224, 112, 0);
inline constexpr ColorRef kWalkForwardZeroColor = rgbColor(128, 128, 128);
inline constexpr ColorRef kWalkForwardAxisColor = rgbColor(0, 0, 0);
inline constexpr ColorRef kWalkForwardBackground = rgbColor(255, 255, 255);

// The labels, UTF-8: out of sample, then in sample.
inline constexpr const char* kWalkForwardOutLabel = "取引期間(選定の後)";
inline constexpr const char* kWalkForwardInLabel = "選定期間(同じ組)";

// Where the picture put things, for the shells' tests.
struct WalkForwardPlotLayout {
    int32_t left = 0;  // the plot area [left, right) x [top, bottom)
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int64_t low = 0;  // yen at the bottom and the top
    int64_t high = 0;
    int32_t firstDay = 0;  // days since 1970 at the left and right edges
    int32_t lastDay = 0;
    int32_t zeroY = 0;
    std::vector<int64_t> ticks;  // the yen axis' figures, low to high
};

// The y of a yen value and the x of a date (YYYYMMDD) in the layout.
int32_t walkForwardPlotY(const WalkForwardPlotLayout& layout, int64_t yen);
int32_t walkForwardPlotX(const WalkForwardPlotLayout& layout, int32_t date);

// Draws both curves into [0, width) x [0, height). Each curve starts from 0 at its first date.
WalkForwardPlotLayout drawWalkForwardPlot(DrawingSurface& surface, int32_t width, int32_t height,
                                          const std::vector<WalkForwardCurvePoint>& out,
                                          const std::vector<WalkForwardCurvePoint>& in,
                                          int32_t firstDate);

}  // namespace zepa
