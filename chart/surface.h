// The drawing surface every chart picture goes through: a small set of raster operations with
// the pixel rules of the Windows GDI the viewer's users know (line end pixel left out, inclusive
// box fills, dotted pens 3 on 3 off, inverting lines). The core draws only through it.
#pragma once

#include <cstdint>
#include <string_view>

#include "settings/color_table.h"

namespace zepa {

enum class PenStyle { Solid = 0, Dot = 2 };
enum class RasterOp { CopyPen, Not };
enum class BackgroundMode { Transparent = 1, Opaque = 2 };

// Font attributes besides these two are fixed: weight 400, no italic/underline/strike-out,
// Shift-JIS character set, modern family. A negative height asks for that character height in
// pixels, internal leading excluded.
struct FontRequest {
    std::string_view face;  // UTF-8, e.g. "ＭＳ ゴシック"
    int32_t height = 0;
};

struct TextMetrics {
    int32_t averageCharWidth = 0;
    int32_t height = 0;  // character cell: ascent + descent
    int32_t ascent = 0;
    int32_t externalLeading = 0;
};

// Font handles of a surface; 0 is "none". Each surface starts with its own stock font selected.
using FontId = int32_t;

// Icons of the program's resources.
inline constexpr int kBuyEntryIcon = 601;
inline constexpr int kSellEntryIcon = 602;

class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;

    // Fonts. createFont returns 0 when the font cannot be made; selectFont returns the font it
    // displaced; metrics are those of the selected font.
    virtual FontId createFont(const FontRequest& request) = 0;
    virtual FontId selectFont(FontId font) = 0;
    virtual void deleteFont(FontId font) = 0;
    virtual TextMetrics textMetrics() const = 0;

    // Pens: the selected pen draws lines and ellipse outlines. The surface starts with, and
    // returns to after selectDefaultPen, a solid black 1-pixel pen.
    virtual void selectPen(ColorRef color, PenStyle style) = 0;
    virtual void selectDefaultPen() = 0;
    // A path: moveTo, then lineTo segments. The end pixel of each segment is not drawn; a dotted
    // pen's pattern runs on across the segments of one path and restarts at moveTo.
    virtual void moveTo(int32_t x, int32_t y) = 0;
    virtual void lineTo(int32_t x, int32_t y) = 0;

    // Fills [left, right) x [top, bottom); empty when right <= left or bottom <= top.
    virtual void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                          ColorRef color) = 0;
    // The ellipse inscribed in [left, right) x [top, bottom), filled with the colour and
    // outlined with the selected pen.
    virtual void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom,
                         ColorRef fill) = 0;

    // Text: CP932 bytes with the cell's top-left corner at (x, y).
    virtual void setTextColor(ColorRef color) = 0;
    virtual void setBackgroundColor(ColorRef color) = 0;
    virtual void setBackgroundMode(BackgroundMode mode) = 0;
    virtual void textOut(int32_t x, int32_t y, std::string_view cp932) = 0;

    // CopyPen draws pens in their colour; Not inverts the destination pixels of lines.
    virtual void setRasterOp(RasterOp op) = 0;

    // An icon of the resources with its top-left corner at (x, y); transparent parts stay.
    virtual void drawIcon(int32_t x, int32_t y, int iconId) = 0;
};

}  // namespace zepa
