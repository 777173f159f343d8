#include "platform/raster_surface.h"

#include <QGlyphRun>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/codepage.h"
#include "platform/pixel_art_scale.h"

// Q_INIT_RESOURCE must be used outside any namespace. The resources live in this static library,
// so nothing would pull them into a program without this reference.
static void initZepaResources() {
    Q_INIT_RESOURCE(resources);
}

namespace zepa {

namespace {

__extension__ typedef __int128 Int128;

constexpr int32_t kStockFontPixels = 12;
// Larger requests are refused: no chart text comes near, and a hostile height must not make
// the font engine render glyphs the size of a house.
constexpr int64_t kMaxFontPixels = 1000;

constexpr uint32_t kDotPeriod = 6;
constexpr uint32_t kDotOn = 3;

int64_t floorDiv(Int128 numerator, int64_t denominator) {
    // denominator > 0
    Int128 q = numerator / denominator;
    if (numerator % denominator != 0 && numerator < 0) {
        --q;
    }
    return static_cast<int64_t>(q);
}

// First value in [lo, hi] for which the monotone (false..., true...) predicate holds, or hi + 1.
template <typename Pred>
int64_t firstTrue(int64_t lo, int64_t hi, Pred pred) {
    int64_t end = hi + 1;
    while (lo < end) {
        const int64_t mid = lo + (end - lo) / 2;
        if (pred(mid)) {
            end = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

QStringList familiesFor(std::string_view face) {
    QStringList families;
    const QString name = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
    if (!name.isEmpty()) {
        families << name;
    }
    // The chart face is rarely installed off Windows: Japanese monospaced gothics with the same
    // cell proportions stand in for it, in order of likeness.
    families << QStringLiteral("MS Gothic") << QStringLiteral("IPAGothic")
             << QStringLiteral("TakaoGothic") << QStringLiteral("VL Gothic")
             << QStringLiteral("Noto Sans Mono CJK JP");
    families.removeDuplicates();
    return families;
}

QFont makeFont(std::string_view face, int pixels) {
    QFont font;
    font.setFamilies(familiesFor(face));
    font.setPixelSize(pixels);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setFixedPitch(true);
    font.setKerning(false);
    font.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
    // Full hinting keeps advances and metrics whole pixels, as the chart's layout assumes.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

TextMetrics metricsOf(const QFontMetrics& m) {
    TextMetrics t;
    t.averageCharWidth = m.averageCharWidth();
    t.ascent = m.ascent();
    t.height = m.ascent() + m.descent();
    t.externalLeading = m.leading();
    return t;
}

}  // namespace

void registerIconResources() {
    initZepaResources();
}

const char* iconResourcePath(int iconId) {
    switch (iconId) {
        case 600:
            return ":/icons/program.xpm";
        case kBuyEntryIcon:
            return ":/icons/entry_buy.xpm";
        case kSellEntryIcon:
            return ":/icons/entry_sell.xpm";
        default:
            return nullptr;
    }
}

RasterSurface::Face::Face(const QFont& f)
    : font(f), metrics(f), raw(QRawFont::fromFont(f, QFontDatabase::Japanese)) {}

RasterSurface::Font::Font(std::string_view faceName_, int pixels_)
    : faceName(faceName_),
      pixels(pixels_),
      face(makeFont(faceName_, pixels_)),
      text(metricsOf(face.metrics)) {}

RasterSurface::RasterSurface(QImage& image) : image_(image) {
    fonts_.resize(1);
}

RasterSurface::~RasterSurface() = default;

void RasterSurface::setScale(int scale) {
    scale_ = std::clamp(scale, 1, kMaxSurfaceScale);
}

bool RasterSurface::writable() const {
    return image_.format() == QImage::Format_RGB32 && image_.width() > 0 && image_.height() > 0;
}

// ---- fonts ----

RasterSurface::Font* RasterSurface::fontOf(FontId id) const {
    if (id < 1 || static_cast<size_t>(id) > fonts_.size()) {
        return nullptr;
    }
    if (id == 1 && !fonts_[0]) {
        // The substitutes of the chart face alone: the same font.
        fonts_[0] = std::make_unique<Font>(std::string_view{}, kStockFontPixels);
    }
    return fonts_[static_cast<size_t>(id) - 1].get();
}

FontId RasterSurface::createFont(const FontRequest& request) {
    // Negative: character height without internal leading, which is Qt's pixel size. Positive
    // asks for the whole cell; the pixel size is a close stand-in. 0 is the default size.
    int64_t pixels = request.height < 0   ? -static_cast<int64_t>(request.height)
                     : request.height > 0 ? request.height
                                          : kStockFontPixels;
    if (pixels > kMaxFontPixels) {
        return 0;
    }
    auto font = std::make_unique<Font>(request.face, static_cast<int>(pixels));

    size_t index = 1;
    while (index < fonts_.size() && fonts_[index]) {
        ++index;
    }
    if (index == fonts_.size()) {
        fonts_.push_back(nullptr);
    }
    fonts_[index] = std::move(font);
    return static_cast<FontId>(index + 1);
}

FontId RasterSurface::selectFont(FontId font) {
    Font* next = fontOf(font);
    if (!next || next->deletePending) {
        return 0;
    }
    const FontId previous = selected_;
    selected_ = font;
    if (previous != font) {
        Font* old = fontOf(previous);
        if (old && old->deletePending) {
            fonts_[static_cast<size_t>(previous) - 1].reset();
        }
    }
    return previous;
}

void RasterSurface::deleteFont(FontId font) {
    if (font <= 1 || static_cast<size_t>(font) > fonts_.size() || !fonts_[font - 1]) {
        return;
    }
    if (font == selected_) {
        fonts_[font - 1]->deletePending = true;
    } else {
        fonts_[font - 1].reset();
    }
}

TextMetrics RasterSurface::textMetrics() const {
    const Font* font = fontOf(selected_);
    return font ? font->text : TextMetrics{};
}

// ---- lines ----

void RasterSurface::selectPen(ColorRef color, PenStyle style) {
    penColor_ = color;
    penStyle_ = style;
}

void RasterSurface::selectDefaultPen() {
    penColor_ = 0;
    penStyle_ = PenStyle::Solid;
}

void RasterSurface::moveTo(int32_t x, int32_t y) {
    penX_ = x;
    penY_ = y;
    dotPhase_ = 0;
}

void RasterSurface::lineTo(int32_t x, int32_t y) {
    const int64_t lx0 = penX_;
    const int64_t ly0 = penY_;
    penX_ = x;
    penY_ = y;
    const int64_t ldx = x - lx0;
    const int64_t ldy = y - ly0;
    const int64_t logicalSteps = std::max(std::llabs(ldx), std::llabs(ldy));
    if (logicalSteps == 0) {
        return;
    }
    const uint32_t phase = dotPhase_;
    dotPhase_ = static_cast<uint32_t>((phase + static_cast<uint64_t>(logicalSteps)) % kDotPeriod);
    if (!writable()) {
        return;
    }

    // In device pixels: s steps per logical step, each lighting a run of s pixels across the
    // line (toward larger minor coordinates), so that a logical pixel's s x s block is covered
    // by a horizontal or vertical line through it. At s = 1 this is the one-pixel line.
    const int64_t s = scale_;
    const int64_t dx = ldx * s;
    const int64_t dy = ldy * s;
    const int64_t n = logicalSteps * s;  // pixels of the segment along its major axis
    // Step i (0 <= i < n) lights major = m0 + i * step and minor = k0 + offset(i), offset(i)
    // being i * d / n rounded to nearest with halves toward the smaller coordinate.
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t step = (xMajor ? dx : dy) > 0 ? 1 : -1;
    // Going toward smaller coordinates a logical pixel's block is entered at its far side.
    const int64_t m0 = (xMajor ? lx0 : ly0) * s + (step < 0 ? s - 1 : 0);
    const int64_t k0 = (xMajor ? ly0 : lx0) * s;
    const int64_t d = xMajor ? dy : dx;
    const int64_t width = image_.width();
    const int64_t height = image_.height();
    const int64_t majorSize = xMajor ? width : height;
    const int64_t minorSize = xMajor ? height : width;
    const int64_t twoN = 2 * n;
    int64_t first = 0;
    int64_t last = n - 1;
    int64_t k = 0;
    int64_t remainder = n - 1;  // step 0: numerator n - 1 over 2n
    // Most segments of a chart lie wholly on the image: every step between two visible ends is
    // visible, so the clipping searches (and their 128-bit divisions) are only for the rest.
    const int64_t mEnd = m0 + (n - 1) * step;
    const int64_t kEnd = k0 + d;
    const bool bothEndsVisible = m0 >= 0 && m0 < majorSize && mEnd >= 0 && mEnd < majorSize &&
                                 std::min(k0, kEnd) >= 0 && std::max(k0, kEnd) + s - 1 < minorSize;
    if (!bothEndsVisible) {
        const auto offset = [&](int64_t i) { return floorDiv(Int128{2} * i * d + n - 1, twoN); };

        // Steps whose major coordinate is on the image.
        first = std::max<int64_t>(step > 0 ? -m0 : m0 - (majorSize - 1), 0);
        last = std::min(step > 0 ? majorSize - 1 - m0 : m0, n - 1);
        if (first > last) {
            return;
        }
        // Of those, the steps whose run across the line reaches the image (offset is monotone
        // in i).
        const int64_t lowOffset = -k0 - (s - 1);
        const int64_t highOffset = minorSize - 1 - k0;
        if (d >= 0) {
            first = firstTrue(first, last, [&](int64_t i) { return offset(i) >= lowOffset; });
            last = firstTrue(first, last, [&](int64_t i) { return offset(i) > highOffset; }) - 1;
        } else {
            first = firstTrue(first, last, [&](int64_t i) { return offset(i) <= highOffset; });
            last = firstTrue(first, last, [&](int64_t i) { return offset(i) < lowOffset; }) - 1;
        }
        if (first > last) {
            return;
        }
        // Bresenham from the first visible step: numerator 2 i d + n - 1 over 2n, kept as a
        // quotient and a remainder in [0, 2n).
        const Int128 numerator = Int128{2} * first * d + n - 1;
        k = floorDiv(numerator, twoN);
        remainder = static_cast<int64_t>(numerator - Int128{k} * twoN);
    }
    int64_t m = m0 + first * step;
    // The dot pattern counts logical pixels: s device steps each.
    uint32_t dot = static_cast<uint32_t>((phase + static_cast<uint64_t>(first / s)) % kDotPeriod);
    int64_t sub = first % s;

    const bool dotted = penStyle_ == PenStyle::Dot;
    const bool invert = rasterOp_ == RasterOp::Not;
    const uint32_t pixel = pixelOf(penColor_);
    uchar* bits = image_.bits();
    const int64_t stride = image_.bytesPerLine();
    const auto light = [&](int64_t px, int64_t py) {
        uint32_t* p = reinterpret_cast<uint32_t*>(bits + py * stride) + px;
        *p = invert ? *p ^ 0x00FFFFFFu : pixel;
    };
    for (int64_t i = first; i <= last; ++i) {
        if (!dotted || dot < kDotOn) {
            if (s == 1) {
                light(xMajor ? m : k0 + k, xMajor ? k0 + k : m);
            } else {
                const int64_t from = std::max<int64_t>(k0 + k, 0);
                const int64_t to = std::min<int64_t>(k0 + k + s, minorSize);
                for (int64_t minor = from; minor < to; ++minor) {
                    light(xMajor ? m : minor, xMajor ? minor : m);
                }
            }
        }
        if (++sub == s) {
            sub = 0;
            if (++dot == kDotPeriod) {
                dot = 0;
            }
        }
        m += step;
        remainder += 2 * d;
        if (remainder >= twoN) {
            remainder -= twoN;
            ++k;
        } else if (remainder < 0) {
            remainder += twoN;
            --k;
        }
    }
}

// ---- fills ----

void RasterSurface::fillClipped(int64_t left, int64_t top, int64_t right, int64_t bottom,
                                uint32_t pixel) {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, image_.width());
    bottom = std::min<int64_t>(bottom, image_.height());
    if (left >= right || top >= bottom) {
        return;
    }
    // One row by hand, the others copied from it: the C library's copy is the fastest way
    // through a screen-sized background at any optimisation level.
    uchar* bits = image_.bits();
    const int64_t stride = image_.bytesPerLine();
    uint32_t* first = reinterpret_cast<uint32_t*>(bits + top * stride) + left;
    std::fill(first, first + (right - left), pixel);
    const size_t bytes = static_cast<size_t>(right - left) * sizeof(uint32_t);
    for (int64_t y = top + 1; y < bottom; ++y) {
        std::memcpy(reinterpret_cast<uint32_t*>(bits + y * stride) + left, first, bytes);
    }
}

void RasterSurface::fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                             ColorRef color) {
    if (writable()) {
        const int64_t s = scale_;
        fillClipped(left * s, top * s, right * s, bottom * s, pixelOf(color));
    }
}

void RasterSurface::ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom,
                            ColorRef fill) {
    if (!writable()) {
        return;
    }
    // GDI takes the box's corners in either order.
    const int64_t l = std::min(left, right);
    const int64_t r = std::max(left, right);
    const int64_t t = std::min(top, bottom);
    const int64_t b = std::max(top, bottom);
    const int64_t w = r - l;
    const int64_t h = b - t;
    if (w == 0 || h == 0) {
        return;
    }
    if (scale_ > 1) {
        scaledEllipse(l, t, r, b, fill);
        return;
    }
    const double a = static_cast<double>(w) / 2;
    const double c = static_cast<double>(h) / 2;
    // Span of row j (0 <= j < h) relative to l: pixel centres inside the ellipse. Computed from
    // the left and mirrored so both halves match exactly; empty when begin > end.
    struct Span {
        int64_t begin, end;
    };
    const auto span = [&](int64_t j) -> Span {
        if (j < 0 || j >= h) {
            return {1, 0};
        }
        const double v = (static_cast<double>(j) + 0.5 - c) / c;
        const double halfWidth = a * std::sqrt(std::max(0.0, 1.0 - v * v));
        const int64_t begin = static_cast<int64_t>(std::ceil(a - halfWidth - 0.5));
        return {begin, w - 1 - begin};
    };

    const uint32_t penPixel = pixelOf(penColor_);
    const uint32_t fillPixel = pixelOf(fill);
    const int64_t rowFirst = std::max<int64_t>(t, 0);
    const int64_t rowLast = std::min<int64_t>(b, image_.height()) - 1;
    const int64_t width = image_.width();
    for (int64_t y = rowFirst; y <= rowLast; ++y) {
        const int64_t j = y - t;
        const Span here = span(j);
        if (here.begin > here.end) {
            continue;
        }
        const Span above = span(j - 1);
        const Span below = span(j + 1);
        // Inside (every 4-neighbour in the ellipse) are the columns covered by the rows above
        // and below, less this row's two ends.
        const int64_t innerBegin = std::max({here.begin + 1, above.begin, below.begin});
        const int64_t innerEnd = std::min({here.end - 1, above.end, below.end});
        uint32_t* row = reinterpret_cast<uint32_t*>(image_.scanLine(static_cast<int>(y)));
        const auto paint = [&](int64_t from, int64_t to, uint32_t pixel) {
            from = std::max<int64_t>(from + l, 0);
            to = std::min<int64_t>(to + l, width - 1);
            if (from <= to) {
                std::fill(row + from, row + to + 1, pixel);
            }
        };
        if (innerBegin > innerEnd) {
            paint(here.begin, here.end, penPixel);
        } else {
            paint(here.begin, innerBegin - 1, penPixel);
            paint(innerBegin, innerEnd, fillPixel);
            paint(innerEnd + 1, here.end, penPixel);
        }
    }
}

namespace {

// The pixels of row j (0 <= j < h) of [0, w) x [0, h) whose centres lie in the inscribed
// ellipse: [begin, end], empty when begin > end. Computed from the left and mirrored so both
// halves match exactly.
struct Span {
    int64_t begin, end;
};
Span ellipseSpan(int64_t w, int64_t h, int64_t j) {
    if (w <= 0 || h <= 0 || j < 0 || j >= h) {
        return {1, 0};
    }
    const double a = static_cast<double>(w) / 2;
    const double c = static_cast<double>(h) / 2;
    const double v = (static_cast<double>(j) + 0.5 - c) / c;
    const double halfWidth = a * std::sqrt(std::max(0.0, 1.0 - v * v));
    const int64_t begin = static_cast<int64_t>(std::ceil(a - halfWidth - 0.5));
    return {begin, w - 1 - begin};
}

}  // namespace

// Above scale 1 the outline is the band between the box's ellipse and the ellipse of the box
// inset by s on every side, so that it is s device pixels wide like a line.
void RasterSurface::scaledEllipse(int64_t l, int64_t t, int64_t r, int64_t b, ColorRef fill) {
    const int64_t s = scale_;
    const int64_t left = l * s;
    const int64_t top = t * s;
    const int64_t w = (r - l) * s;
    const int64_t h = (b - t) * s;
    const uint32_t penPixel = pixelOf(penColor_);
    const uint32_t fillPixel = pixelOf(fill);
    const int64_t width = image_.width();
    const int64_t rowFirst = std::max<int64_t>(top, 0);
    const int64_t rowLast = std::min<int64_t>(top + h, image_.height()) - 1;
    for (int64_t y = rowFirst; y <= rowLast; ++y) {
        const Span outer = ellipseSpan(w, h, y - top);
        if (outer.begin > outer.end) {
            continue;
        }
        Span inner = ellipseSpan(w - 2 * s, h - 2 * s, y - top - s);
        inner.begin += s;
        inner.end += s;
        uint32_t* row = reinterpret_cast<uint32_t*>(image_.scanLine(static_cast<int>(y)));
        const auto paint = [&](int64_t from, int64_t to, uint32_t pixel) {
            from = std::max<int64_t>(from + left, 0);
            to = std::min<int64_t>(to + left, width - 1);
            if (from <= to) {
                std::fill(row + from, row + to + 1, pixel);
            }
        };
        if (inner.begin > inner.end) {
            paint(outer.begin, outer.end, penPixel);
        } else {
            paint(outer.begin, inner.begin - 1, penPixel);
            paint(inner.begin, inner.end, fillPixel);
            paint(inner.end + 1, outer.end, penPixel);
        }
    }
}

// ---- text ----

const RasterSurface::Face& RasterSurface::deviceFace(Font& font) const {
    if (scale_ == 1) {
        return font.face;
    }
    if (!font.device || font.deviceScale != scale_) {
        font.device = std::make_unique<Face>(makeFont(font.faceName, font.pixels * scale_));
        font.deviceScale = scale_;
    }
    return *font.device;
}

void RasterSurface::textOut(int32_t x, int32_t y, std::string_view cp932) {
    if (!writable() || cp932.empty()) {
        return;
    }
    Font* font = fontOf(selected_);
    if (!font) {
        return;
    }
    const QString text = QString::fromStdU16String(utf16FromCp932(cp932));

    // Glyphs placed one after another by their logical advances. A character the font file
    // lacks sends the whole text through QPainter's layout, which finds it in another font.
    QList<quint32> glyphs;
    QList<qreal> offsets;  // logical x of each glyph
    int64_t advance = 0;
    if (font->face.raw.isValid()) {
        glyphs = font->face.raw.glyphIndexesForString(text);
        if (glyphs.size() == text.size() && !glyphs.contains(0u)) {
            const QList<QPointF> advances = font->face.raw.advancesForGlyphIndexes(glyphs);
            offsets.reserve(glyphs.size());
            for (const QPointF& a : advances) {
                offsets.append(static_cast<qreal>(advance));
                advance += qRound64(a.x());
            }
        } else {
            glyphs.clear();
        }
    }
    if (glyphs.isEmpty()) {
        advance = font->face.metrics.horizontalAdvance(text);
    }

    const int64_t s = scale_;
    const int64_t right = int64_t{x} + advance;
    const int64_t bottom = int64_t{y} + font->text.height;
    // Also keeps QPainter's int coordinates (baseline y + ascent) from overflowing.
    if (x * s >= image_.width() || y * s >= image_.height() || right <= 0 || bottom <= 0) {
        return;
    }
    if (backgroundMode_ == BackgroundMode::Opaque) {
        fillClipped(x * s, y * s, right * s, bottom * s, pixelOf(backgroundColor_));
    }
    const Face& face = deviceFace(*font);
    QPainter painter(&image_);
    // The coordinates here are device pixels already: undo the painter's own scaling of an
    // image that carries its device pixel ratio.
    if (const qreal ratio = image_.devicePixelRatio(); ratio != 1.0) {
        painter.scale(1 / ratio, 1 / ratio);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setPen(QColor::fromRgb(pixelOf(textColor_)));
    // The logical baseline, scaled: the cell's top stays where the layout put it.
    const int baseline = static_cast<int>((int64_t{y} + font->text.ascent) * s);
    const int left = static_cast<int>(x * s);
    if (!glyphs.isEmpty() && s > 1) {
        // The same font file at the larger size has the same glyph indexes.
        const QList<quint32> deviceGlyphs = face.raw.glyphIndexesForString(text);
        if (deviceGlyphs.size() != glyphs.size()) {
            glyphs.clear();
        } else {
            glyphs = deviceGlyphs;
        }
    }
    if (!glyphs.isEmpty()) {
        QList<QPointF> positions;
        positions.reserve(offsets.size());
        for (const qreal offset : offsets) {
            positions.append(QPointF(offset * static_cast<qreal>(s), 0));
        }
        QGlyphRun run;
        run.setRawFont(face.raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(left, baseline), run);
    } else {
        painter.setFont(face.font);
        painter.drawText(left, baseline, text);
    }
}

// ---- icons ----

void RasterSurface::drawIcon(int32_t logicalX, int32_t logicalY, int iconId) {
    if (!writable()) {
        return;
    }
    // One picture per icon and scale: above 1 the icon's own colours and mask, scaled as
    // pixel art.
    const int key = iconId * (kMaxSurfaceScale + 1) + scale_;
    auto found = icons_.find(key);
    if (found == icons_.end()) {
        const char* path = iconResourcePath(iconId);
        if (!path) {
            return;
        }
        registerIconResources();
        QImage icon = QImage(QString::fromLatin1(path)).convertToFormat(QImage::Format_ARGB32);
        icon = scalePixelArt(icon, scale_);
        found = icons_.emplace(key, std::move(icon)).first;
    }
    const QImage& icon = found->second;
    const int64_t x = int64_t{logicalX} * scale_;
    const int64_t y = int64_t{logicalY} * scale_;
    const int64_t firstRow = std::max<int64_t>(0, -y);
    const int64_t lastRow = std::min<int64_t>(icon.height(), int64_t{image_.height()} - y) - 1;
    const int64_t firstColumn = std::max<int64_t>(0, -x);
    const int64_t lastColumn = std::min<int64_t>(icon.width(), int64_t{image_.width()} - x) - 1;
    for (int64_t row = firstRow; row <= lastRow; ++row) {
        const uint32_t* from =
            reinterpret_cast<const uint32_t*>(icon.constScanLine(static_cast<int>(row)));
        uint32_t* to = reinterpret_cast<uint32_t*>(image_.scanLine(static_cast<int>(y + row))) + x;
        for (int64_t column = firstColumn; column <= lastColumn; ++column) {
            // Icons are drawn with a mask: a pixel is either the icon's or left alone.
            if (qAlpha(from[column]) >= 0x80) {
                to[column] = from[column] | 0xFF000000u;
            }
        }
    }
}

}  // namespace zepa
