#include "chart/layout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "chart/chart_geometry.h"

namespace zepa {

namespace {

// Layout sums are taken in 64 bits and pinned to the 32-bit range, so a hostile chart area or
// font metric gives an absurd picture rather than signed overflow.
int32_t pin(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

struct FontHeights {
    int32_t header;
    int32_t axis;
    int32_t label;
};

FontHeights fontHeightsFor(const ChartRect& a) {
    const int64_t w = (int64_t{a.right} - 4) - (int64_t{a.left} + 3);
    const int64_t h = (int64_t{a.bottom} - 4) - (int64_t{a.top} + 3);
    if (w < 200 || h < 200) {
        return {-15, -12, -12};
    }
    if (w < 300 || h < 300) {
        return {-15, -13, -13};
    }
    return {-15, -15, -13};
}

// trunc(plotWidth / pitch) in the float arithmetic the drawing uses, kept finite for a
// vanishing pitch; the caller has made sure both are positive.
int64_t barsThatFit(int32_t plotWidth, float pitch) {
    const float q = static_cast<float>(plotWidth) / pitch;
    constexpr float kCap = 4294967296.0f;
    return q >= kCap ? static_cast<int64_t>(kCap) : static_cast<int64_t>(q);
}

}  // namespace

void layoutChart(DrawingSurface& surface, ChartContext& c) {
    const ChartRect& a = c.view.chartArea;
    ChartLayout& l = c.state.layout;
    const FontHeights f = fontHeightsFor(a);
    l.headerFontHeight = f.header;
    l.axisFontHeight = f.axis;
    l.labelFontHeight = f.label;

    selectFontSlot(surface, c.fonts, 1, kChartFontFace, l.headerFontHeight);
    selectFontSlot(surface, c.fonts, 2, kChartFontFace, l.axisFontHeight);
    const int64_t h1 = c.fonts.slots[1].lineHeight;
    const int64_t h2 = c.fonts.slots[2].lineHeight;

    const int64_t left = a.left;
    const int64_t top = a.top;
    const int64_t right = a.right;
    const int64_t bottom = a.bottom;
    // Height of the title bands and gaps above the lower pane's 110 units.
    const int64_t bandsBottom = top + 2 * h1 + h2 + 22;
    const int64_t units = (bottom - 4) - bandsBottom;
    l.paneScale = static_cast<float>(static_cast<double>(units) * (1.0 / 310.0));
    const int64_t upperHeight = truncPixels(200 * l.paneScale);

    l.headerLeft = pin(left + 4);
    l.headerRight = pin(right - 5);
    l.pricePaneLeft = pin(left + 4);
    l.pricePaneRight = pin(right - 5);
    l.pricePaneTop = pin(top + h1 + 10);
    l.priceAxisTop = pin(top + h1 + h2 + 17);
    l.pricePlotTop = pin(int64_t{l.priceAxisTop} + 1);
    l.pricePaneBottom = pin(int64_t{l.priceAxisTop} + upperHeight);
    l.lowerTitleTop = pin(int64_t{l.pricePaneBottom} + 1);
    l.lowerTitleBottom = pin(bandsBottom + upperHeight);
    l.lowerPaneLeft = pin(left + 4);
    l.lowerPaneRight = pin(right - 5);
    l.lowerPaneTop = pin(int64_t{l.lowerTitleBottom} + 1);
    l.lowerPaneBottom = pin(bottom - 5);
}

void layoutColumns(DrawingSurface& surface, ChartContext& c) {
    ChartLayout& l = c.state.layout;
    ChartSettings& s = c.settings;
    ViewState& v = c.view;

    selectFontSlot(surface, c.fonts, 2, kChartFontFace, l.axisFontHeight);
    const int64_t w2 = c.fonts.slots[2].charWidth;
    l.plotLeft = pin(int64_t{l.pricePaneLeft} + 6 * w2);
    l.plotWidth = pin(int64_t{l.pricePaneRight} - l.plotLeft - 7 * w2);

    const int64_t newest = int64_t{c.dateCount} - 1;
    const int64_t firstBar = c.series.firstBar;
    int64_t last = newest - v.scrollBack;
    // A scrollBack left over from a longer series shows the newest slot instead; one that
    // points past the newest slot (never set by the commands) would read past the bars.
    if (last < firstBar || last > newest) {
        last = newest;
    }
    int64_t first = last;
    if (s.pitchMode == 0) {
        const int32_t bars = stretchBarsShown(s);
        l.pitch =
            l.plotWidth > 0 ? static_cast<float>(l.plotWidth) / static_cast<float>(bars) : 0.01f;
        first = last - bars + 1;
    } else {
        // Also catches a NaN from a damaged store.
        if (!(s.pitch > 0.0f)) {
            s.pitch = 4.0f;
        }
        l.pitch = s.pitch;
        if (l.plotWidth > 0) {
            first = last - barsThatFit(l.plotWidth, s.pitch);
        }
    }
    if (first < firstBar) {
        first = firstBar;
    }
    v.lastShownBar = pin(last);
    v.firstShownBar = pin(first);
}

void setSellDrawScale(ChartContext& c) {
    c.state.sellDrawScale = 1.0;
    if (c.settings.overlaySellAtEntry != 1) {
        return;
    }
    const SpreadSeries& s = c.series;
    const auto closeAt = [](const std::vector<DayBar>& bars, int64_t i) -> int64_t {
        return i >= 0 && i < std::ssize(bars) ? bars[static_cast<size_t>(i)].close : 0;
    };
    // The closes as drawn, so that the legs meet at the entry in either display.
    const std::vector<DayBar>& buyBars = shownBars(s, Leg::Buy);
    const std::vector<DayBar>& sellBars = shownBars(s, Leg::Sell);
    // At the entry prices, which in weekly bars are the entry days' closes, not their weeks'.
    int64_t buy = s.buyEntryBar < 0 ? 0 : shownEntryClose(s, Leg::Buy);
    int64_t sell = s.sellEntryBar < 0 ? 0 : shownEntryClose(s, Leg::Sell);
    if (s.buyEntryBar < 0 || s.sellEntryBar < 0 || buy <= 0 || sell <= 0) {
        buy = sell = 0;
        for (int64_t i = std::max<int64_t>(c.view.firstShownBar, 0); i <= c.view.lastShownBar;
             ++i) {
            buy = closeAt(buyBars, i);
            sell = closeAt(sellBars, i);
            if (buy > 0 && sell > 0) {
                break;
            }
            if (i >= std::ssize(buyBars)) {
                break;
            }
        }
    }
    if (buy > 0 && sell > 0) {
        c.state.sellDrawScale = static_cast<double>(buy) / static_cast<double>(sell);
    }
}

void scalePrices(ChartContext& c, float priceSpan) {
    PriceScale& p = c.state.scale;
    p.priceMax = 0;
    p.priceMin = 999999999;
    p.priceScale = 0.0f;

    // The scale fits what is drawn: the adjusted bars when the split-adjusted display is on, the
    // sell leg as the overlay scales it.
    const std::vector<DayBar>& buy = shownBars(c.series, Leg::Buy);
    const std::vector<DayBar>& sell = shownBars(c.series, Leg::Sell);
    const auto take = [&](const std::vector<DayBar>& bars, int64_t i, Leg leg) {
        if (i >= static_cast<int64_t>(bars.size())) {
            return;
        }
        const DayBar& b = bars[static_cast<size_t>(i)];
        if (b.close > 0) {
            p.priceMax = std::max(p.priceMax, drawnPrice(c, leg, b.high));
            p.priceMin = std::min(p.priceMin, drawnPrice(c, leg, b.low));
        }
    };
    const int64_t first = std::max<int64_t>(c.view.firstShownBar, 0);
    const int64_t last = c.view.lastShownBar;
    const int64_t longest = static_cast<int64_t>(std::max(buy.size(), sell.size()));
    for (int64_t i = first; i <= last && i < longest; ++i) {
        take(buy, i, Leg::Buy);
        take(sell, i, Leg::Sell);
    }

    const int64_t range = int64_t{p.priceMax} - p.priceMin;
    if (range > 0) {
        p.priceScale = priceSpan / static_cast<float>(range);
    }
}

void drawFrame(DrawingSurface& surface, ChartContext& c) {
    const ChartRect& a = c.view.chartArea;
    const int64_t left = a.left;
    const int64_t top = a.top;
    const int64_t right = a.right;
    const int64_t bottom = a.bottom;
    const ColorRef band = chartColor(c, 10);
    fillBox(surface, a.left, a.top, a.right, pin(top + 3), band);
    fillBox(surface, a.left, pin(bottom - 4), a.right, a.bottom, band);
    fillBox(surface, a.left, a.top, pin(left + 3), a.bottom, band);
    fillBox(surface, pin(right - 4), a.top, a.right, a.bottom, band);

    const int32_t innerLeft = pin(left + 3);
    const int32_t innerTop = pin(top + 3);
    const int32_t innerRight = pin(right - 4);
    const int32_t innerBottom = pin(bottom - 4);
    fillBox(surface, innerLeft, innerTop, innerRight, innerBottom, chartColor(c, 11));
    outlineBox(surface, innerLeft, innerTop, innerRight, innerBottom, chartColor(c, 12),
               PenStyle::Solid);
}

}  // namespace zepa
