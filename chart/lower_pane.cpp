#include "chart/lower_pane.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "chart/chart_geometry.h"
#include "chart/ratio_pane.h"
#include "marketdata/position_figures.h"

namespace zepa {
namespace {

// Pane units kept free of values: half of them above the outer grid line, half below the other.
constexpr int kValueMarginUnits = 14;

constexpr int kTitleBandColor = 13;
constexpr int kTitleTextColor = 14;
constexpr int kFallingBarColor = 20;  // zero and below
constexpr int kRisingBarColor = 21;
constexpr int kPaneColor = 50;
constexpr int kPaneOutlineColor = 51;
constexpr int kMonthLineColor = 56;
constexpr int kZeroLineColor = 57;
constexpr int kGridColor = 58;
constexpr int kLabelColor = 59;
constexpr int kBuyRateColor = 93;
constexpr int kSellRateColor = 97;

int32_t clampToInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The vertical mapping of chart values: v lands at zeroY - trunc(factor * v).
struct ValueScale {
    int32_t value = 0;  // V
    int32_t zeroY = 0;  // m
    int32_t outer = 0;  // g1
    int32_t inner = 0;  // g2
    float factor = 0.0f;
};

int32_t zeroLineY(const ChartContext& c, int32_t top) {
    const float paneHeight = static_cast<float>(kLowerPaneUnits) * c.state.layout.paneScale;
    return clampToInt32(int64_t{top} + truncToInt32(paneHeight * 0.5));
}

ValueScale valueScale(const ChartContext& c, int32_t top, int32_t value) {
    const float span =
        static_cast<float>(kLowerPaneUnits - kValueMarginUnits) * c.state.layout.paneScale;
    ValueScale s;
    s.value = value;
    s.zeroY = zeroLineY(c, top);
    s.outer = truncToInt32(span * 0.5);
    s.inner = truncToInt32(span * 0.25);
    s.factor = value != 0 ? static_cast<float>(span * 0.5 / value) : 0.0f;
    return s;
}

// |trunc(v)|; a 64-bit profit or spread beyond the 32-bit range saturates instead of wrapping.
int32_t truncMagnitude(float v) {
    const double a = std::fabs(static_cast<double>(v));
    if (!(a < static_cast<double>(INT32_MAX))) {
        return INT32_MAX;
    }
    return static_cast<int32_t>(a);
}

int32_t scaleValueOf(float lo, float hi) {
    return std::max(truncMagnitude(lo), truncMagnitude(hi));
}

int32_t valueY(const ValueScale& s, float v) {
    if (s.value == INT32_MAX) {
        // A saturated scale: values beyond it stop at the outer grid lines instead of
        // leaving the pane.
        const float limit = static_cast<float>(s.value);
        v = std::clamp(v, -limit, limit);
    }
    return clampToInt32(int64_t{s.zeroY} - truncPixels(s.factor * v));
}

// The shown slots that exist in both bar arrays: [first, last]; first may lie below 0.
struct ShownRange {
    int64_t first = 0;
    int64_t last = -1;
};

ShownRange shownRange(const ChartContext& c) {
    const int64_t size =
        static_cast<int64_t>(std::min(c.series.buyBars.size(), c.series.sellBars.size()));
    return ShownRange{c.view.firstShownBar, std::min<int64_t>(c.view.lastShownBar, size - 1)};
}

// Scales the values that valueAt yields for the shown slots, stores V, and draws one bar per
// slot with a value, from its y to the zero line.
template <typename ValueAt>
void drawValueBars(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t top,
                   ValueAt valueAt) {
    const ShownRange range = shownRange(c);
    float lo = 1.0e9f;
    float hi = -1.0e9f;
    for (int64_t i = std::max<int64_t>(range.first, 0); i <= range.last; ++i) {
        float v = 0.0f;
        if (valueAt(static_cast<size_t>(i), v)) {
            hi = std::max(hi, v);
            lo = std::min(lo, v);
        }
    }
    const int32_t value = scaleValueOf(lo, hi);
    c.state.lowerScaleValue = value;
    const ValueScale scale = valueScale(c, top, value);

    // Bars are 2h - 1 pixels wide; below a pitch of 2 (h = 0) a single column.
    const int64_t h = truncToInt32(static_cast<double>(c.state.layout.pitch) * 0.5);
    const int64_t half = std::max<int64_t>(h - 1, 0);
    BarAxis axis{originX, c.state.layout.pitch, 0.0f};
    for (int64_t i = range.first; i <= range.last; ++i) {
        const int32_t x = axis.advance();
        float v = 0.0f;
        if (i < 0 || !valueAt(static_cast<size_t>(i), v)) {
            continue;
        }
        const ColorRef color = chartColor(c, v > 0.0f ? kRisingBarColor : kFallingBarColor);
        fillBox(surface, clampToInt32(x - half), valueY(scale, v), clampToInt32(x + half),
                scale.zeroY, color);
    }
}

// The leg's change since entry at slot i, across splits, in percent of the close (or with the
// setting of the entry close); none where the close is not positive.
bool changeRate(const ChartContext& c, Leg leg, size_t i, float& rate) {
    if (storedBars(c.series, leg)[i].close <= 0) {
        return false;
    }
    double value = 0.0;
    if (!shownChangeRate(c.series, leg, static_cast<int32_t>(i), c.settings.changeRateOfEntry == 1,
                         value)) {
        return false;
    }
    rate = static_cast<float>(value);
    return true;
}

// One leg's change-rate line. A slot without a rate leaves a gap that the next point bridges
// from the previous slot's x at the last y of the line.
void drawRateLine(DrawingSurface& surface, const ChartContext& c, int32_t originX,
                  const ValueScale& scale, Leg leg, int32_t legStart, ColorRef color) {
    const ShownRange range = shownRange(c);
    BarAxis axis{originX, c.state.layout.pitch, 0.0f};
    bool hasPoint = false;
    int32_t lastY = 0;
    int32_t previousX = 0;
    for (int64_t i = range.first; i <= range.last; ++i) {
        const int32_t x = axis.advance();
        float rate = 0.0f;
        if (i >= 0 && changeRate(c, leg, static_cast<size_t>(i), rate)) {
            const int32_t y = valueY(scale, rate);
            if (i > range.first && i > legStart && hasPoint) {
                drawLine(surface, x, y, previousX, lastY, color, PenStyle::Solid);
            }
            hasPoint = true;
            lastY = y;
        }
        previousX = x;
    }
}

const std::string* modeTitle(int32_t mode) {
    static const std::string titles[] = {
        cp932FromUtf8("利益チャート(単位：万円)"),
        cp932FromUtf8("変動率(単位：％)"),
        cp932FromUtf8("さやチャート(単位：円)"),
        cp932FromUtf8("レシオケータ"),
    };
    if (mode < 0 || mode > 3) {
        return nullptr;
    }
    return &titles[mode];
}

void drawMonthLines(DrawingSurface& surface, const ChartContext& c, int32_t originX, int32_t top) {
    const std::vector<DayBar>& bars = c.series.buyBars;
    const int64_t last =
        std::min<int64_t>(c.view.lastShownBar, static_cast<int64_t>(bars.size()) - 1);
    const float paneHeight = static_cast<float>(kLowerPaneUnits) * c.state.layout.paneScale;
    const int32_t bottom = clampToInt32(int64_t{top} + truncPixels(paneHeight));
    BarAxis axis{originX, c.state.layout.pitch, 0.0f};
    for (int64_t i = c.view.firstShownBar; i <= last; ++i) {
        const int32_t x = axis.advance();
        if (i >= 1 && bars[static_cast<size_t>(i)].date.month !=
                          bars[static_cast<size_t>(i - 1)].date.month) {
            drawLine(surface, x, top, x, bottom, chartColor(c, kMonthLineColor), PenStyle::Solid);
        }
    }
}

// The z line inside the pane's outline, on the scale whose outer grid lines are +-2 sigma.
void drawRatioBody(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t top) {
    c.state.lowerScaleValue = kRatioScaleValue;
    const ValueScale s = valueScale(c, top, kRatioScaleValue);
    const ChartLayout& l = c.state.layout;
    const ZLineScale scale{s.zeroY, s.factor, clampToInt32(int64_t{top} + 1),
                           clampToInt32(int64_t{l.lowerPaneBottom} - 1)};
    drawZLine(surface, c, originX, scale);
    drawTradeMarks(surface, c, originX, scale);
}

void drawLabels(DrawingSurface& surface, const ChartContext& c, const ValueScale& s) {
    const ChartLayout& l = c.state.layout;
    const FontSlot& slot = c.fonts.slots[2];
    const int32_t x = l.lowerPaneLeft + slot.charWidth;
    const int32_t lift = slot.lineHeight / 2;
    const int32_t v = s.value;
    const bool scaled = v != 0 && v != kNoLowerScaleValue;

    char text[4][64] = {};
    if (c.settings.lowerPaneMode == 3) {
        // Right-aligned in six cells as the numbers; sigma is two cells wide.
        static const std::string sigma[] = {cp932FromUtf8("  +2σ"), cp932FromUtf8("  +1σ"),
                                            cp932FromUtf8("  -1σ"), cp932FromUtf8("  -2σ")};
        for (int k = 0; k < 4; ++k) {
            std::snprintf(text[k], sizeof text[k], "%s", sigma[k].c_str());
        }
    } else if (c.settings.lowerPaneMode == 0) {
        // V is in yen, the labels in units of 10,000 yen.
        const char* format = v > 100000 ? "%+6.0f" : "%+6.1f";
        std::snprintf(text[0], sizeof text[0], format, v * 0.0001);
        std::snprintf(text[1], sizeof text[1], format, v * 0.00005);
        std::snprintf(text[2], sizeof text[2], format, -v * 0.00005);
        std::snprintf(text[3], sizeof text[3], format, -v * 0.0001);
    } else {
        std::snprintf(text[0], sizeof text[0], "%+6d", v);
        std::snprintf(text[1], sizeof text[1], "%+6d", v / 2);
        std::snprintf(text[2], sizeof text[2], "%+6d", (-v) / 2);
        std::snprintf(text[3], sizeof text[3], "%+6d", -v);
    }
    const int64_t m = s.zeroY;
    const auto put = [&](int64_t lineY, const char* label) {
        surface.textOut(x, clampToInt32(lineY - lift), label);
    };
    if (scaled) {
        put(m - s.outer, text[0]);
        put(m - s.inner, text[1]);
    }
    put(m, "     0");
    if (scaled) {
        put(m + s.inner, text[2]);
        put(m + s.outer, text[3]);
    }
}

}  // namespace

void drawLowerPane(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t top) {
    const ChartLayout& l = c.state.layout;
    const int32_t mode = c.settings.lowerPaneMode;

    fillBox(surface, l.lowerPaneLeft, l.lowerTitleTop, l.lowerPaneRight, l.lowerTitleBottom,
            chartColor(c, kTitleBandColor));
    fillBox(surface, l.lowerPaneLeft, top, l.lowerPaneRight, l.lowerPaneBottom,
            chartColor(c, kPaneColor));
    outlineBox(surface, l.lowerPaneLeft, top, l.lowerPaneRight, l.lowerPaneBottom,
               chartColor(c, kPaneOutlineColor), PenStyle::Solid);
    drawMonthLines(surface, c, originX, top);

    // The grid does not depend on V.
    const ValueScale grid = valueScale(c, top, 0);
    const int64_t m = grid.zeroY;
    for (const int64_t y : {m - grid.outer, m - grid.inner, m + grid.inner, m + grid.outer}) {
        const int32_t gy = clampToInt32(y);
        drawLine(surface, originX, gy, l.lowerPaneRight, gy, chartColor(c, kGridColor),
                 PenStyle::Solid);
    }

    selectFontSlot(surface, c.fonts, 1, kChartFontFace, l.axisFontHeight);
    surface.setBackgroundMode(BackgroundMode::Opaque);
    surface.setBackgroundColor(chartColor(c, kTitleBandColor));
    surface.setTextColor(chartColor(c, kTitleTextColor));
    if (const std::string* title = modeTitle(mode)) {
        const int32_t titleX =
            clampToInt32(int64_t{l.lowerPaneLeft} + 2 * c.fonts.slots[1].charWidth);
        surface.textOut(titleX, clampToInt32(int64_t{l.lowerTitleTop} + 3),
                        mode == 3 ? ratioTitle(c) : *title);
    }

    switch (mode) {
        case 0:
            drawProfitBars(surface, c, originX, top);
            break;
        case 1:
            drawChangeRateLines(surface, c, originX, top);
            break;
        case 2:
            drawSpreadBars(surface, c, originX, top);
            break;
        case 3:
            drawRatioBody(surface, c, originX, top);
            break;
        default:
            break;
    }

    selectFontSlot(surface, c.fonts, 2, kChartFontFace, l.labelFontHeight);
    surface.setBackgroundMode(BackgroundMode::Transparent);
    surface.setTextColor(chartColor(c, kLabelColor));
    drawLine(surface, originX, grid.zeroY, l.lowerPaneRight, grid.zeroY,
             chartColor(c, kZeroLineColor), PenStyle::Solid);
    drawLabels(surface, c, valueScale(c, top, c.state.lowerScaleValue));
}

void drawProfitBars(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t top) {
    const std::vector<DayBar>& buy = c.series.buyBars;
    const std::vector<DayBar>& sell = c.series.sellBars;
    drawValueBars(surface, c, originX, top, [&](size_t i, float& profit) {
        if (buy[i].close <= 0 && sell[i].close <= 0) {
            return false;
        }
        profit = static_cast<float>(positionProfit(c.series, c.position, static_cast<int32_t>(i)));
        return true;
    });
}

void drawSpreadBars(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t top) {
    // The spread of the prices on show.
    const std::vector<DayBar>& buy = shownBars(c.series, Leg::Buy);
    const std::vector<DayBar>& sell = shownBars(c.series, Leg::Sell);
    const bool fromAverages = c.settings.spreadSource != 0;
    const bool sellBased = c.settings.spreadBase == 0;
    const LegBars buyLeg = legBars(c, Leg::Buy);
    const LegBars sellLeg = legBars(c, Leg::Sell);
    drawValueBars(surface, c, originX, top, [&](size_t i, float& spread) {
        if (buy[i].close <= 0 || sell[i].close <= 0) {
            return false;
        }
        const auto slot = static_cast<int32_t>(i);
        // Slots before a leg's first real average hold no average, not a price of 0.
        if (fromAverages && !(hasAverage(buyLeg, slot) && hasAverage(sellLeg, slot))) {
            return false;
        }
        const int64_t b = fromAverages ? buy[i].average : buy[i].close;
        const int64_t s = fromAverages ? sell[i].average : sell[i].close;
        spread = static_cast<float>(sellBased ? s - b : b - s);
        return true;
    });
}

void drawChangeRateLines(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t top) {
    const SpreadSeries& series = c.series;
    const ShownRange range = shownRange(c);
    float lo = 1.0e9f;
    float hi = -1.0e9f;
    const auto include = [&](float rate) {
        hi = std::max(hi, rate);
        lo = std::min(lo, rate);
    };
    for (int64_t i = std::max<int64_t>(range.first, 0); i <= range.last; ++i) {
        const auto slot = static_cast<size_t>(i);
        float rate = 0.0f;
        if (changeRate(c, Leg::Buy, slot, rate)) {
            include(rate);
        }
        if (changeRate(c, Leg::Sell, slot, rate)) {
            include(rate);
        }
    }
    const int32_t value = scaleValueOf(lo, hi);
    c.state.lowerScaleValue = value;
    const ValueScale scale = valueScale(c, top, value);
    drawRateLine(surface, c, originX, scale, Leg::Buy, series.buyStart,
                 chartColor(c, kBuyRateColor));
    drawRateLine(surface, c, originX, scale, Leg::Sell, series.sellStart,
                 chartColor(c, kSellRateColor));
}

}  // namespace zepa
