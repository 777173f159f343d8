#include "platform/gdi_surface.h"

#include <cstdint>
#include <string>

#include "base/codepage.h"
#include "chart/primitives.h"

namespace zepa {
namespace {

constexpr int32_t kStockFontPixels = 12;
// Larger requests are refused, as on the raster surface: no chart text comes near.
constexpr int64_t kMaxFontPixels = 1000;
// GDI keeps coordinates within 27 bits; anything beyond is no picture, and is clamped so that
// the driver is never handed a hostile number.
constexpr int32_t kCoordinateLimit = (1 << 27) - 1;

int clamp(int32_t v) {
    return v < -kCoordinateLimit ? -kCoordinateLimit : v > kCoordinateLimit ? kCoordinateLimit : v;
}

COLORREF colorOf(ColorRef c) {
    return static_cast<COLORREF>(c & 0xFFFFFFu);
}

}  // namespace

HFONT createChartFont(std::string_view face, int32_t height) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    const std::wstring name = wideFromUtf8(face);
    lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

GdiSurface::GdiSurface(HDC dc) : dc_(dc) {
    fonts_.push_back(Font{createChartFont(kChartFontFace, -kStockFontPixels), false});
    originalFont_ = SelectObject(dc_, fonts_[0].handle);
    originalPen_ = SelectObject(dc_, GetStockObject(BLACK_PEN));
    originalBrush_ = GetCurrentObject(dc_, OBJ_BRUSH);
    SetBkMode(dc_, OPAQUE);
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

GdiSurface::~GdiSurface() {
    SelectObject(dc_, originalPen_);
    SelectObject(dc_, originalFont_);
    SelectObject(dc_, originalBrush_);
    if (pen_ != nullptr) {
        DeleteObject(pen_);
    }
    for (Font& f : fonts_) {
        if (f.handle != nullptr) {
            DeleteObject(f.handle);
        }
    }
}

GdiSurface::Font* GdiSurface::fontOf(FontId id) {
    if (id < 1 || static_cast<size_t>(id) > fonts_.size() || fonts_[id - 1].handle == nullptr) {
        return nullptr;
    }
    return &fonts_[static_cast<size_t>(id) - 1];
}

FontId GdiSurface::createFont(const FontRequest& request) {
    const int64_t pixels = request.height < 0 ? -int64_t{request.height} : request.height;
    if (pixels > kMaxFontPixels) {
        return 0;
    }
    HFONT handle = createChartFont(request.face, request.height);
    if (handle == nullptr) {
        return 0;
    }
    size_t index = 1;
    while (index < fonts_.size() && fonts_[index].handle != nullptr) {
        ++index;
    }
    if (index == fonts_.size()) {
        fonts_.push_back(Font{});
    }
    fonts_[index] = Font{handle, false};
    return static_cast<FontId>(index + 1);
}

FontId GdiSurface::selectFont(FontId font) {
    Font* next = fontOf(font);
    if (next == nullptr || next->deletePending) {
        return 0;
    }
    const FontId previous = selected_;
    SelectObject(dc_, next->handle);
    selected_ = font;
    if (previous != font) {
        Font* old = fontOf(previous);
        if (old != nullptr && old->deletePending) {
            DeleteObject(old->handle);
            *old = Font{};
        }
    }
    return previous;
}

void GdiSurface::deleteFont(FontId font) {
    Font* f = fontOf(font);
    if (font <= 1 || f == nullptr) {
        return;
    }
    if (font == selected_) {
        f->deletePending = true;
    } else {
        DeleteObject(f->handle);
        *f = Font{};
    }
}

TextMetrics GdiSurface::textMetrics() const {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    TextMetrics m;
    m.averageCharWidth = tm.tmAveCharWidth;
    m.height = tm.tmHeight;
    m.ascent = tm.tmAscent;
    m.externalLeading = tm.tmExternalLeading;
    return m;
}

void GdiSurface::replacePen(HPEN pen) {
    SelectObject(dc_, pen != nullptr ? static_cast<HGDIOBJ>(pen) : GetStockObject(BLACK_PEN));
    if (pen_ != nullptr) {
        DeleteObject(pen_);
    }
    pen_ = pen;
}

void GdiSurface::selectPen(ColorRef color, PenStyle style) {
    // Width 1: a cosmetic pen, whose PS_DOT is 3 pixels on, 3 off along the path.
    replacePen(CreatePen(style == PenStyle::Dot ? PS_DOT : PS_SOLID, 1, colorOf(color)));
}

void GdiSurface::selectDefaultPen() {
    replacePen(nullptr);
}

void GdiSurface::moveTo(int32_t x, int32_t y) {
    MoveToEx(dc_, clamp(x), clamp(y), nullptr);
}

void GdiSurface::lineTo(int32_t x, int32_t y) {
    LineTo(dc_, clamp(x), clamp(y));
}

void GdiSurface::fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                          ColorRef color) {
    if (right <= left || bottom <= top) {
        return;
    }
    const RECT r{clamp(left), clamp(top), clamp(right), clamp(bottom)};
    HBRUSH brush = CreateSolidBrush(colorOf(color));
    FillRect(dc_, &r, brush);
    DeleteObject(brush);
}

void GdiSurface::ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorRef fill) {
    HBRUSH brush = CreateSolidBrush(colorOf(fill));
    HGDIOBJ old = SelectObject(dc_, brush);
    Ellipse(dc_, clamp(left), clamp(top), clamp(right), clamp(bottom));
    SelectObject(dc_, old);
    DeleteObject(brush);
}

void GdiSurface::setTextColor(ColorRef color) {
    SetTextColor(dc_, colorOf(color));
}

void GdiSurface::setBackgroundColor(ColorRef color) {
    SetBkColor(dc_, colorOf(color));
}

void GdiSurface::setBackgroundMode(BackgroundMode mode) {
    SetBkMode(dc_, mode == BackgroundMode::Transparent ? TRANSPARENT : OPAQUE);
}

void GdiSurface::textOut(int32_t x, int32_t y, std::string_view cp932) {
    const std::u16string text = utf16FromCp932(cp932);
    if (text.empty()) {
        return;
    }
    TextOutW(dc_, clamp(x), clamp(y), reinterpret_cast<const wchar_t*>(text.data()),
             static_cast<int>(text.size()));
}

void GdiSurface::setRasterOp(RasterOp op) {
    SetROP2(dc_, op == RasterOp::Not ? R2_NOT : R2_COPYPEN);
}

void GdiSurface::drawIcon(int32_t x, int32_t y, int iconId) {
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId),
                                               IMAGE_ICON, 0, 0, LR_SHARED));
    if (icon != nullptr) {
        DrawIconEx(dc_, clamp(x), clamp(y), icon, 0, 0, 0, nullptr, DI_NORMAL);
    }
}

}  // namespace zepa
