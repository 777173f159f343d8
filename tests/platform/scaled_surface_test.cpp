// The raster surface above scale 1: the same logical calls, s x s device pixels per logical
// pixel, lines s pixels wide and text from a font s times the size rather than blown up.
#include <gtest/gtest.h>

#include <QImage>

#include <climits>
#include <functional>

#include "base/codepage.h"
#include "chart/primitives.h"
#include "platform/pixel_art_scale.h"
#include "platform/raster_surface.h"

namespace zepa::test {
namespace {

constexpr ColorRef kPaper = rgbColor(0x20, 0x80, 0x40), kRed = rgbColor(0xFF, 0, 0),
                   kBlue = rgbColor(0, 0, 0xFF), kWhite = rgbColor(0xFF, 0xFF, 0xFF);
constexpr int kWidth = 40, kHeight = 30;

struct Scaled {
    explicit Scaled(int s) : image(kWidth * s, kHeight * s, QImage::Format_RGB32), surface(image) {
        surface.setScale(s);
        image.setDevicePixelRatio(s);  // as the windows' pictures carry it
        image.fill(pixelOf(kPaper));
    }
    int count(ColorRef c, QRect r = QRect()) const {
        if (r.isNull()) {
            r = image.rect();
        }
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                n += image.pixel(x, y) == pixelOf(c);
            }
        }
        return n;
    }
    QImage image;
    RasterSurface surface;
};

// Axis-aligned pictures are exactly the scale-1 picture with every pixel an s x s block.
TEST(ScaledSurface, AxisAlignedDrawingIsTheLogicalPictureInBlocks) {
    const std::vector<std::pair<const char*, std::function<void(DrawingSurface&)>>> pictures = {
        {"boxes, both corners", [](DrawingSurface& s) { fillBox(s, 23, 9, 20, 5, kRed); }},
        {"lines both ways",
         [](DrawingSurface& s) {
             drawLine(s, 5, 0, 5, 10, kRed, PenStyle::Solid);
             drawLine(s, 9, 12, 9, 2, kBlue, PenStyle::Solid);
             drawLine(s, 30, 20, 12, 20, kRed, PenStyle::Solid);
             drawLine(s, 12, 22, 30, 22, kBlue, PenStyle::Solid);
         }},
        {"dotted outline",
         [](DrawingSurface& s) { outlineBox(s, 1, 1, 37, 27, kRed, PenStyle::Dot); }},
        {"clipped at every edge",
         [](DrawingSurface& s) {
             outlineBox(s, -3, -3, 42, 32, kBlue, PenStyle::Solid);
             fillBox(s, -5, 28, 3, 40, kRed);
         }},
    };
    for (const auto& [what, draw] : pictures) {
        SCOPED_TRACE(what);
        Scaled one(1);
        draw(one.surface);
        for (int s : {2, 3}) {
            SCOPED_TRACE(s);
            Scaled scaled(s);
            draw(scaled.surface);
            EXPECT_EQ(scaled.image, one.image.scaled(one.image.size() * s, Qt::IgnoreAspectRatio,
                                                     Qt::FastTransformation));
        }
    }
}

TEST(ScaledSurface, SlantedLinesAreSPixelsWide) {
    for (int s : {2, 3}) {
        SCOPED_TRACE(s);
        Scaled scaled(s);
        drawLine(scaled.surface, 2, 2, 32, 12, kRed, PenStyle::Solid);  // slope 1/3
        for (int x = 4 * s; x < 30 * s; ++x) {
            EXPECT_EQ(scaled.count(kRed, QRect(x, 0, 1, kHeight * s)), s) << x;
        }
    }
}

// The cell is s times as large and its ink is drawn, not blown up.
TEST(ScaledSurface, TextCellsAreSTimesTheSizeWithGlyphsDrawnAtThatSize) {
    Scaled one(1);
    one.surface.selectFont(one.surface.createFont(FontRequest{kChartFontFace, -15}));
    const TextMetrics logical = one.surface.textMetrics();
    const std::string text = "M7" + cp932FromUtf8("さや");
    one.surface.setTextColor(kRed);
    one.surface.setBackgroundColor(kWhite);
    one.surface.textOut(2, 3, text);
    const int logicalArea = one.count(kWhite) + one.count(kRed);
    QRect logicalCell(2, 3, logicalArea / logical.height, logical.height);
    ASSERT_EQ(one.count(kPaper, logicalCell), 0);
    for (int s : {2, 3}) {
        SCOPED_TRACE(s);
        Scaled scaled(s);
        scaled.surface.selectFont(scaled.surface.createFont(FontRequest{kChartFontFace, -15}));
        scaled.surface.setTextColor(kRed);
        scaled.surface.setBackgroundColor(kWhite);
        scaled.surface.textOut(2, 3, text);
        // The cell: the logical cell's s x s blocks exactly.
        const QRect cell(logicalCell.topLeft() * s, logicalCell.size() * s);
        EXPECT_EQ(scaled.count(kWhite) + scaled.count(kRed), logicalArea * s * s);
        EXPECT_EQ(scaled.count(kPaper, cell), 0);
        // Drawn at the size, not the logical glyphs blown up.
        EXPECT_NE(scaled.image.copy(cell),
                  one.image.copy(logicalCell)
                      .scaled(cell.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
}

// Hostile coordinates times the scale are clipped, not walked or overflowed.
TEST(ScaledSurface, HostileCoordinates) {
    Scaled scaled(3);
    RasterSurface& s = scaled.surface;
    drawLine(s, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kRed, PenStyle::Solid);
    EXPECT_EQ(scaled.image.pixel(0, 0), pixelOf(kRed));
    EXPECT_EQ(scaled.image.pixel(89, 89), pixelOf(kRed));
    outlineBox(s, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kRed, PenStyle::Dot);
    s.textOut(INT32_MAX, INT32_MAX, "X");
    fillBox(s, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kBlue);
    EXPECT_EQ(scaled.count(kBlue), kWidth * 3 * kHeight * 3);
}

// Doubling keeps flat areas and straight edges as blocks and fills the corners of staircases.
TEST(PixelArtScale, DoublesEdgesAsBlocksAndSmoothsStaircases) {
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    QImage edge(4, 4, QImage::Format_ARGB32);
    edge.fill(white);
    for (int x = 0; x < 4; ++x) {
        edge.setPixel(x, 0, black);
    }
    EXPECT_EQ(scalePixelArt(edge, 2),
              edge.scaled(8, 8, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    QImage stairs(3, 3, QImage::Format_ARGB32);
    stairs.fill(white);
    for (int i = 0; i < 3; ++i) {
        stairs.setPixel(i, i, black);
    }
    const QImage doubled = scalePixelArt(stairs, 2);
    ASSERT_EQ(doubled.size(), QSize(6, 6));
    EXPECT_EQ(doubled.pixel(2, 2), black);  // the steps' own blocks stay
    EXPECT_EQ(doubled.pixel(2, 1), black);  // the white corners inside a step are filled
    EXPECT_EQ(doubled.pixel(3, 1), white);  // the rest of the white pixels stays white
    EXPECT_EQ(scalePixelArt(stairs, 3),
              stairs.scaled(9, 9, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

}  // namespace
}  // namespace zepa::test
