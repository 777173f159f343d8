// The GDI surface under Wine: GDI's own pixel rules, which the raster surface imitates.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "chart/chart_geometry.h"
#include "chart/paint.h"
#include "chart/primitives.h"
#include "marketdata/pair_series.h"
#include "platform/gdi_surface.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

constexpr ColorRef kPaper = rgbColor(0x20, 0x80, 0x40), kRed = rgbColor(0xFF, 0, 0),
                   kBlue = rgbColor(0, 0, 0xFF);
using Pixels = std::set<std::pair<int, int>>;

// A top-down 32-bit DIB section selected into a memory DC: pixels readable as COLORREFs.
class Picture {
  public:
    Picture(int width, int height) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t*>(bits);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Picture() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    HDC dc() const { return dc_; }
    void fill(ColorRef c) {
        GdiFlush();
        const uint32_t p = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
        std::fill(bits_, bits_ + width_ * height_, p);
    }
    // The pixel as a COLORREF.
    ColorRef at(int x, int y) const {
        GdiFlush();
        const uint32_t p = bits_[y * width_ + x];
        return rgbColor(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
    Pixels pixelsOf(ColorRef c) const {
        Pixels out;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (at(x, y) == c) {
                    out.insert({x, y});
                }
            }
        }
        return out;
    }

  private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

TEST(GdiSurface, LinesBoxesDotsAndInversionTakeGdisPixels) {
    Picture p(40, 30);
    p.fill(kPaper);
    {
        GdiSurface surface(p.dc());
        drawLine(surface, 5, 0, 5, 10, kRed, PenStyle::Solid);
        drawLine(surface, 20, 20, 20, 20, kRed, PenStyle::Solid);
        EXPECT_EQ(p.pixelsOf(kRed).size(), 10u);
        EXPECT_TRUE(p.at(5, 9) == kRed && p.at(5, 10) == kPaper);

        p.fill(kPaper);
        fillBox(surface, 23, 9, 20, 5, kRed);
        outlineBox(surface, 0, 0, 4, 3, kBlue, PenStyle::Solid);
        EXPECT_EQ(p.pixelsOf(kRed).size(), 4u * 5u);
        EXPECT_TRUE(p.at(20, 5) == kRed && p.at(23, 9) == kRed);
        EXPECT_EQ(p.pixelsOf(kBlue).size(), 14u);
        EXPECT_TRUE(p.at(4, 3) == kBlue && p.at(1, 1) == kPaper);

        // A dotted pen: 3 on, 3 off from the path's start.
        p.fill(kPaper);
        drawLine(surface, 0, 0, 12, 0, kRed, PenStyle::Dot);
        EXPECT_EQ(p.pixelsOf(kRed), (Pixels{{0, 0}, {1, 0}, {2, 0}, {6, 0}, {7, 0}, {8, 0}}));

        // Inverting twice gives the picture back.
        p.fill(kPaper);
        surface.setRasterOp(RasterOp::Not);
        for (int i = 0; i < 2; ++i) {
            surface.moveTo(3, 0);
            surface.lineTo(3, 20);
            EXPECT_EQ(p.at(3, 5), i == 0 ? (~kPaper & 0xFFFFFFu) : kPaper);
        }
        surface.setRasterOp(RasterOp::CopyPen);
    }
}

TEST(GdiSurface, FontsAreMadeSelectedAndFreedByTheirIds) {
    Picture p(40, 30);
    GdiSurface surface(p.dc());
    const FontId font = surface.createFont(FontRequest{kChartFontFace, -13});
    ASSERT_GT(font, 1);
    EXPECT_EQ(surface.selectFont(font), 1);
    const TextMetrics m = surface.textMetrics();
    EXPECT_TRUE(m.averageCharWidth > 0 && m.height >= 13) << m.averageCharWidth << " " << m.height;
    surface.deleteFont(font);  // selected: freed once another is
    EXPECT_EQ(surface.selectFont(1), font);
    EXPECT_EQ(surface.selectFont(font), 0);
    EXPECT_EQ(surface.createFont(FontRequest{kChartFontFace, -100000}), 0);
}

}  // namespace
}  // namespace zepa::test
