#include <gtest/gtest.h>

#include <QImage>

#include <climits>
#include <set>

#include "base/codepage.h"
#include "chart/chart_geometry.h"
#include "chart/paint.h"
#include "chart/primitives.h"
#include "marketdata/pair_series.h"
#include "platform/raster_surface.h"
#include "tests/support/gui_environment.h"
#include "tests/support/raster_chart.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

constexpr ColorRef kPaper = rgbColor(0x20, 0x80, 0x40), kRed = rgbColor(0xFF, 0, 0),
                   kBlue = rgbColor(0, 0, 0xFF);
using Pixels = std::set<std::pair<int, int>>;

class RasterSurfaceTest : public ::testing::Test {
  protected:
    RasterSurfaceTest() : image(40, 30, QImage::Format_RGB32), surface(image) { clear(); }
    void clear() { image.fill(pixelOf(kPaper)); }
    bool is(int x, int y, ColorRef c) const { return image.pixel(x, y) == pixelOf(c); }
    Pixels pixelsOf(ColorRef c) const {
        Pixels out;
        for (int i = 0; i < image.width() * image.height(); ++i) {
            if (is(i % image.width(), i / image.width(), c)) {
                out.insert({i % image.width(), i / image.width()});
            }
        }
        return out;
    }
    QImage image;
    RasterSurface surface;
};

TEST_F(RasterSurfaceTest, LinesAndBoxesTakeTheirExactPixels) {
    // Lines leave out the end pixel and take the upper or left pixel at halfway, either way.
    drawLine(surface, 5, 0, 5, 10, kRed, PenStyle::Solid);
    drawLine(surface, 20, 20, 20, 20, kRed, PenStyle::Solid);
    drawLine(surface, 0, 0, 4, 1, kBlue, PenStyle::Solid);
    drawLine(surface, 4, 11, 0, 10, kBlue, PenStyle::Solid);
    EXPECT_EQ(pixelsOf(kRed).size(), 10u);
    EXPECT_TRUE(is(5, 9, kRed) && is(5, 10, kPaper));
    EXPECT_EQ(pixelsOf(kBlue),
              (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 11}, {3, 11}, {2, 10}, {1, 10}}));
    // Fills take both corners, also upside down; outlines only the edge.
    clear();
    fillBox(surface, 23, 9, 20, 5, kRed);
    outlineBox(surface, 0, 0, 4, 3, kBlue, PenStyle::Solid);
    EXPECT_EQ(pixelsOf(kRed).size(), 4u * 5u);
    EXPECT_TRUE(is(20, 5, kRed) && is(23, 9, kRed));
    EXPECT_EQ(pixelsOf(kBlue).size(), 14u);
    EXPECT_TRUE(is(4, 3, kBlue) && is(1, 1, kPaper));
}

TEST_F(RasterSurfaceTest, DottedPenRunsThreeOnThreeOffAlongEachPath) {
    drawLine(surface, 0, 0, 12, 0, kRed, PenStyle::Dot);
    EXPECT_EQ(pixelsOf(kRed), (Pixels{{0, 0}, {1, 0}, {2, 0}, {6, 0}, {7, 0}, {8, 0}}));
    // Around a corner the run goes on: (6,10) (7,10) (7,11) are one run.
    outlineBox(surface, 0, 10, 7, 14, kRed, PenStyle::Dot);
    EXPECT_TRUE(is(6, 10, kRed) && is(7, 11, kRed) && is(7, 12, kPaper) && is(6, 14, kRed));
    // A new path starts afresh.
    drawLine(surface, 0, 20, 4, 20, kRed, PenStyle::Dot);
    drawLine(surface, 4, 21, 8, 21, kRed, PenStyle::Dot);
    EXPECT_TRUE(is(3, 20, kPaper) && is(4, 21, kRed));
}

TEST_F(RasterSurfaceTest, EllipsesAreInscribedAndOutlined) {
    // The entry-day dot, 3 x 4 at (10, 10): all outline.
    fillEllipse(surface, 9, 9, 11, 12, kRed);
    EXPECT_EQ(pixelsOf(0), (Pixels{{9, 9}, {10, 9}, {9, 10}, {10, 10}, {9, 11}, {10, 11}}));
    fillEllipse(surface, 20, 5, 29, 12, kRed);  // columns 20-28, rows 5-11
    EXPECT_TRUE(is(24, 8, kRed) && is(24, 5, 0) && is(28, 8, 0) && is(20, 5, kPaper) &&
                is(29, 8, kPaper) && is(24, 12, kPaper));
}

