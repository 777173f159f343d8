// A chart context over `bars` empty slots on the 800 x 550 chart area, drawing on a recording
// surface; colour index i is color(i). Fonts: -15 is 8 wide and 15 high, any other height
// |h|/2 wide and |h| high, so a slot's lineHeight tells which height it holds.
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
    return std::to_string(op.x1) + "," + std::to_string(op.y1) + "," + std::to_string(op.x2) + "," +
           std::to_string(op.y2);
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
        c.dateCount = bars;
    }

    // The part of a paint that computes the layout and the shown range.
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
    // The same as "x1,y1,x2,y2 colour", "x,y icon" or "x,y font-height colour[ on background]:
    // text"; in colour `index`, just the coordinates or the text.
    Strings drawn(RecordedOp::Kind kind, int index = -1) const {
        Strings out;
        for (const RecordedOp& op : ops(kind, index)) {
            const bool text = kind == RecordedOp::Text;
            if (index >= 0) {
                out.push_back(text ? op.text : coords(op));
            } else if (kind == RecordedOp::Icon) {
                out.push_back(std::to_string(op.x1) + "," + std::to_string(op.y1) + " " +
                              std::to_string(op.iconId));
            } else if (!text) {
                out.push_back(coords(op) + " " + std::to_string(op.color - color(0)));
            } else {
                out.push_back(std::to_string(op.x1) + "," + std::to_string(op.y1) + " " +
                              std::to_string(op.fontHeight) + " " +
                              std::to_string(op.color - color(0)) +
                              (op.backgroundMode == BackgroundMode::Transparent
                                   ? ""
                                   : " on " + std::to_string(op.background - color(0))) +
                              ":" + op.text);
            }
        }
        return out;
    }
};

}  // namespace zepa::test
