#include "chart/scrolling.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "chart/chart_geometry.h"

namespace zepa {

namespace {

// More than any series has slots; a step beyond it changes nothing but could overflow.
constexpr int64_t kMostBars = int64_t{1} << 40;

int32_t pin(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Double-to-integer truncation that saturates instead of leaving the 64-bit range (NaN: 0).
int64_t truncSaturated(double v) {
    constexpr double kCap = 4294967296.0;
    if (!(v == v)) {
        return 0;
    }
    return static_cast<int64_t>(std::clamp(v, -kCap, kCap));
}

// What a scroll command needs from the last paint.
struct ScrollGeometry {
    bool usable = false;
    float bars = 0.0f;   // plotWidth / pitch, bar pitches that fit the plot
    int64_t step = 0;    // about four fifths of them
    int64_t newest = 0;  // dateCount - 1
};

ScrollGeometry scrollGeometry(const ChartContext& c) {
    ScrollGeometry g;
    const int32_t plotWidth = c.state.layout.plotWidth;
    const float pitch = c.state.layout.pitch;
    // Before any paint, or with no room for bars, there is nothing to move.
    if (plotWidth <= 0 || !(pitch > 0.0f)) {
        return g;
    }
    g.usable = true;
    g.bars = static_cast<float>(plotWidth) / pitch;
    g.step = truncSaturated(static_cast<double>(int64_t{plotWidth} * 4) * 0.2 / pitch);
    g.newest = int64_t{c.dateCount} - 1;
    return g;
}

bool everythingFits(const ScrollGeometry& g) {
    return static_cast<double>(g.bars) >= static_cast<double>(g.newest);
}

}  // namespace

bool scrollOlder(ChartContext& c) {
    return scrollOlderBy(c, scrollGeometry(c).step);
}

bool scrollNewer(ChartContext& c) {
    return scrollNewerBy(c, scrollGeometry(c).step);
}

bool scrollOlderBy(ChartContext& c, int64_t bars) {
    const ScrollGeometry g = scrollGeometry(c);
    if (!g.usable || c.view.firstShownBar == c.series.firstBar || everythingFits(g)) {
        return false;
    }
    // Step from what the last paint showed: a scrollBack left over from a longer series, which
    // the layout replaced by the newest slot, would otherwise jump to the oldest dates at once.
    int64_t back = g.newest - c.view.lastShownBar + std::clamp<int64_t>(bars, 0, kMostBars);
    // Keep a full plot of dates to the left of the last one shown. Stretch mode shows
    // stretchBarCount bars, one fewer than trunc(v) + 1, so trunc(v) would stop one slot short
    // of the oldest date and the command would never end.
    int64_t fit = truncSaturated(g.bars);
    if (c.settings.pitchMode == 0) {
        fit = std::min<int64_t>(fit, int64_t{stretchBarsShown(c.settings)} - 1);
    }
    if (fit > g.newest - back) {
        back = g.newest - fit;
    }
    c.view.scrollBack = pin(std::max<int64_t>(back, 0));
    return true;
}

bool scrollNewerBy(ChartContext& c, int64_t bars) {
    const ScrollGeometry g = scrollGeometry(c);
    if (!g.usable || c.view.lastShownBar == g.newest || everythingFits(g)) {
        return false;
    }
    const int64_t back = int64_t{c.view.scrollBack} - std::clamp<int64_t>(bars, 0, kMostBars);
    c.view.scrollBack = pin(std::max<int64_t>(back, 0));
    return true;
}

int64_t wheelStepBars(const ChartContext& c) {
    const int64_t shown = int64_t{c.view.lastShownBar} - c.view.firstShownBar + 1;
    return std::max<int64_t>(shown / 10, 1);
}

int64_t pageStepBars(const ChartContext& c) {
    return scrollGeometry(c).step;
}

void cursorLine(DrawingSurface& surface, const ChartContext& c, int32_t x, ColorRef color) {
    const ChartLayout& l = c.state.layout;
    const int64_t gap = truncPixels(kPriceGapUnits * l.paneScale);
    const int64_t inset = truncPixels(7 * l.paneScale);
    drawLine(surface, x, l.pricePlotTop, x, pin(l.pricePaneBottom - gap), color, PenStyle::Solid);
    drawLine(surface, x, pin(l.lowerPaneTop + inset), x, pin(l.lowerPaneBottom - inset), color,
             PenStyle::Solid);
}

int32_t cursorBarAt(const ChartContext& c, int32_t mouseX) {
    const float pitch = c.state.layout.pitch;
    const int64_t first = c.view.firstShownBar;
    const int64_t last = c.view.lastShownBar;
    int64_t bar = first;
    if (pitch > 0.0f) {
        // Half a pitch either side of a bar's x belongs to that bar.
        const float fromFirst =
            static_cast<float>(int64_t{mouseX} - c.state.layout.plotLeft) - pitch;
        bar = truncSaturated((fromFirst + 0.5 * pitch) / pitch) + first;
    }
    // Upper bound last, so that the result never lies past the newest slot shown.
    bar = std::max(bar, first);
    bar = std::min(bar, last);
    return pin(bar);
}

void jumpToCursorBar(ChartContext& c, int32_t cursorBar) {
    const int64_t back = int64_t{c.dateCount} - 1 - cursorBar;
    c.view.scrollBack = pin(std::max<int64_t>(back, 0));
}

}  // namespace zepa
