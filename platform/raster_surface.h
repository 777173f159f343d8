// The drawing surface over a QImage: the chart's pixels as a Windows GDI device context would
// produce them, so the picture a trader knows comes out the same. Lines, fills and ellipses are
// written pixel by pixel; only text goes through QPainter (with antialiasing off).
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRawFont>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chart/surface.h"

namespace zepa {

// The program's icons (ids 600-602) are compiled in as Qt resources under ":/icons/". The raster
// surface registers them itself; other users (the window icon) call this first. Safe to repeat.
void registerIconResources();
// The resource path of an icon id, or nullptr for an id the program does not have.
const char* iconResourcePath(int iconId);

// Draws into an image the caller owns and keeps alive for the surface's lifetime. The image must
// be Format_RGB32 (anything else is left untouched by the pixel operations). Coordinates may be
// any int32: everything is clipped to the image before work is spent on it.
//
// Pixel rules:
// - lineTo: one pixel per step of the major axis, the start pixel drawn and the end pixel left
//   out; where the exact line passes halfway between two pixels the upper one (x-major) or the
//   left one (y-major) is taken, so a segment lights the same pixels in either direction apart
//   from its ends. A dotted pen draws 3 pixels, leaves 3, counting pixels along the whole path
//   (also those clipped away) until the next moveTo.
// - RasterOp::Not inverts the RGB bits of the pixels a line covers; it does not affect fills,
//   ellipses, text or icons.
// - ellipse: the pixels of [left, right) x [top, bottom) whose centres lie in the inscribed
//   ellipse; those with a 4-neighbour outside it are the outline (selected pen's colour, always
//   drawn solid), the rest take the fill colour. A box only 1 or 2 pixels wide or high has no
//   inside, so the tomeashi dot (2 x 3 pixels) is a solid 2 x 3 block in the pen colour.
// - Scale: at a scale of s (a whole device pixel ratio, 1 to kMaxSurfaceScale) the image holds
//   s x s device pixels for every logical pixel, while every call and every metric stays in
//   logical pixels. Fills and positions scale exactly; a line is s device pixels wide across its
//   direction and steps at device resolution (a horizontal or vertical line covers exactly the
//   scaled pixels of its logical line); dots are 3s on, 3s off; an ellipse's outline is s wide;
//   text is drawn from the face at s times its pixel size, its glyphs placed at s times their
//   logical advances. At 1 every pixel is as described above.
// - Fonts: id 1 is the stock font (the chart face at 12 px), selected at the start. Selecting an
//   unknown or deleted id changes nothing and returns 0; deleting the stock font does nothing;
//   deleting the selected font frees it once another font is selected.
inline constexpr int kMaxSurfaceScale = 8;

class RasterSurface : public DrawingSurface {
  public:
    explicit RasterSurface(QImage& image);
    ~RasterSurface() override;

    RasterSurface(const RasterSurface&) = delete;
    RasterSurface& operator=(const RasterSurface&) = delete;

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

    void setTextColor(ColorRef color) override { textColor_ = color; }
    void setBackgroundColor(ColorRef color) override { backgroundColor_ = color; }
    void setBackgroundMode(BackgroundMode mode) override { backgroundMode_ = mode; }
    void textOut(int32_t x, int32_t y, std::string_view cp932) override;

    void setRasterOp(RasterOp op) override { rasterOp_ = op; }

    void drawIcon(int32_t x, int32_t y, int iconId) override;

    // Device pixels per logical pixel, clamped to 1..kMaxSurfaceScale. The caller sizes the
    // image to match; font slots and their ids stay valid across a change.
    void setScale(int scale);
    int scale() const { return scale_; }

  private:
    struct Face {
        explicit Face(const QFont& f);
        QFont font;
        QFontMetrics metrics;
        // The font file Japanese text resolves to: glyphs straight from its character map, no
        // shaping, which monospaced CP932 text does not need and which costs most of a text.
        QRawFont raw;
    };
    struct Font {
        Font(std::string_view faceName, int pixels);
        std::string faceName;
        int pixels;
        Face face;  // at the logical size: metrics and advances
        TextMetrics text;
        std::unique_ptr<Face> device;  // at pixels x deviceScale, made on first use
        int deviceScale = 0;
        bool deletePending = false;
    };

    bool writable() const;
    // The font behind an id, creating the stock font on first use (it needs the application's
    // font database, which line-only users may not have).
    Font* fontOf(FontId id) const;
    void fillClipped(int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t pixel);
    void scaledEllipse(int64_t l, int64_t t, int64_t r, int64_t b, ColorRef fill);
    // Face to draw with at the current scale.
    const Face& deviceFace(Font& font) const;

    QImage& image_;
    int scale_ = 1;
    // Index id - 1; index 0 is the stock font. Freed ids are reused like GDI handles.
    mutable std::vector<std::unique_ptr<Font>> fonts_;
    FontId selected_ = 1;

    ColorRef penColor_ = 0;
    PenStyle penStyle_ = PenStyle::Solid;
    int32_t penX_ = 0;
    int32_t penY_ = 0;
    uint32_t dotPhase_ = 0;  // pixels of the current path so far, modulo 6
    RasterOp rasterOp_ = RasterOp::CopyPen;

    ColorRef textColor_ = 0;
    ColorRef backgroundColor_ = 0xFFFFFF;
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;

    std::map<int, QImage> icons_;  // loaded on first use, ARGB32
};

// A COLORREF (r + 256 g + 65536 b) as an opaque Format_RGB32 pixel 0xFFRRGGBB.
constexpr uint32_t pixelOf(ColorRef color) {
    return 0xFF000000u | (color & 0xFFu) << 16 | (color & 0xFF00u) | (color >> 16 & 0xFFu);
}

}  // namespace zepa