TEST_F(RasterSurfaceTest, EntryIconsPointWithTheirTipsAndKeepTheSurround) {
    surface.drawIcon(10, 0, kBuyEntryIcon);    // tip at column 7, row 0
    surface.drawIcon(10, 13, kSellEntryIcon);  // tip at column 7, row 16
    EXPECT_TRUE(is(17, 0, 0) && is(16, 0, kPaper) && is(17, 2, kRed) && is(10, 0, kPaper));
    EXPECT_TRUE(is(17, 29, 0) && is(18, 29, kPaper) && is(17, 27, kBlue) && is(24, 29, kPaper));
    clear();
    surface.drawIcon(0, 0, 599);               // unknown
    surface.drawIcon(-7, 20, kSellEntryIcon);  // half off the image
    EXPECT_TRUE(is(0, 0, kPaper) && is(0, 29, kBlue));
    EXPECT_EQ(QImage(QStringLiteral(":/toolbar/buttons.xpm")).size(), QSize(18 * 11, 18));
}

TEST_F(RasterSurfaceTest, HostileCoordinatesAreClippedWithoutWalkingThem) {
    // Walking a path of 2^32 pixels would show as the test's timeout.
    drawLine(surface, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kRed, PenStyle::Solid);
    EXPECT_TRUE(is(0, 0, kRed) && is(29, 29, kRed) && is(30, 29, kPaper));
    // The dot pattern counts the pixels clipped away: x = 0 is pixel 6,000,000 of the path.
    drawLine(surface, -6000000, 25, 20, 25, kBlue, PenStyle::Dot);
    EXPECT_TRUE(is(0, 25, kBlue) && is(3, 25, kPaper) && is(6, 25, kBlue));

    surface.setRasterOp(RasterOp::Not);
    drawLine(surface, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, kRed, PenStyle::Dot);
    surface.setRasterOp(RasterOp::CopyPen);
    outlineBox(surface, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kRed, PenStyle::Dot);
    fillBox(surface, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kBlue);
    EXPECT_EQ(pixelsOf(kBlue).size(), 40u * 30u);
    fillEllipse(surface, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, kRed);
    EXPECT_TRUE(is(20, 15, kRed));
    surface.drawIcon(INT32_MAX, INT32_MIN, kBuyEntryIcon);
    surface.drawIcon(INT32_MIN, INT32_MAX, kBuyEntryIcon);
    surface.textOut(INT32_MAX, INT32_MAX, "X");
    surface.textOut(INT32_MIN, INT32_MIN, "X");
    surface.textOut(0, 0, "[ 7\x94");  // a cut lead byte takes another way through the font
    EXPECT_EQ(surface.createFont(FontRequest{kChartFontFace, INT32_MIN}), 0);
}

// A whole chart from written price files: the pixels a trader sees first.
class WholeChart : public Installation {
  protected:
    // The pair 1111 / 2222 over the file's dates.
    void build(const DbwFile& file) {
        writeDb("DBW.001", file);
        load();
        ASSERT_EQ(buildPairSeries(md_, {}, position, {}, series).result, 1);
    }
    PositionRecord position{leg('T', 1111), leg('T', 2222)};
    SpreadSeries series;
};

TEST_F(WholeChart, FrameBackgroundAndCandlesInTheirColours) {
    // Even slots rise, odd slots fall; the legs' prices never overlap.
    DbwFile file = dbw({}, {{tokyo(1111), "BUY", {}}, {tokyo(2222), "SELL", {}}});
    for (int d = 0; d < 40; ++d) {
        file.dates.push_back(ymd(2025, 1 + d / 20, 1 + d % 20));
        for (DbwStock& s : file.stocks) {
            const int32_t base = s.key == tokyo(1111) ? 1000 : 2000, up = d % 2 == 0 ? 10 : 0;
            s.records.push_back(DbwRecord{base + 10 - up, base + 30, base - 20, base + up, 5000});
        }
    }
    build(file);
    RasterChart chart(series, position, md_.set.dateCount);
    const ChartContext& c = chart.c;
    // Frame band, background, the header's box; nothing above the chart area.
    EXPECT_EQ(chart.at(798, 200), chart.colorOf(10));
    EXPECT_EQ(chart.at(10, 300), chart.colorOf(11));
    EXPECT_EQ(chart.at(5, kToolbarHeight + 4), chart.colorOf(13));
    EXPECT_EQ(chart.at(400, 10), qRgb(0, 0, 0));

    ASSERT_TRUE(chart.view.firstShownBar == 0 && chart.view.lastShownBar == 39);
    BarAxis axis = barAxis(c);
    for (int slot = 0; slot < 2; ++slot) {
        const int x = axis.advance();
        for (Leg leg : {Leg::Buy, Leg::Sell}) {
            const DayBar& bar = legBars(c, leg).bars[slot];
            const int index = (leg == Leg::Buy ? 90 : 94) + (bar.close >= bar.open ? 1 : 0);
            // The upper wick leaves the body's top edge towards the high.
            EXPECT_EQ(chart.at(x, priceY(c, std::max(bar.open, bar.close)) - 1),
                      chart.colorOf(index))
                << slot;
            EXPECT_EQ(chart.at(x, priceY(c, bar.high) + 1), chart.colorOf(index)) << slot;
        }
    }
}

}  // namespace
}  // namespace zepa::test
