#include "app/walkforward_plot.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/codepage.h"
#include "base/grouped_number.h"
#include "screen/backtest_calendar.h"

namespace zepa {
namespace {

constexpr int32_t kFontHeight = -12;
constexpr int32_t kMargin = 8;

// A step of 1, 2 or 5 times a power of ten that cuts the span into at most `most` parts.
int64_t tickStep(int64_t span, int most) {
    int64_t step = 1;
    while (true) {
        for (const int64_t f : {1, 2, 5}) {
            if (span / (step * f) < most) {
                return step * f;
            }
        }
        if (step > INT64_MAX / 100) {
            return step;
        }
        step *= 10;
    }
}

int64_t floorTo(int64_t v, int64_t step) {
    const int64_t q = v / step;
    return (v % step != 0 && v < 0 ? q - 1 : q) * step;
}

int64_t ceilTo(int64_t v, int64_t step) {
    const int64_t q = v / step;
    return (v % step != 0 && v > 0 ? q + 1 : q) * step;
}

std::string dateLabel(int32_t date) {
    return std::to_string(date / 10000) + "/" + (date / 100 % 100 < 10 ? "0" : "") +
           std::to_string(date / 100 % 100);
}

// The curve as steps: the net holds until the next exit date, then moves.
void drawCurve(DrawingSurface& s, const WalkForwardPlotLayout& l,
               const std::vector<WalkForwardCurvePoint>& curve, int32_t firstDate, ColorRef color) {
    if (curve.empty()) {
        return;
    }
    s.selectPen(color, PenStyle::Solid);
    int32_t y = walkForwardPlotY(l, 0);
    s.moveTo(walkForwardPlotX(l, std::min(firstDate, curve.front().date)), y);
    for (const WalkForwardCurvePoint& p : curve) {
        const int32_t x = walkForwardPlotX(l, p.date);
        s.lineTo(x, y);
        y = walkForwardPlotY(l, p.net);
        s.lineTo(x, y);
    }
    // The end pixel of the last segment is left out by the pen: one more pixel shows it.
    s.lineTo(walkForwardPlotX(l, curve.back().date) + 1, y);
    s.selectDefaultPen();
}

}  // namespace

int32_t walkForwardPlotY(const WalkForwardPlotLayout& l, int64_t yen) {
    const double span = static_cast<double>(l.high - l.low);
    const double at = span > 0 ? static_cast<double>(yen - l.low) / span : 0.5;
    return l.bottom - 1 - static_cast<int32_t>(std::lround(at * (l.bottom - 1 - l.top)));
}

int32_t walkForwardPlotX(const WalkForwardPlotLayout& l, int32_t date) {
    const int32_t day = backtestDayOf(date);
    const double span = l.lastDay - l.firstDay;
    const double at = span > 0 ? (day - l.firstDay) / span : 0.0;
    return l.left + static_cast<int32_t>(std::lround(at * (l.right - 1 - l.left)));
}

WalkForwardPlotLayout drawWalkForwardPlot(DrawingSurface& s, int32_t width, int32_t height,
                                          const std::vector<WalkForwardCurvePoint>& out,
                                          const std::vector<WalkForwardCurvePoint>& in,
                                          int32_t firstDate) {
    WalkForwardPlotLayout l;
    s.fillRect(0, 0, width, height, kWalkForwardBackground);
    const FontId font = s.createFont({"ＭＳ ゴシック", kFontHeight});
    const FontId previous = s.selectFont(font);
    const TextMetrics m = s.textMetrics();
    s.setBackgroundMode(BackgroundMode::Transparent);

    // The yen range: both curves and 0, widened to whole ticks.
    int64_t low = 0;
    int64_t high = 0;
    int32_t lastDate = firstDate;
    int32_t startDate = firstDate;
    for (const auto* curve : {&out, &in}) {
        for (const WalkForwardCurvePoint& p : *curve) {
            low = std::min(low, p.net);
            high = std::max(high, p.net);
            lastDate = std::max(lastDate, p.date);
            startDate = std::min(startDate, p.date);
        }
    }
    const int64_t step = tickStep(std::max<int64_t>(high - low, 1), 6);
    l.low = floorTo(low, step);
    l.high = std::max(ceilTo(high, step), l.low + step);
    for (int64_t v = l.low; v <= l.high; v += step) {
        l.ticks.push_back(v);
    }
    size_t widest = 0;
    for (const int64_t v : l.ticks) {
        widest = std::max(widest, groupedNumber(v).size());
    }
    l.left = kMargin + static_cast<int32_t>(widest) * m.averageCharWidth + 4;
    l.top = kMargin + 2 * m.height;  // the labels above
    l.right = std::max(l.left + 2, width - kMargin);
    l.bottom = std::max(l.top + 2, height - kMargin - m.height - 2);
    l.firstDay = backtestDayOf(startDate);
    l.lastDay = std::max(backtestDayOf(lastDate), l.firstDay + 1);
    l.zeroY = walkForwardPlotY(l, 0);

    // The yen axis with its grouped figures, right-aligned to it.
    s.setTextColor(kWalkForwardAxisColor);
    s.selectPen(kWalkForwardAxisColor, PenStyle::Solid);
    s.moveTo(l.left - 1, l.top);
    s.lineTo(l.left - 1, l.bottom);
    s.lineTo(l.right, l.bottom);
    for (const int64_t v : l.ticks) {
        const std::string text = groupedNumber(v);
        const int32_t y = walkForwardPlotY(l, v);
        s.moveTo(l.left - 4, y);
        s.lineTo(l.left - 1, y);
        s.textOut(l.left - 5 - static_cast<int32_t>(text.size()) * m.averageCharWidth,
                  y - m.height / 2, text);
    }
    s.textOut(l.left, kMargin, cp932FromUtf8("累計純損益(円)"));
    // The first and last dates under the axis.
    const std::string first = dateLabel(startDate);
    const std::string last = dateLabel(lastDate);
    s.textOut(l.left, l.bottom + 2, first);
    s.textOut(l.right - static_cast<int32_t>(last.size()) * m.averageCharWidth, l.bottom + 2, last);

    s.selectPen(kWalkForwardZeroColor, PenStyle::Dot);
    s.moveTo(l.left, l.zeroY);
    s.lineTo(l.right, l.zeroY);

    drawCurve(s, l, in, firstDate, kWalkForwardInColor);
    drawCurve(s, l, out, firstDate, kWalkForwardOutColor);

    // The labels: a short line in each curve's colour and its name.
    int32_t x = l.left + 16 * m.averageCharWidth;
    const int32_t y = kMargin + m.height / 2;
    for (const auto& [label, color] : {std::pair{kWalkForwardOutLabel, kWalkForwardOutColor},
                                       std::pair{kWalkForwardInLabel, kWalkForwardInColor}}) {
        s.selectPen(color, PenStyle::Solid);
        s.moveTo(x, y);
        s.lineTo(x + 20, y);
        const std::string text = cp932FromUtf8(label);
        s.setTextColor(color);
        s.textOut(x + 24, kMargin, text);
        x += 24 + static_cast<int32_t>(text.size() + 2) * m.averageCharWidth;
    }
    s.selectDefaultPen();
    s.selectFont(previous);
    s.deleteFont(font);
    return l;
}

}  // namespace zepa
