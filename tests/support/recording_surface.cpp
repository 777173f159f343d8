#include "tests/support/recording_surface.h"

#include <cstdlib>

namespace zepa {

RecordingSurface::RecordingSurface() {
    metricsFor = [](int32_t height) {
        int32_t h = std::abs(height);
        return TextMetrics{h / 2, h, h - h / 5, 0};
    };
    fonts_.push_back(-12);  // the surface's stock font
}

std::vector<RecordedOp> RecordingSurface::ofKind(RecordedOp::Kind kind) const {
    std::vector<RecordedOp> out;
    for (const RecordedOp& op : ops) {
        if (op.kind == kind) {
            out.push_back(op);
        }
    }
    return out;
}

std::vector<std::string> RecordingSurface::texts() const {
    std::vector<std::string> out;
    for (const RecordedOp& op : ops) {
        if (op.kind == RecordedOp::Text) {
            out.push_back(op.text);
        }
    }
    return out;
}

FontId RecordingSurface::createFont(const FontRequest& request) {
    fonts_.push_back(request.height);
    return static_cast<FontId>(fonts_.size());
}

FontId RecordingSurface::selectFont(FontId font) {
    FontId previous = selected_;
    if (font >= 1 && font <= static_cast<FontId>(fonts_.size())) {
        selected_ = font;
    }
    return previous;
}

void RecordingSurface::deleteFont(FontId font) {
    if (font > 1 && font <= static_cast<FontId>(fonts_.size())) {
        ++deleted_;
    }
}

TextMetrics RecordingSurface::textMetrics() const {
    return metricsFor(fonts_[selected_ - 1]);
}

void RecordingSurface::selectPen(ColorRef color, PenStyle style) {
    penColor_ = color;
    penStyle_ = style;
}

void RecordingSurface::selectDefaultPen() {
    penColor_ = 0;
    penStyle_ = PenStyle::Solid;
}

void RecordingSurface::moveTo(int32_t x, int32_t y) {
    penX_ = x;
    penY_ = y;
}

void RecordingSurface::lineTo(int32_t x, int32_t y) {
    RecordedOp op;
    op.kind = RecordedOp::Line;
    op.x1 = penX_;
    op.y1 = penY_;
    op.x2 = x;
    op.y2 = y;
    op.color = penColor_;
    op.style = penStyle_;
    op.rasterOp = rasterOp_;
    ops.push_back(op);
    penX_ = x;
    penY_ = y;
}

void RecordingSurface::fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                ColorRef color) {
    RecordedOp op;
    op.kind = RecordedOp::Fill;
    op.x1 = left;
    op.y1 = top;
    op.x2 = right;
    op.y2 = bottom;
    op.color = color;
    ops.push_back(op);
}

void RecordingSurface::ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom,
                               ColorRef fill) {
    RecordedOp op;
    op.kind = RecordedOp::Ellipse;
    op.x1 = left;
    op.y1 = top;
    op.x2 = right;
    op.y2 = bottom;
    op.color = fill;
    ops.push_back(op);
}

void RecordingSurface::textOut(int32_t x, int32_t y, std::string_view cp932) {
    RecordedOp op;
    op.kind = RecordedOp::Text;
    op.x1 = x;
    op.y1 = y;
    op.text = std::string(cp932);
    op.color = textColor_;
    op.background = background_;
    op.backgroundMode = backgroundMode_;
    op.fontHeight = fonts_[selected_ - 1];
    ops.push_back(op);
}

void RecordingSurface::drawIcon(int32_t x, int32_t y, int iconId) {
    RecordedOp op;
    op.kind = RecordedOp::Icon;
    op.x1 = x;
    op.y1 = y;
    op.iconId = iconId;
    ops.push_back(op);
}

}  // namespace zepa
