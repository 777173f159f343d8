// A whole chart painted on the raster surface from price files made by the writer: the key
// pixels a trader looks at first.
#include <gtest/gtest.h>

#include <QImage>

#include "chart/chart_geometry.h"
#include "chart/paint.h"
#include "marketdata/pair_series.h"
#include "platform/raster_surface.h"
#include "tests/support/gui_environment.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

using WholeChart = Installation;

TEST_F(WholeChart, FrameBackgroundAndCandlesInTheirColours) {
    // Even slots rise, odd slots fall; the sell leg trades twice as high, so the legs never
    // overlap.
    DbwFile file = dbw({}, {{tokyo(1111), "BUY", {}}, {tokyo(2222), "SELL", {}}});
    for (int d = 0; d < 40; ++d) {
        file.dates.push_back(ymd(2025, 1 + d / 20, 1 + d % 20));
        for (DbwStock& s : file.stocks) {
            const int32_t base = s.key == tokyo(1111) ? 1000 : 2000, up = d % 2 == 0 ? 10 : 0;
            s.records.push_back(DbwRecord{base + 10 - up, base + 30, base - 20, base + up, 5000});
        }
    }
    writeDb("DBW.001", file);
    load();
    PositionRecord position{leg('T', 1111), leg('T', 2222)};
    SpreadSeries series;
    ASSERT_EQ(buildPairSeries(md_, {}, position, {}, series).result, 1);
    ColorTable colors;
    resetColorTable(colors);
    resetSpreadColors(colors);

    QImage image(800, 580, QImage::Format_RGB32);
    image.fill(Qt::black);
    RasterSurface surface(image);
    ViewState view;
    view.chartArea = ChartRect{0, kToolbarHeight, 800, 580};
    ChartSettings settings;
    FontSlotTable fonts;
    ChartState state;
    ChartContext c{view, settings, colors, series, position, md_.set.dateCount, fonts, state};
    paintChart(surface, c);

    const auto at = [&](int x, int y) { return image.pixel(x, y); };
    const auto color = [&](int index) { return pixelOf(colors.colors[index]); };
    // The frame band around the chart, the background inside it and the header's box.
    EXPECT_EQ(at(1, 200), color(10));
    EXPECT_EQ(at(798, 200), color(10));
    EXPECT_EQ(at(400, kToolbarHeight + 1), color(10));
    EXPECT_EQ(at(10, 300), color(11));
    EXPECT_EQ(at(5, kToolbarHeight + 4), color(13));
    EXPECT_EQ(at(400, 10), qRgb(0, 0, 0));  // nothing above the chart area is touched

    ASSERT_EQ(view.firstShownBar, 0);
    ASSERT_EQ(view.lastShownBar, 39);
    BarAxis axis = barAxis(c);
    for (int slot = 0; slot < 4; ++slot) {
        const int x = axis.advance();
        for (Leg leg : {Leg::Buy, Leg::Sell}) {
            const DayBar& bar = legBars(c, leg).bars[slot];
            const int index = (leg == Leg::Buy ? 90 : 94) + (bar.close >= bar.open ? 1 : 0);
            // The upper wick leaves the body's top edge towards the high.
            const int bodyTop = priceY(c, std::max(bar.open, bar.close));
            EXPECT_EQ(at(x, bodyTop - 1), color(index)) << "slot " << slot;
            EXPECT_EQ(at(x, priceY(c, bar.high) + 1), color(index)) << "slot " << slot;
        }
    }
    releaseFontSlots(surface, fonts);
}

}  // namespace
}  // namespace zepa::test
