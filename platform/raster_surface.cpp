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

RasterSurface::Font::Font(const QFont& f)
    : font(f), metrics(f), raw(QRawFont::fromFont(f, QFontDatabase::Japanese)) {}

RasterSurface::RasterSurface(QImage& image) : image_(image) {
    fonts_.resize(1);
}

RasterSurface::~RasterSurface() = default;

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
        fonts_[0] = std::make_unique<Font>(makeFont({}, kStockFontPixels));
        fonts_[0]->text = metricsOf(fonts_[0]->metrics);
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
    auto font = std::make_unique<Font>(makeFont(request.face, static_cast<int>(pixels)));
    font->text = metricsOf(font->metrics);

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
    const int64_t x0 = penX_;
    const int64_t y0 = penY_;
    penX_ = x;
    penY_ = y;
    const int64_t dx = x - x0;
    const int64_t dy = y - y0;
    const int64_t n = std::max(std::llabs(dx), std::llabs(dy));  // pixels of the segment
    if (n == 0) {
        return;
    }
    const uint32_t phase = dotPhase_;
    dotPhase_ = static_cast<uint32_t>((phase + static_cast<uint64_t>(n)) % kDotPeriod);
    if (!writable()) {
        return;
    }

    // Step i (0 <= i < n) lights major = m0 + i * step and minor = k0 + offset(i), offset(i)
    // being i * d / n rounded to nearest with halves toward the smaller coordinate.
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t m0 = xMajor ? x0 : y0;
    const int64_t k0 = xMajor ? y0 : x0;
    const int64_t step = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int64_t d = xMajor ? dy : dx;
    const int64_t width = image_.width();
    const int64_t height = image_.height();
    const int64_t twoN = 2 * n;
    int64_t first = 0;
    int64_t last = n - 1;
    int64_t k = 0;
    int64_t remainder = n - 1;  // step 0: numerator n - 1 over 2n
    // Most segments of a chart lie wholly on the image: every step between two visible ends is
    // visible, so the clipping searches (and their 128-bit divisions) are only for the rest.
    const bool bothEndsVisible = x0 >= 0 && x0 < width && y0 >= 0 && y0 < height && x >= 0 &&
                                 x < width && y >= 0 && y < height;
    if (!bothEndsVisible) {
        const int64_t majorSize = xMajor ? width : height;
        const int64_t minorSize = xMajor ? height : width;
        const auto offset = [&](int64_t i) { return floorDiv(Int128{2} * i * d + n - 1, twoN); };

        // Steps whose major coordinate is on the image.
        first = std::max<int64_t>(step > 0 ? -m0 : m0 - (majorSize - 1), 0);
        last = std::min(step > 0 ? majorSize - 1 - m0 : m0, n - 1);
        if (first > last) {
            return;
        }
        // Of those, the steps whose minor coordinate is on the image (offset is monotone in i).
        const int64_t lowOffset = -k0;
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
    uint32_t dot = static_cast<uint32_t>((phase + static_cast<uint64_t>(first)) % kDotPeriod);

    const bool dotted = penStyle_ == PenStyle::Dot;
    const bool invert = rasterOp_ == RasterOp::Not;
    const uint32_t pixel = pixelOf(penColor_);
    uchar* bits = image_.bits();
    const int64_t stride = image_.bytesPerLine();
    for (int64_t i = first; i <= last; ++i) {
        if (!dotted || dot < kDotOn) {
            const int64_t px = xMajor ? m : k0 + k;
            const int64_t py = xMajor ? k0 + k : m;
            uint32_t* p = reinterpret_cast<uint32_t*>(bits + py * stride) + px;
            *p = invert ? *p ^ 0x00FFFFFFu : pixel;
        }
        if (++dot == kDotPeriod) {
            dot = 0;
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
        fillClipped(left, top, right, bottom, pixelOf(color));
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

// ---- text ----

void RasterSurface::textOut(int32_t x, int32_t y, std::string_view cp932) {
    if (!writable() || cp932.empty()) {
        return;
    }
    const Font* font = fontOf(selected_);
    if (!font) {
        return;
    }
    const QString text = QString::fromStdU16String(utf16FromCp932(cp932));

    // Glyphs placed one after another by their advances. A character the font file lacks
    // sends the whole text through QPainter's layout, which finds it in another font.
    QList<quint32> glyphs;
    QList<QPointF> positions;
    int64_t advance = 0;
    if (font->raw.isValid()) {
        glyphs = font->raw.glyphIndexesForString(text);
        if (glyphs.size() == text.size() && !glyphs.contains(0u)) {
            const QList<QPointF> advances = font->raw.advancesForGlyphIndexes(glyphs);
            positions.reserve(glyphs.size());
            for (const QPointF& a : advances) {
                positions.append(QPointF(static_cast<qreal>(advance), 0));
                advance += qRound64(a.x());
            }
        } else {
            glyphs.clear();
        }
    }
    if (glyphs.isEmpty()) {
        advance = font->metrics.horizontalAdvance(text);
    }

    const int64_t right = int64_t{x} + advance;
    const int64_t bottom = int64_t{y} + font->text.height;
    // Also keeps QPainter's int coordinates (baseline y + ascent) from overflowing.
    if (x >= image_.width() || y >= image_.height() || right <= 0 || bottom <= 0) {
        return;
    }
    if (backgroundMode_ == BackgroundMode::Opaque) {
        fillClipped(x, y, right, bottom, pixelOf(backgroundColor_));
    }
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setPen(QColor::fromRgb(pixelOf(textColor_)));
    const int baseline = static_cast<int>(int64_t{y} + font->text.ascent);
    if (!glyphs.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(font->raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(x, baseline), run);
    } else {
        painter.setFont(font->font);
        painter.drawText(x, baseline, text);
    }
}

// ---- icons ----

void RasterSurface::drawIcon(int32_t x, int32_t y, int iconId) {
    if (!writable()) {
        return;
    }
    auto found = icons_.find(iconId);
    if (found == icons_.end()) {
        const char* path = iconResourcePath(iconId);
        if (!path) {
            return;
        }
        registerIconResources();
        QImage icon(QString::fromLatin1(path));
        found = icons_.emplace(iconId, icon.convertToFormat(QImage::Format_ARGB32)).first;
    }
    const QImage& icon = found->second;
    const int64_t firstRow = std::max<int64_t>(0, -int64_t{y});
    const int64_t lastRow = std::min<int64_t>(icon.height(), int64_t{image_.height()} - y) - 1;
    const int64_t firstColumn = std::max<int64_t>(0, -int64_t{x});
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
