#include "chart/ratio_pane.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/codepage.h"
#include "chart/chart_geometry.h"

namespace zepa {
namespace {

// The buy leg's change-rate colour: the ratio is the buy leg over the sell leg, and the
// change-rate lines it replaces are not on screen with it.
constexpr int kZLineColor = 93;
// The legs' text colours of the information panel.
constexpr int kBuyMarkColor = 92;
constexpr int kSellMarkColor = 96;

bool zAt(const ChartContext& c, int64_t slot, double& z) {
    const RatioSlot* s = ratioSlotAt(c, slot);
    if (s == nullptr) {
        return false;
    }
    z = s->z;
    return s->hasZ;
}

int32_t zY(const ZLineScale& s, double z) {
    return static_cast<int32_t>(int64_t{s.zeroY} - truncPixels(static_cast<float>(s.factor * z)));
}

// The segment from (x1, z1) to (x2, z2) cut to the z band that the clip rows show; false when
// nothing of it is inside.
bool clipSegment(const ZLineScale& s, double& x1, double& z1, double& x2, double& z2) {
    if (!(s.factor > 0.0f)) {
        return true;  // a collapsed pane: every point lies on the zero line
    }
    const double high = (s.zeroY - s.clipTop) / static_cast<double>(s.factor);
    const double low = (s.zeroY - s.clipBottom) / static_cast<double>(s.factor);
    double t0 = 0.0, t1 = 1.0;
    const double dz = z2 - z1;
    for (const auto& [edge, above] : {std::pair{high, true}, std::pair{low, false}}) {
        // Inside: z <= high for the top edge, z >= low for the bottom one.
        const double p = above ? dz : -dz;
        const double q = above ? edge - z1 : z1 - edge;
        if (p == 0.0) {
            if (q < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q / p;
        if (p > 0.0) {
            t1 = std::min(t1, t);
        } else {
            t0 = std::max(t0, t);
        }
    }
    if (t0 > t1) {
        return false;
    }
    const double dx = x2 - x1;
    const double nx1 = x1 + t0 * dx, nz1 = z1 + t0 * dz;
    x2 = x1 + t1 * dx;
    z2 = z1 + t1 * dz;
    x1 = nx1;
    z1 = nz1;
    return true;
}

}  // namespace

int64_t ratioTitleSlot(const ChartContext& c) {
    if (c.ratio == nullptr) {
        return -1;
    }
    const int64_t last = std::min<int64_t>(c.view.lastShownBar, std::ssize(c.ratio->slots) - 1);
    return last >= 0 ? last : -1;
}

std::string ratioTitle(const ChartContext& c) {
    static const std::string name = cp932FromUtf8("レシオケータ");
    static const std::string bars = cp932FromUtf8("本");
    static const std::string correlation = cp932FromUtf8("相関");
    static const std::string halfLife = cp932FromUtf8("半減期");
    const int64_t slot = ratioTitleSlot(c);
    const RatioSlot none;
    const RatioSlot& s = slot >= 0 ? c.ratio->slots[static_cast<size_t>(slot)] : none;
    const auto number = [](bool has, const char* format, double v) {
        char text[32] = "--";
        if (has) {
            std::snprintf(text, sizeof text, format, v);
        }
        return std::string(text);
    };
    const int32_t period =
        c.ratio != nullptr && c.ratio->period > 0 ? c.ratio->period : c.settings.ratioPeriod;
    // 相関 and 半減期 name their window: the ペア検索 table's are taken over the screen's.
    const std::string window = "(" + std::to_string(period) + bars + ")";
    std::string title = name + window;
    title += "  R:" + number(s.hasRatio, "%.4f", s.ratio);
    title += "  Z:" + number(s.hasZ, "%+.1f", s.z);
    title += "  " + correlation + window + ":" + number(s.hasCorrelation, "%.2f", s.correlation);
    // A reversion slower than anyone waits for reads as its cap rather than a long number.
    title += "  " + halfLife + window + ":" +
             number(s.hasHalfLife, "%.0f", std::min(s.halfLife, 9999.0));
    if (s.hasHalfLife) {
        title += bars;
    }
    return title;
}

void drawZLine(DrawingSurface& surface, const ChartContext& c, int32_t originX,
               const ZLineScale& scale) {
    const ColorRef color = chartColor(c, kZLineColor);
    BarAxis axis{originX, c.state.layout.pitch, 0.0f};
    bool previous = false;
    double previousZ = 0.0;
    int32_t previousX = 0;
    for (int64_t i = c.view.firstShownBar; i <= c.view.lastShownBar; ++i) {
        const int32_t x = axis.advance();
        double z = 0.0;
        const bool has = zAt(c, i, z);
        if (has && previous) {
            double x1 = previousX, z1 = previousZ, x2 = x, z2 = z;
            if (clipSegment(scale, x1, z1, x2, z2)) {
                const auto px = [](double v) { return static_cast<int32_t>(std::lround(v)); };
                // Older to newer: the newer end pixel is the next segment's first one, or the
                // dot below at the end of a run.
                drawLine(surface, px(x1), zY(scale, z1), px(x2), zY(scale, z2), color,
                         PenStyle::Solid);
            }
        }
        double next = 0.0;
        const bool hasNext = i < c.view.lastShownBar && zAt(c, i + 1, next);
        if (has && !hasNext) {
            // The last point of a run: its own pixel, which no segment end draws.
            double x1 = x, z1 = z, x2 = x, z2 = z;
            if (clipSegment(scale, x1, z1, x2, z2)) {
                const int32_t y = zY(scale, z);
                drawLine(surface, x, y, x + 1, y, color, PenStyle::Solid);
            }
        }
        previous = has;
        previousZ = z;
        previousX = x;
    }
}

void drawTradeMarks(DrawingSurface& surface, const ChartContext& c, int32_t originX,
                    const ZLineScale& scale) {
    if (c.tradeMarks == nullptr) {
        return;
    }
    const int32_t h = kTradeMarkHalf;
    for (const TradeMark& m : *c.tradeMarks) {
        if (m.slot < c.view.firstShownBar || m.slot > c.view.lastShownBar) {
            continue;
        }
        // Slot i stands where the z line puts it: i - first + 1 pitches right of the origin.
        BarAxis axis{originX, c.state.layout.pitch, 0.0f};
        int32_t x = 0;
        for (int64_t i = c.view.firstShownBar; i <= m.slot; ++i) {
            x = axis.advance();
        }
        double z = 0.0;
        const int32_t y = std::clamp(zAt(c, m.slot, z) ? zY(scale, z) : scale.zeroY, scale.clipTop,
                                     std::max(scale.clipTop, scale.clipBottom));
        const ColorRef color = chartColor(c, m.buyColor ? kBuyMarkColor : kSellMarkColor);
        switch (m.kind) {
            case TradeMarkKind::EntryUp:
            case TradeMarkKind::EntryDown: {
                const int32_t step = m.kind == TradeMarkKind::EntryUp ? 1 : -1;
                for (int32_t row = 0; row <= h; ++row) {
                    const int32_t ry = y + step * (2 + row);
                    fillBox(surface, x - row, ry, x + row, ry, color);
                }
                break;
            }
            case TradeMarkKind::ExitTarget:
                fillBox(surface, x - h, y, x + h, y, color);
                break;
            case TradeMarkKind::ExitStop:
                fillBox(surface, x - h, y, x + h, y, color);
                fillBox(surface, x, y - h, x, y + h, color);
                break;
            case TradeMarkKind::ExitTime:
                fillBox(surface, x - h, y, x + h, y, color);
                fillBox(surface, x - h, y - 2, x - h, y + 2, color);
                fillBox(surface, x + h, y - 2, x + h, y + 2, color);
                break;
        }
    }
}

}  // namespace zepa
