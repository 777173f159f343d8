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
    int32_t x1 = 0, y1 = 0, x2 = 0,
            y2 = 0;      // Line: from/to; Fill, Ellipse: left, top, right, bottom
    ColorRef color = 0;  // pen, fill or text colour
    PenStyle style = PenStyle::Solid;
    RasterOp rasterOp = RasterOp::CopyPen;
    std::string text;         // CP932 bytes
    ColorRef background = 0;  // text background colour
    BackgroundMode backgroundMode = BackgroundMode::Opaque;
    int32_t fontHeight = 0;  // height of the font selected for text
    int iconId = 0;
};

class RecordingSurface : public DrawingSurface {
  public:
    // Metrics for a font of the given (negative) height. Default: width |h|/2, cell |h|,
    // no external leading.
    std::function<TextMetrics(int32_t height)> metricsFor;

    RecordingSurface();

    std::vector<RecordedOp> ops;
    int liveFonts() const { return static_cast<int>(fonts_.size()) - deleted_; }

    // Convenience filters.
    std::vector<RecordedOp> ofKind(RecordedOp::Kind kind) const;
    std::vector<std::string> texts() const;

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
    void setBackgroundColor(ColorRef color) override { background_ = color; }
    void setBackgroundMode(BackgroundMode mode) override { backgroundMode_ = mode; }
    void textOut(int32_t x, int32_t y, std::string_view cp932) override;
    void setRasterOp(RasterOp op) override { rasterOp_ = op; }
    void drawIcon(int32_t x, int32_t y, int iconId) override;

  private:
    std::vector<int32_t> fonts_;  // height per font id - 1; id 1 is the stock font
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
