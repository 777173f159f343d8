#include "chart/info_panel.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/codepage.h"
#include "chart/chart_geometry.h"
#include "chart/primitives.h"
#include "marketdata/market_code.h"
#include "marketdata/position_figures.h"

namespace zepa {

namespace {

constexpr int kFrameOutlineColor = 12;
constexpr int kHeaderBackgroundColor = 13;
constexpr int kHeaderTextColor = 14;
constexpr int kGridColor = 16;
constexpr int kBuyTextColor = 92;
constexpr int kSellTextColor = 96;

// snprintf into a string of whatever length the arguments need.
__attribute__((format(printf, 1, 2))) std::string formatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (length > 0) {
        out.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(length));
    }
    va_end(args);
    return out;
}

// The stock name as %s reads it: at most 8 bytes, up to the first NUL.
std::string stockName(const char (&name)[9]) {
    return std::string(name, strnlen(name, 8));
}

bool hasSlot(const std::vector<DayBar>& bars, int32_t i) {
    return i >= 0 && static_cast<size_t>(i) < bars.size();
}

// The correction factor is 1 or 100; anything else must not divide by zero.
long long perShare(int32_t price, int32_t factor) {
    return static_cast<long long>(factor == 0 ? int64_t{price} : int64_t{price} / factor);
}

// One leg's block: entry close, last close, change since entry.
struct LegRows {
    int firstRow;
    const char* entryFormat;  // "K:%6lld" or "U:%6lld"
    Leg leg;
    int color;
};

void drawLegBlock(DrawingSurface& surface, const ChartContext& c, const LegBars& leg,
                  const LegRows& rows, int32_t X, int32_t Y, int32_t w2, int32_t h2) {
    const int32_t last = c.view.lastShownBar;
    if (leg.entryBar == -1 || last < leg.entryBar || !hasSlot(leg.bars, leg.entryBar) ||
        !hasSlot(leg.bars, last)) {
        return;
    }
    const auto rowY = [&](int r) { return static_cast<int32_t>(int64_t{Y} + int64_t{r} * h2); };
    const int32_t wideX = static_cast<int32_t>(int64_t{X} - 10 * int64_t{w2});
    const int32_t valueX = static_cast<int32_t>(int64_t{X} - 8 * int64_t{w2});
    const DayBar& now = leg.bars[static_cast<size_t>(last)];
    surface.setTextColor(chartColor(c, rows.color));
    surface.textOut(
        wideX, rowY(rows.firstRow),
        formatText(rows.entryFormat, perShare(shownEntryClose(c.series, rows.leg), leg.factor)));
    surface.textOut(valueX, rowY(rows.firstRow + 1),
                    formatText("%6lld", perShare(now.close, leg.factor)));
    // A rate against a close of 0 means nothing: the line is left out. The rate counts across
    // splits, from the stored closes, whatever the display.
    double rate = 0.0;
    if (storedBars(c.series, rows.leg)[static_cast<size_t>(last)].close != 0 &&
        shownChangeRate(c.series, rows.leg, last, c.settings.changeRateOfEntry == 1, rate)) {
        surface.textOut(wideX, rowY(rows.firstRow + 2), formatText("%+8.0f%%", rate));
    }
}

}  // namespace

std::string headerLineText(const ChartContext& c) {
    static const std::string format = cp932FromUtf8(
        "[ 買 %4s %5lld %-8s %02d/%02d/%02d %6lld 株 ]　[ 売 %4s %5lld %-8s %02d/%02d/%02d %6lld "
        "株 ]");
    const SpreadSeries& s = c.series;
    const PositionLeg& buy = c.position.buy;
    const PositionLeg& sell = c.position.sell;
    // Without bars (a stock in no price file) the position file names the legs.
    const bool built = s.buyBarsAllocated && s.sellBarsAllocated;
    const auto marketOf = [&](const PositionLeg& leg, int32_t builtCode) {
        return cp932FromUtf8(marketNameOf(built ? builtCode : marketCodeOf(leg.marketLetter[0])));
    };
    const auto codeOf = [&](const PositionLeg& leg, int32_t builtCode) {
        return static_cast<long long>(built ? builtCode : leg.stockCode);
    };
    const std::string buyMarket = marketOf(buy, s.buyMarketCode);
    const std::string sellMarket = marketOf(sell, s.sellMarketCode);
    const std::string buyName = built ? stockName(s.buyStockName) : buy.shortName;
    const std::string sellName = built ? stockName(s.sellStockName) : sell.shortName;
    std::string text = formatText(
        format.c_str(), buyMarket.c_str(), codeOf(buy, s.buyStockCode), buyName.c_str(),
        buy.entryDate / 10000, (buy.entryDate % 10000) / 100, buy.entryDate % 100,
        static_cast<long long>(buy.quantity), sellMarket.c_str(), codeOf(sell, s.sellStockCode),
        sellName.c_str(), sell.entryDate / 10000, (sell.entryDate % 10000) / 100,
        sell.entryDate % 100, static_cast<long long>(sell.quantity));
    // What is drawn differs from the prices as traded: said beside the legs, so that no one
    // reads an overlaid or adjusted candle as a price the stock traded at.
    if (built && c.settings.overlaySellAtEntry == 1) {
        static const std::string overlay = cp932FromUtf8("　売:×%.3f 重ね");
        text += formatText(overlay.c_str(), c.state.sellDrawScale);
    }
    if (built && c.settings.splitAdjustedDisplay == 1) {
        static const std::string adjusted = cp932FromUtf8("　分割調整");
        text += adjusted;
    }
    static const std::string candidate = cp932FromUtf8("候補 ");
    return c.candidate ? candidate + text : text;
}

