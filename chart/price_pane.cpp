#include "chart/price_pane.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "chart/info_panel.h"
#include "chart/primitives.h"
#include "marketdata/split_adjustment.h"

namespace zepa {

namespace {

// Colour indices of the pane.
constexpr int kMonthColor = 15;
constexpr int kGridColor = 16;
constexpr int kBuyFallingColor = 90;
constexpr int kBuyRisingColor = 91;
constexpr int kBuyTomeashiColor = 92;
constexpr int kSellFallingColor = 94;
constexpr int kSellRisingColor = 95;
constexpr int kSellTomeashiColor = 96;
constexpr int kBuyAverageColor = 98;
constexpr int kSellAverageColor = 99;
// The sell leg's candle colours: its own while overlaid at the entry price.
int sellFallingColor(const ChartContext& c) {
    return c.settings.overlaySellAtEntry == 1 ? kOverlaidSellFallingColor : kSellFallingColor;
}
int sellRisingColor(const ChartContext& c) {
    return c.settings.overlaySellAtEntry == 1 ? kOverlaidSellRisingColor : kSellRisingColor;
}
// Rows of the ex-date mark above the axis line: 5, 3 and 1 pixels wide.
constexpr int32_t kExDateMarkRows = 3;

// y of a price below the given origin, the product in float and truncated toward zero.
int32_t yAt(const ChartContext& c, int32_t originY, int32_t price) {
    const PriceScale& s = c.state.scale;
    const float offset = static_cast<float>(int64_t{s.priceMax} - price) * s.priceScale;
    return static_cast<int32_t>(int64_t{originY} + truncToInt32(offset));
}

// The last slot worth walking: the shown range cut to the bars that exist, so a stale range
// can neither read past the arrays nor spin over slots that have no bar.
int64_t walkEnd(const ChartContext& c, size_t barCount) {
    return std::min<int64_t>(c.view.lastShownBar, static_cast<int64_t>(barCount) - 1);
}

bool monthLabelShown(const ChartContext& c, int month) {
    const float pitch = c.state.layout.pitch;
    if ((c.view.weeklyBars == 0 && pitch > 1.0f) || (c.view.weeklyBars == 1 && pitch > 6.0f)) {
        return true;
    }
    return month % 3 == 0;
}

// Grid value j of six: ends at the extremes; between them equal integer steps for a narrow
// range, else the even fifths rounded half up to a multiple of 10.
int64_t gridValue(const PriceScale& s, int j) {
    if (j == 0) {
        return s.priceMin;
    }
    if (j == 5) {
        return s.priceMax;
    }
    const int64_t range = int64_t{s.priceMax} - s.priceMin;
    if (range <= 250) {
        return s.priceMin + j * (range / 5);
    }
    const double t = (static_cast<double>(s.priceMin) + static_cast<double>(range) * 0.2 * j) * 0.1;
    const double whole = std::floor(t);
    const double rounded = (t - whole >= 0.5) ? (whole + 1.0) * 10.0 : whole * 10.0;
    // The range bounds t to the 32-bit prices, so the value fits.
    return static_cast<int64_t>(rounded);
}

struct LegColors {
    ColorRef falling;
    ColorRef rising;
};

void drawCandle(DrawingSurface& surface, const ChartContext& c, Leg leg, const DayBar& bar,
                int32_t x, int32_t halfBody, int32_t originY, LegColors colors) {
    const int32_t yO = yAt(c, originY, drawnPrice(c, leg, bar.open));
    const int32_t yC = yAt(c, originY, drawnPrice(c, leg, bar.close));
    const int32_t yH = yAt(c, originY, drawnPrice(c, leg, bar.high));
    const int32_t yL = yAt(c, originY, drawnPrice(c, leg, bar.low));
    const int32_t left = wrapSub(x, halfBody);
    const int32_t right = wrapAdd(x, halfBody);

    if (bar.open == bar.high && bar.open == bar.low && bar.open == bar.close) {
        // A day without movement: a two-pixel dash, rising colour over falling colour.
        fillBox(surface, left, wrapSub(yO, 1), right, wrapSub(yO, 1), colors.rising);
        fillBox(surface, left, yO, right, yC, colors.falling);
        return;
    }
    const bool rising = bar.close >= bar.open;
    const ColorRef color = rising ? colors.rising : colors.falling;
    const bool filled =
        rising ? (c.settings.fillFallingBodies == 1 && c.settings.fillRisingBodies == 1)
               : c.settings.fillFallingBodies == 1;
    if (filled) {
        fillBox(surface, left, yO, right, yC, color);
    } else {
        outlineBox(surface, left, yO, right, yC, color, PenStyle::Solid);
    }
    // Wicks run outward from the body's edges.
    drawLine(surface, x, yO, x, rising ? yL : yH, color, PenStyle::Solid);
    drawLine(surface, x, yC, x, rising ? yH : yL, color, PenStyle::Solid);
}

// One line through the points of a leg's shown slots (close or average); dots are optional.
template <typename PointPrice, typename SegmentWanted>
void drawLegLine(DrawingSurface& surface, const ChartContext& c, int32_t originX, int32_t originY,
                 Leg which, const LegBars& leg, ColorRef color, bool dots, PointPrice price,
                 SegmentWanted segmentWanted) {
    BarAxis axis{originX, c.state.layout.pitch, 0.0f};
    const int64_t end = walkEnd(c, leg.bars.size());
    int32_t previousX = 0;
    int32_t previousY = 0;
    for (int64_t i = c.view.firstShownBar; i <= end; ++i) {
        const int32_t x = axis.advance();
        if (i < 0 || i < leg.start) {
            continue;
        }
        const int32_t slot = static_cast<int32_t>(i);
        const int32_t y =
            yAt(c, originY, drawnPrice(c, which, price(leg.bars[static_cast<size_t>(slot)])));
        if (dots) {
            fillEllipse(surface, wrapSub(x, 1), wrapSub(y, 1), wrapAdd(x, 1), wrapAdd(y, 2), color);
        }
        if (slot > c.view.firstShownBar && slot > leg.start && segmentWanted(slot)) {
            drawLine(surface, previousX, previousY, x, y, color, PenStyle::Solid);
        }
        previousX = x;
        previousY = y;
    }
}

// A small triangle pointing down at the axis line over each ex-date of a leg in the shown range,
// in the leg's rising-candle colour: where the prices change their basis.
void drawExDateMarks(DrawingSurface& surface, const ChartContext& c, int32_t axisTop, Leg leg) {
    const std::vector<DayBar>& bars = storedBars(c.series, leg);
    const int32_t start = leg == Leg::Buy ? c.series.buyStart : c.series.sellStart;
    const ColorRef color = chartColor(c, leg == Leg::Buy ? kBuyRisingColor : sellRisingColor(c));
    BarAxis axis = barAxis(c);
    const int64_t end = walkEnd(c, bars.size());
    for (int64_t i = c.view.firstShownBar; i <= end; ++i) {
        const int32_t x = axis.advance();
        if (i < 0 || i < start || !isSplit(bars[static_cast<size_t>(i)].adjustment)) {
            continue;
        }
        for (int32_t row = 0; row < kExDateMarkRows; ++row) {
            const int32_t half = kExDateMarkRows - 1 - row;
            const int32_t y = wrapSub(axisTop, kExDateMarkRows - row);
            fillBox(surface, wrapSub(x, half), y, wrapAdd(x, half), y, color);
        }
    }
}

}  // namespace

void drawPriceAxes(DrawingSurface& surface, ChartContext& c, int32_t axisTop, int32_t axisBottom) {
    selectFontSlot(surface, c.fonts, 2, kChartFontFace, c.state.layout.axisFontHeight);
    surface.setBackgroundMode(BackgroundMode::Transparent);
    surface.setTextColor(chartColor(c, kMonthColor));
    const int32_t h2 = c.fonts.slots[2].lineHeight;
    const int32_t w2 = c.fonts.slots[2].charWidth;

    const std::vector<DayBar>& dates = c.series.buyBars;
    BarAxis axis = barAxis(c);
    const int64_t end = walkEnd(c, dates.size());
    for (int64_t i = c.view.firstShownBar; i <= end; ++i) {
        const int32_t x = axis.advance();
        if (i < 1) {
            continue;
        }
        const int month = dates[static_cast<size_t>(i)].date.month;
        if (month == dates[static_cast<size_t>(i - 1)].date.month) {
            continue;
        }
        // January opens a year: its separator is solid.
        drawLine(surface, x, axisTop, x, axisBottom, chartColor(c, kMonthColor),
                 month == 1 ? PenStyle::Solid : PenStyle::Dot);
        if (monthLabelShown(c, month)) {
            char label[16];
            std::snprintf(label, sizeof label, "%2d", month);
            surface.textOut(wrapAdd(x, 1), wrapSub(axisTop, h2), label);
        }
    }

    surface.setTextColor(chartColor(c, kGridColor));
    const PriceScale& s = c.state.scale;
    const int64_t divisor = (c.series.buyFactor == 100 || c.series.sellFactor == 100) ? 100 : 1;
    const int32_t labelX = static_cast<int32_t>(int64_t{c.state.layout.plotLeft} - 6 * int64_t{w2});
    const int32_t gridRight = wrapSub(c.view.chartArea.right, 20);
    for (int j = 0; j <= 5; ++j) {
        const int64_t v = gridValue(s, j);
        const float offset = static_cast<float>(v - s.priceMin) * s.priceScale;
        const int32_t y = truncPixels(static_cast<float>(axisBottom) - offset);
        drawLine(surface, c.state.layout.plotLeft, y, gridRight, y, chartColor(c, kGridColor),
                 PenStyle::Dot);
        char label[32];
        std::snprintf(label, sizeof label, "%6lld", static_cast<long long>(v / divisor));
        surface.textOut(labelX, wrapSub(y, h2), label);
    }
    drawExDateMarks(surface, c, axisTop, Leg::Buy);
    drawExDateMarks(surface, c, axisTop, Leg::Sell);
}

void drawCandles(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t originY) {
    c.state.icons = EntryIcons{};
    const LegBars buy = legBars(c, Leg::Buy);
    const LegBars sell = legBars(c, Leg::Sell);
    const int32_t halfBody = truncToInt32(static_cast<double>(c.state.layout.pitch) * 0.25 + 0.5);
    BarAxis axis{originX, c.state.layout.pitch, 0.0f};
    const int64_t end = walkEnd(c, std::max(buy.bars.size(), sell.bars.size()));

    for (int64_t i = c.view.firstShownBar; i <= end; ++i) {
        const int32_t x = axis.advance();
        if (i < 0) {
            continue;
        }
        const int32_t slot = static_cast<int32_t>(i);
        if (slot >= buy.start && static_cast<size_t>(slot) < buy.bars.size()) {
            const DayBar& bar = buy.bars[static_cast<size_t>(slot)];
            if (c.settings.buyCandles == 1) {
                drawCandle(surface, c, Leg::Buy, bar, x, halfBody, originY,
                           {chartColor(c, kBuyFallingColor), chartColor(c, kBuyRisingColor)});
            }
            if (slot == buy.entryBar) {
                c.state.icons.buyRecorded = true;
                c.state.icons.buyX = wrapSub(x, 7);
                c.state.icons.buyY = wrapAdd(yAt(c, originY, bar.low), 4);
            }
        }
        if (slot >= sell.start && static_cast<size_t>(slot) < sell.bars.size()) {
            const DayBar& bar = sell.bars[static_cast<size_t>(slot)];
            if (c.settings.sellCandles == 1) {
                drawCandle(surface, c, Leg::Sell, bar, x, halfBody, originY,
                           {chartColor(c, sellFallingColor(c)), chartColor(c, sellRisingColor(c))});
            }
            if (slot == sell.entryBar) {
                c.state.icons.sellRecorded = true;
                c.state.icons.sellX = wrapSub(x, 7);
                c.state.icons.sellY =
                    wrapSub(yAt(c, originY, drawnPrice(c, Leg::Sell, bar.high)), 20);
            }
        }
    }
    drawInfoPanel(surface, c);
}

void drawTomeashi(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t originY,
                  Leg leg) {
    const LegBars bars = legBars(c, leg);
    const ColorRef color = chartColor(c, leg == Leg::Buy ? kBuyTomeashiColor : kSellTomeashiColor);
    drawLegLine(
        surface, c, originX, originY, leg, bars, color, true,
        [](const DayBar& bar) { return bar.close; }, [](int32_t) { return true; });
}

void drawAverageLine(DrawingSurface& surface, ChartContext& c, int32_t originX, int32_t originY,
                     Leg leg) {
    const LegBars bars = legBars(c, leg);
    const ColorRef color = chartColor(c, leg == Leg::Buy ? kBuyAverageColor : kSellAverageColor);
    // Slots before the leg's first real average hold 0: never join them to the line.
    drawLegLine(
        surface, c, originX, originY, leg, bars, color, false,
        [](const DayBar& bar) { return bar.average; },
        [&bars](int32_t i) { return hasAverage(bars, i - 1) && hasAverage(bars, i); });
}

}  // namespace zepa
