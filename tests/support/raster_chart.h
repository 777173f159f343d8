// A whole chart painted on the real raster surface with the start-up colours, as the window
// shows it at scale 1: for the pixel probes of the drawing rules.
#pragma once

#include <QImage>

#include "chart/paint.h"
#include "chart/primitives.h"
#include "platform/raster_surface.h"

namespace zepa::test {

struct RasterChart {
    RasterChart(const SpreadSeries& series, const PositionRecord& position, int32_t dateCount,
                const ChartSettings& chosen = {}, const RatioStatistics* ratio = nullptr)
        : settings(chosen), c{view,      settings, colors, series, position,
                              dateCount, fonts,    state,  ratio} {
        resetColorTable(colors);
        resetSpreadColors(colors);
        image.fill(Qt::black);
        view.chartArea = ChartRect{0, kToolbarHeight, 800, 580};
        paintChart(surface, c);
    }
    ~RasterChart() { releaseFontSlots(surface, fonts); }
    RasterChart(const RasterChart&) = delete;
    RasterChart& operator=(const RasterChart&) = delete;

    QRgb at(int x, int y) const { return image.pixel(x, y); }
    QRgb colorOf(int index) const { return pixelOf(colors.colors[index]); }

    QImage image{800, 580, QImage::Format_RGB32};
    RasterSurface surface{image};
    ViewState view;
    ChartSettings settings;
    ColorTable colors;
    FontSlotTable fonts;
    ChartState state;
    ChartContext c;
};

}  // namespace zepa::test