void drawHeaderLine(DrawingSurface& surface, ChartContext& c, int32_t y) {
    const ChartLayout& l = c.state.layout;
    selectFontSlot(surface, c.fonts, 1, kChartFontFace, l.headerFontHeight);
    surface.setBackgroundColor(chartColor(c, kHeaderBackgroundColor));
    surface.setTextColor(chartColor(c, kHeaderTextColor));
    const int32_t h1 = c.fonts.slots[1].lineHeight;

    const int32_t left = wrapSub(l.headerLeft, 1);
    const int32_t right = wrapAdd(l.headerRight, 1);
    const int32_t bottom = static_cast<int32_t>(int64_t{y} + h1 + 6);
    fillBox(surface, left, y, right, bottom, chartColor(c, kHeaderBackgroundColor));
    outlineBox(surface, left, y, right, bottom, chartColor(c, kFrameOutlineColor), PenStyle::Solid);

    surface.setBackgroundMode(BackgroundMode::Opaque);
    surface.textOut(wrapAdd(l.headerLeft, 4), wrapAdd(y, 4), headerLineText(c));
}

void drawInfoPanel(DrawingSurface& surface, ChartContext& c) {
    const ChartLayout& l = c.state.layout;
    selectFontSlot(surface, c.fonts, 2, kChartFontFace, l.labelFontHeight);
    surface.setBackgroundMode(BackgroundMode::Transparent);
    const int32_t w2 = c.fonts.slots[2].charWidth;
    const int32_t h2 = c.fonts.slots[2].lineHeight;
    const int32_t X = l.pricePaneRight;
    const int32_t Y = l.pricePlotTop;
    const int32_t last = c.view.lastShownBar;
    const LegBars buy = legBars(c, Leg::Buy);
    const LegBars sell = legBars(c, Leg::Sell);
    const EntryIcons& icons = c.state.icons;

    // A candidate was never entered: its entry date only anchors the panel and the profit.
    if (icons.buyRecorded && !c.candidate) {
        surface.drawIcon(icons.buyX, icons.buyY, kBuyEntryIcon);
    }
    drawLegBlock(surface, c, buy, LegRows{4, "K:%6lld", Leg::Buy, kBuyTextColor}, X, Y, w2, h2);
    if (icons.sellRecorded && !c.candidate) {
        surface.drawIcon(icons.sellX, icons.sellY, kSellEntryIcon);
    }
    drawLegBlock(surface, c, sell, LegRows{0, "U:%6lld", Leg::Sell, kSellTextColor}, X, Y, w2, h2);

    const int32_t wideX = static_cast<int32_t>(int64_t{X} - 10 * int64_t{w2});
    const int32_t valueX = static_cast<int32_t>(int64_t{X} - 8 * int64_t{w2});
    const auto rowY = [&](int r) { return static_cast<int32_t>(int64_t{Y} + int64_t{r} * h2); };

    // The spread of the closes on show in corrected prices, in 64 bits so that no pair of prices
    // can overflow it.
    const auto spread = [&](int64_t buyClose, int64_t sellClose) {
        return static_cast<long long>(c.settings.spreadBase == 0 ? sellClose - buyClose
                                                                 : buyClose - sellClose);
    };
    if (buy.entryBar != -1 && sell.entryBar != -1 && last >= buy.entryBar &&
        last >= sell.entryBar && hasSlot(buy.bars, buy.entryBar) &&
        hasSlot(sell.bars, sell.entryBar) && hasSlot(buy.bars, last) && hasSlot(sell.bars, last)) {
        surface.setTextColor(chartColor(c, kGridColor));
        const auto lastClose = [&](const LegBars& leg) {
            return int64_t{leg.bars[static_cast<size_t>(last)].close};
        };
        surface.textOut(wideX, rowY(8),
                        formatText("S:%6lld", spread(shownEntryClose(c.series, Leg::Buy),
                                                     shownEntryClose(c.series, Leg::Sell))));
        surface.textOut(valueX, rowY(9),
                        formatText("%6lld", spread(lastClose(buy), lastClose(sell))));
    }

    if (!(buy.entryBar == -1 && sell.entryBar == -1) && last >= buy.entryBar &&
        last >= sell.entryBar && hasSlot(buy.bars, last) && hasSlot(sell.bars, last)) {
        const int64_t profit = positionProfit(c.series, c.position, last);
        surface.setTextColor(chartColor(c, kGridColor));
        surface.textOut(static_cast<int32_t>(int64_t{X} - 11 * int64_t{w2}),
                        wrapSub(l.pricePaneBottom, h2),
                        formatText("%9lld", static_cast<long long>(profit)));
    }
}

}  // namespace zepa
