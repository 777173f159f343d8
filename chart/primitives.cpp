#include "chart/primitives.h"

#include <algorithm>
#include <cstdint>

namespace zepa {

void selectFontSlot(DrawingSurface& surface, FontSlotTable& table, int slot, std::string_view face,
                    int32_t height) {
    if (slot < 0 || slot >= kFontSlotCount) {
        return;
    }
    FontSlot& s = table.slots[slot];
    if (s.inUse) {
        surface.selectFont(s.displaced);
        surface.deleteFont(s.font);
        s.font = 0;
        s.inUse = 0;
    }
    FontId font = surface.createFont(FontRequest{face, height});
    if (font != 0) {
        s.displaced = surface.selectFont(font);
        s.font = font;
        s.inUse = 1;
    }
    // A font that could not be made leaves the previous one with its metrics.
    const TextMetrics m = surface.textMetrics();
    s.charWidth = m.averageCharWidth;
    s.lineHeight = m.height + m.externalLeading;
    table.lastTextHeight = m.height;
}

void releaseFontSlots(DrawingSurface& surface, FontSlotTable& table) {
    for (FontSlot& s : table.slots) {
        if (s.inUse) {
            surface.selectFont(s.displaced);
            surface.deleteFont(s.font);
            s.font = 0;
            s.inUse = 0;
        }
    }
}

void drawLine(DrawingSurface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
              ColorRef color, PenStyle style) {
    surface.selectPen(color, style);
    surface.moveTo(x1, y1);
    surface.lineTo(x2, y2);
    surface.selectDefaultPen();
}

void outlineBox(DrawingSurface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                ColorRef color, PenStyle style) {
    surface.selectPen(color, style);
    surface.moveTo(x1, y1);
    surface.lineTo(x2, y1);
    surface.lineTo(x2, y2);
    surface.lineTo(x1, y2);
    surface.lineTo(x1, y1);
    surface.selectDefaultPen();
}

void fillBox(DrawingSurface& surface, int32_t left, int32_t top, int32_t right, int32_t bottom,
             ColorRef color) {
    const int32_t l = std::min(left, right);
    const int32_t r = std::max(left, right);
    const int32_t t = std::min(top, bottom);
    const int32_t b = std::max(top, bottom);
    // Exclusive edges one past the corners, kept inside the 32-bit range.
    const auto past = [](int32_t v) { return v == INT32_MAX ? v : static_cast<int32_t>(v + 1); };
    surface.fillRect(l, t, past(r), past(b), color);
}

void fillEllipse(DrawingSurface& surface, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 ColorRef color) {
    surface.ellipse(left, top, right, bottom, color);
}

}  // namespace zepa
