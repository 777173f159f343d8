#include <gtest/gtest.h>

#include <QImage>

#include <climits>
#include <set>

#include "chart/primitives.h"
#include "platform/codepage.h"
#include "platform/raster_surface.h"
#include "tests/support/gui_environment.h"

namespace zepa::test {
namespace {

constexpr ColorRef kPaper = rgbColor(0x20, 0x80, 0x40);
constexpr ColorRef kRed = rgbColor(0xFF, 0, 0);
constexpr ColorRef kBlue = rgbColor(0, 0, 0xFF);
constexpr ColorRef kWhite = rgbColor(0xFF, 0xFF, 0xFF);

using Pixels = std::set<std::pair<int, int>>;

class RasterSurfaceTest : public ::testing::Test {
  protected:
    RasterSurfaceTest() : image(40, 30, QImage::Format_RGB32), surface(image) { clear(); }

    void clear() { image.fill(pixelOf(kPaper)); }
    bool is(int x, int y, ColorRef c) const { return image.pixel(x, y) == pixelOf(c); }
    Pixels pixelsOf(ColorRef c) const {
        Pixels out;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (is(x, y, c)) {
                    out.insert({x, y});
                }
            }
        }
        return out;
    }

    QImage image;
    RasterSurface surface;
};

TEST_F(RasterSurfaceTest, LinesLeaveOutTheEndPixelAndTakeUpperOrLeftAtHalfway) {
    drawLine(surface, 5, 0, 5, 10, kRed, PenStyle::Solid);
    EXPECT_EQ(pixelsOf(kRed).size(), 10u);
    EXPECT_TRUE(is(5, 0, kRed) && is(5, 9, kRed) && is(5, 10, kPaper));
    drawLine(surface, 20, 20, 20, 20, kBlue, PenStyle::Solid);
    EXPECT_TRUE(pixelsOf(kBlue).empty());

    // The same pixels either way between the ends.
    clear();
    drawLine(surface, 0, 0, 4, 1, kRed, PenStyle::Solid);
    EXPECT_EQ(pixelsOf(kRed), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
    drawLine(surface, 4, 11, 0, 10, kBlue, PenStyle::Solid);
    EXPECT_EQ(pixelsOf(kBlue), (Pixels{{4, 11}, {3, 11}, {2, 10}, {1, 10}}));
    clear();
    drawLine(surface, 10, 0, 11, 4, kRed, PenStyle::Solid);
    EXPECT_EQ(pixelsOf(kRed), (Pixels{{10, 0}, {10, 1}, {10, 2}, {11, 3}}));
}

TEST_F(RasterSurfaceTest, BoxesFillBothCornersAndOutlineOnlyTheEdge) {
    fillBox(surface, 10, 20, 12, 20, kRed);
    EXPECT_EQ(pixelsOf(kRed), (Pixels{{10, 20}, {11, 20}, {12, 20}}));
    clear();
    fillBox(surface, 23, 9, 20, 5, kRed);  // a negative bar: top below bottom
    EXPECT_EQ(pixelsOf(kRed).size(), 4u * 5u);
    EXPECT_TRUE(is(20, 5, kRed) && is(23, 9, kRed));

    clear();
    outlineBox(surface, 0, 0, 4, 3, kRed, PenStyle::Solid);
    EXPECT_EQ(pixelsOf(kRed).size(), 14u);
    EXPECT_TRUE(is(0, 0, kRed) && is(4, 0, kRed) && is(4, 3, kRed) && is(0, 3, kRed));
    EXPECT_TRUE(is(1, 1, kPaper) && is(3, 2, kPaper));
}

TEST_F(RasterSurfaceTest, DottedPenRunsThreeOnThreeOffAlongThePath) {
    drawLine(surface, 0, 0, 12, 0, kRed, PenStyle::Dot);
    EXPECT_EQ(pixelsOf(kRed), (Pixels{{0, 0}, {1, 0}, {2, 0}, {6, 0}, {7, 0}, {8, 0}}));

    // Around a corner the run goes on: (6,10) (7,10) (7,11) are one run of three.
    clear();
    outlineBox(surface, 0, 10, 7, 14, kRed, PenStyle::Dot);
    EXPECT_TRUE(is(6, 10, kRed) && is(7, 10, kRed) && is(7, 11, kRed) && is(6, 14, kRed));
    EXPECT_TRUE(is(7, 12, kPaper) && is(7, 13, kPaper) && is(7, 14, kPaper));

    // A new path starts its pattern afresh.
    clear();
    drawLine(surface, 0, 20, 4, 20, kRed, PenStyle::Dot);
    drawLine(surface, 4, 21, 8, 21, kRed, PenStyle::Dot);
    EXPECT_TRUE(is(3, 20, kPaper) && is(4, 21, kRed));
}

TEST_F(RasterSurfaceTest, InvertingLinesTwiceRestoresThePicture) {
    fillBox(surface, 0, 0, 19, 29, kRed);
    fillBox(surface, 20, 0, 39, 29, rgbColor(0x12, 0x34, 0x56));
    const QImage before = image.copy();

    surface.setRasterOp(RasterOp::Not);
    drawLine(surface, 2, 15, 37, 15, kBlue, PenStyle::Solid);
    EXPECT_EQ(image.pixel(25, 15), 0xFFEDCBA9u);
    EXPECT_EQ(image.pixel(5, 15), 0xFF00FFFFu);
    EXPECT_TRUE(is(5, 16, kRed));
    drawLine(surface, 2, 15, 37, 15, kBlue, PenStyle::Solid);
    for (int pass = 0; pass < 2; ++pass) {
        drawLine(surface, 3, 1, 36, 27, kBlue, PenStyle::Solid);
        outlineBox(surface, 1, 2, 30, 20, kBlue, PenStyle::Dot);
    }
    EXPECT_EQ(image, before);
}

TEST_F(RasterSurfaceTest, EllipsesAreInscribedOutlinedAndFilled) {
    // The tomeashi dot fillEllipse(x - 1, y - 1, x + 1, y + 2) at (10, 10): all outline.
    fillEllipse(surface, 9, 9, 11, 12, kRed);
    EXPECT_EQ(pixelsOf(0), (Pixels{{9, 9}, {10, 9}, {9, 10}, {10, 10}, {9, 11}, {10, 11}}));
    EXPECT_TRUE(pixelsOf(kRed).empty());

    clear();
    fillEllipse(surface, 10, 5, 19, 12, kRed);  // columns 10-18, rows 5-11
    EXPECT_TRUE(is(14, 8, kRed) && is(14, 5, 0) && is(14, 11, 0) && is(10, 8, 0) && is(18, 8, 0));
    EXPECT_TRUE(is(10, 5, kPaper) && is(18, 11, kPaper));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (x < 10 || x > 18 || y < 5 || y > 11) {
                EXPECT_TRUE(is(x, y, kPaper)) << x << "," << y;
            } else {
                EXPECT_EQ(image.pixel(x, y), image.pixel(28 - x, 16 - y)) << x << "," << y;
            }
        }
    }
}

