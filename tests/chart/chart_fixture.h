// A chart context over `bars` empty slots on the 800 x 550 chart area, drawing on a recording
// surface; colour index i is color(i). Fonts: -15 is 8 wide and 15 high, any other height
// |h|/2 wide and |h| high.
#pragma once

#include <string>
#include <vector>

#include "chart/chart_geometry.h"
#include "chart/layout.h"
#include "tests/support/recording_surface.h"

namespace zepa::test {

constexpr ColorRef color(int index) {
    return 0x10000 + static_cast<ColorRef>(index);
}

inline std::string coords(const RecordedOp& op) {
    const auto n = [](int32_t v) { return std::to_string(v); };
    return n(op.x1) + "," + n(op.y1) + "," + n(op.x2) + "," + n(op.y2);
}

using Strings = std::vector<std::string>;
using Ints = std::vector<int32_t>;

struct ChartFixture {
    ViewState view;
    ChartSettings settings;
    ColorTable colors;
    SpreadSeries series;
    PositionRecord position;
    FontSlotTable fonts;
    ChartState state;
    RecordingSurface surface;
    ChartContext c{view, settings, colors, series, position, 0, fonts, state};

    explicit ChartFixture(int32_t bars = 1000) {
        view.chartArea = {0, kToolbarHeight, 800, 580};
        surface.metricsFor = [](int32_t h) {
            return h == -15 ? TextMetrics{8, 15, 12, 0} : TextMetrics{-h / 2, -h, -h, 0};
        };
        for (int i = 0; i < kColorCount; ++i) {
            colors.colors[i] = color(i);
        }
        series.buyBars.resize(static_cast<size_t>(bars));
        series.sellBars.resize(static_cast<size_t>(bars));
        series.buyBarsAllocated = series.sellBarsAllocated = true;
        c.dateCount = bars;
    }

    const ChartLayout& layout() {
        layoutChart(surface, c);
        layoutColumns(surface, c);
        return state.layout;
    }

    // The operations of one kind, in colour `index` or (index < 0) in any colour.
    std::vector<RecordedOp> ops(RecordedOp::Kind kind, int index = -1) const {
        std::vector<RecordedOp> out;
        for (const RecordedOp& op : surface.ofKind(kind)) {
            if (index < 0 || op.color == color(index)) {
                out.push_back(op);
            }
        }
        return out;
    }
    // In colour `index` the coordinates or the text; in any colour "x,y icon" or
    // "x,y font-height colour[ on background]:text".
    Strings drawn(RecordedOp::Kind kind, int index = -1) const {
        Strings out;
        for (const RecordedOp& op : ops(kind, index)) {
            const auto n = [](int64_t v) { return std::to_string(v); };
            const bool box = op.backgroundMode != BackgroundMode::Transparent;
            if (kind == RecordedOp::Icon) {
                out.push_back(n(op.x1) + "," + n(op.y1) + " " + n(op.iconId));
            } else if (kind != RecordedOp::Text) {
                out.push_back(coords(op));
            } else {
                out.push_back(index >= 0 ? op.text
                                         : n(op.x1) + "," + n(op.y1) + " " + n(op.fontHeight) +
                                               " " + n(op.color - color(0)) +
                                               (box ? " on " + n(op.background - color(0)) : "") +
                                               ":" + op.text);
            }
        }
        return out;
    }
};

}  // namespace zepa::test
