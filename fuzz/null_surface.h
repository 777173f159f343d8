// A drawing surface that draws nothing, with fixed font metrics: the targets run the chart's
// arithmetic, not the pixels.
#pragma once

#include "chart/surface.h"

namespace zepa::fuzz {

class NullSurface final : public DrawingSurface {
  public:
    FontId createFont(const FontRequest& request) override {
        return request.height == 0 ? 0 : ++lastFont_;
    }
    FontId selectFont(FontId font) override {
        const FontId before = selected_;
        selected_ = font;
        return before;
    }
    void deleteFont(FontId) override {}
    TextMetrics textMetrics() const override { return {8, 16, 13, 0}; }
    void selectPen(ColorRef, PenStyle) override {}
    void selectDefaultPen() override {}
    void moveTo(int32_t, int32_t) override {}
    void lineTo(int32_t, int32_t) override {}
    void fillRect(int32_t, int32_t, int32_t, int32_t, ColorRef) override {}
    void ellipse(int32_t, int32_t, int32_t, int32_t, ColorRef) override {}
    void setTextColor(ColorRef) override {}
    void setBackgroundColor(ColorRef) override {}
    void setBackgroundMode(BackgroundMode) override {}
    void textOut(int32_t, int32_t, std::string_view) override {}
    void setRasterOp(RasterOp) override {}
    void drawIcon(int32_t, int32_t, int) override {}

  private:
    FontId lastFont_ = 0;
    FontId selected_ = 0;
};

}  // namespace zepa::fuzz
