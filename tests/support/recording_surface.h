// A drawing surface that records every operation, with font metrics chosen by the test, so
// chart geometry can be checked without pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chart/surface.h"

namespace zepa {

struct RecordedOp {
    enum Kind { Line, Fill, Ellipse, Text, Icon };
    Kind kind = Line;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Line: from, to; Fill, Ellipse: the box
    ColorRef color = 0;                      // pen, fill or text colour
    PenStyle style = PenStyle::Solid;
    RasterOp rasterOp = RasterOp::CopyPen;
    std::string text{};  // CP932 bytes
    ColorRef background = 0;
    BackgroundMode backgroundMode = BackgroundMode::Opaque;
    int32_t fontHeight = 0;  // of the font selected for text
    int iconId = 0;
};

class RecordingSurface : public DrawingSurface {
  public:
    // Metrics for a font of the given (negative) height. Default: width |h|/2, cell |h|,
    // no external leading.
    std::function<TextMetrics(int32_t height)> metricsFor = [](int32_t height) {
        const int32_t h = height < 0 ? -height : height;
        return TextMetrics{h / 2, h, h - h / 5, 0};
    };
    std::vector<RecordedOp> ops;

    int liveFonts() const { return static_cast<int>(fonts_.size()) - deleted_; }
    std::vector<RecordedOp> ofKind(RecordedOp::Kind kind) const {
        std::vector<RecordedOp> out;
        for (const RecordedOp& op : ops) {
            if (op.kind == kind) {
                out.push_back(op);
            }
        }
        return out;
    }

    FontId createFont(const FontRequest& request) override {
        fonts_.push_back(request.height);
        return static_cast<FontId>(fonts_.size());
    }
    FontId selectFont(FontId font) override {
        const FontId previous = selected_;
        if (font >= 1 && font <= static_cast<FontId>(fonts_.size())) {
            selected_ = font;
        }
        return previous;
    }
    void deleteFont(FontId font) override {
        deleted_ += font > 1 && font <= static_cast<FontId>(fonts_.size());
    }
    TextMetrics textMetrics() const override { return metricsFor(fonts_[selected_ - 1]); }
    void selectPen(ColorRef color, PenStyle style) override {
        penColor_ = color;
        penStyle_ = style;
    }
    void selectDefaultPen() override { selectPen(0, PenStyle::Solid); }
    void moveTo(int32_t x, int32_t y) override {
        penX_ = x;
        penY_ = y;
    }
    void lineTo(int32_t x, int32_t y) override {
        ops.push_back({RecordedOp::Line, penX_, penY_, x, y, penColor_, penStyle_, rasterOp_});
        moveTo(x, y);
    }
    void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                  ColorRef color) override {
        ops.push_back({RecordedOp::Fill, left, top, right, bottom, color});
    }
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorRef fill) override {
        ops.push_back({RecordedOp::Ellipse, left, top, right, bottom, fill});
    }
    void setTextColor(ColorRef color) override { textColor_ = color; }
    void setBackgroundColor(ColorRef color) override { background_ = color; }
    void setBackgroundMode(BackgroundMode mode) override { backgroundMode_ = mode; }
    void textOut(int32_t x, int32_t y, std::string_view cp932) override {
        RecordedOp op{RecordedOp::Text, x, y, 0, 0, textColor_};
        op.text = cp932;
        op.background = background_;
        op.backgroundMode = backgroundMode_;
        op.fontHeight = fonts_[selected_ - 1];
        ops.push_back(op);
    }
    void setRasterOp(RasterOp op) override { rasterOp_ = op; }
    void drawIcon(int32_t x, int32_t y, int iconId) override {
        RecordedOp op{RecordedOp::Icon, x, y};
        op.iconId = iconId;
        ops.push_back(op);
    }

  private:
    std::vector<int32_t> fonts_{-12};  // height per font id - 1; id 1 is the stock font
    int deleted_ = 0;
    FontId selected_ = 1;
    ColorRef penColor_ = 0;
    PenStyle penStyle_ = PenStyle::Solid;
    int32_t penX_ = 0, penY_ = 0;
    ColorRef textColor_ = 0;
    ColorRef background_ = 0xFFFFFF;
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
    RasterOp rasterOp_ = RasterOp::CopyPen;
};

}  // namespace zepa