// The chart lays out text in cells of averageCharWidth per CP932 byte.
TEST_F(RasterSurfaceTest, ChartFontsHaveWholeCells) {
    const auto cellWidth = [&](const char* utf8) {
        image = QImage(100, 30, QImage::Format_RGB32);
        clear();
        surface.setBackgroundMode(BackgroundMode::Opaque);
        surface.setBackgroundColor(kBlue);
        surface.textOut(2, 3, cp932FromUtf8(utf8));
        const Pixels cell = pixelsOf(kBlue);
        return cell.empty() || cell.begin()->first != 2 ? -1 : cell.rbegin()->first - 1;
    };
    for (int32_t height : {-13, -15}) {
        surface.selectFont(surface.createFont(FontRequest{kChartFontFace, height}));
        const TextMetrics m = surface.textMetrics();
        EXPECT_TRUE(m.averageCharWidth > 0 && m.height >= -height && m.ascent > 0 &&
                    m.ascent < m.height && m.externalLeading >= 0)
            << height;
        EXPECT_EQ(cellWidth("MiMi"), 4 * m.averageCharWidth);
        // Full-width: two cells, or one pixel less at odd sizes like the face it stands in for.
        const int full = cellWidth("ＭＳ");
        EXPECT_EQ(cellWidth("さや"), full);
        EXPECT_TRUE(full >= 4 * m.averageCharWidth - 2 && full <= 4 * m.averageCharWidth) << full;
    }
}

