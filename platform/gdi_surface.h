// The drawing surface on a Windows device context: the chart's own operations mapped one to one
// onto GDI (pens, brushes, LineTo, FillRect, Ellipse, TextOutW, SetROP2), whose pixel rules the
// raster surface imitates on other platforms. Fonts are made by face name with the Japanese
// character set; text arrives as CP932 and leaves as UTF-16.
#pragma once

#include <windows.h>

#include <vector>

#include "chart/surface.h"

namespace zepa {

// Draws on a device context the caller owns and keeps alive for the surface's lifetime (a
// memory DC for a window's picture, a printer DC). Font ids follow the raster surface: id 1 is
// the stock font (the chart face at 12 px), selected at the start; an unknown or deleted id
// selects nothing and returns 0; deleting the selected font frees it once another is selected.
// The surface restores the DC's original pen, brush and font when it goes.
class GdiSurface : public DrawingSurface {
  public:
    explicit GdiSurface(HDC dc);
    ~GdiSurface() override;

    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    HDC dc() const { return dc_; }

    FontId createFont(const FontRequest& request) override;
    FontId selectFont(FontId font) override;
    void deleteFont(FontId font) override;
    TextMetrics textMetrics() const override;

    void selectPen(ColorRef color, PenStyle style) override;
    void selectDefaultPen() override;
    void moveTo(int32_t x, int32_t y) override;
    void lineTo(int32_t x, int32_t y) override;

    void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                  ColorRef color) override;
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorRef fill) override;

    void setTextColor(ColorRef color) override;
    void setBackgroundColor(ColorRef color) override;
    void setBackgroundMode(BackgroundMode mode) override;
    void textOut(int32_t x, int32_t y, std::string_view cp932) override;

    void setRasterOp(RasterOp op) override;

    // Icons come from the program's own resources (the .rc of zepa_spw.exe).
    void drawIcon(int32_t x, int32_t y, int iconId) override;

  private:
    struct Font {
        HFONT handle = nullptr;
        bool deletePending = false;
    };
    Font* fontOf(FontId id);
    void replacePen(HPEN pen);

    HDC dc_;
    // Index id - 1; index 0 is the stock font. Freed ids are reused like GDI handles.
    std::vector<Font> fonts_;
    FontId selected_ = 1;
    HPEN pen_ = nullptr;  // the surface's own pen, or null for the stock black pen
    HGDIOBJ originalPen_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
    HGDIOBJ originalBrush_ = nullptr;
};

// A font by face name (UTF-8) and LOGFONT height, Japanese character set, fixed pitch, no
// smoothing: what the chart and the windows around it draw text with.
HFONT createChartFont(std::string_view face, int32_t height);

}  // namespace zepa