TEST_F(RasterSurfaceTest, TextShowsOnlyTextAndBackgroundColours) {
    surface.selectFont(surface.createFont(FontRequest{kChartFontFace, -15}));
    const TextMetrics m = surface.textMetrics();
    surface.setTextColor(kRed);
    surface.setBackgroundColor(kWhite);
    // A cut lead byte at the end takes the other way through the font machinery.
    for (const std::string& text : {cp932FromUtf8("[ 買 7203 ]"), std::string("[ 7203 \x94")}) {
        clear();
        surface.setBackgroundMode(BackgroundMode::Opaque);
        surface.textOut(5, 4, text);
        const int right = 5 + static_cast<int>(text.size()) * m.averageCharWidth;
        size_t inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (x >= 5 && x < right && y >= 4 && y < 4 + m.height) {
                    EXPECT_TRUE(is(x, y, kRed) || is(x, y, kWhite)) << x << "," << y;
                    inked += is(x, y, kRed);
                } else {
                    EXPECT_TRUE(is(x, y, kPaper)) << x << "," << y;
                }
            }
        }
        EXPECT_GT(inked, 20u);

        clear();
        surface.setBackgroundMode(BackgroundMode::Transparent);
        surface.textOut(5, 4, text);
        EXPECT_EQ(pixelsOf(kRed).size(), inked);
        EXPECT_EQ(pixelsOf(kRed).size() + pixelsOf(kPaper).size(), 40u * 30u);
    }
}

TEST_F(RasterSurfaceTest, EntryIconsPointWithTheirTipsAndKeepTheSurround) {
    const auto surroundKept = [&] {
        return is(10, 5, kPaper) && is(24, 5, kPaper) && is(10, 21, kPaper) && is(24, 21, kPaper);
    };
    surface.drawIcon(10, 5, kBuyEntryIcon);
    // Tip at column 7, row 0.
    EXPECT_TRUE(is(17, 5, 0) && is(16, 5, kPaper) && is(18, 5, kPaper) && is(17, 7, kRed));
    EXPECT_TRUE(surroundKept());

    clear();
    surface.drawIcon(10, 5, kSellEntryIcon);
    // Row 16.
    EXPECT_TRUE(is(17, 21, 0) && is(16, 21, kPaper) && is(18, 21, kPaper) && is(17, 19, kBlue));
    EXPECT_TRUE(surroundKept());

    clear();
    surface.drawIcon(0, 0, 599);
    EXPECT_EQ(pixelsOf(kPaper).size(), 40u * 30u);
    surface.drawIcon(-7, 20, kSellEntryIcon);  // half off the image
    EXPECT_TRUE(is(0, 29, kBlue));
    EXPECT_EQ(QImage(QString::fromLatin1(iconResourcePath(600))).size(), QSize(32, 32));
}

TEST_F(RasterSurfaceTest, HostileCoordinatesAreClippedWithoutWalkingThem) {
    // Walking a path of 2^32 pixels would show as the test's timeout.
    drawLine(surface, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kRed, PenStyle::Solid);
    EXPECT_TRUE(is(0, 0, kRed) && is(29, 29, kRed) && is(30, 29, kPaper));
    drawLine(surface, INT32_MAX, 3, INT32_MIN, 3, kBlue, PenStyle::Solid);
    EXPECT_TRUE(is(0, 3, kBlue) && is(39, 3, kBlue));
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
    EXPECT_EQ(surface.createFont(FontRequest{kChartFontFace, INT32_MIN}), 0);
}

}  // namespace
}  // namespace zepa::test
