// The font slots and the four drawing primitives every chart, swatch and table is made of.
#pragma once

#include <cstdint>
#include <string_view>

#include "chart/surface.h"

namespace zepa {

inline constexpr int kFontSlotCount = 5;
// The face every slot asks for; the surface substitutes where it is not installed.
inline constexpr std::string_view kChartFontFace = "ＭＳ ゴシック";

struct FontSlot {
    FontId font = 0;
    FontId displaced = 0;  // put back when the slot's font is replaced or released
    int inUse = 0;
    int32_t charWidth = 0;   // average character width
    int32_t lineHeight = 0;  // cell height + external leading
};

struct FontSlotTable {
    FontSlot slots[kFontSlotCount];
    // Cell height of the font most recently selected through any slot.
    int32_t lastTextHeight = 0;
};

// Slot 0: combo box and status bar; 1: header line, pane titles, data windows; 2: axis labels
// and information panel.
void selectFontSlot(DrawingSurface& surface, FontSlotTable& table, int slot, std::string_view face,
                    int32_t height);
void releaseFontSlots(DrawingSurface& surface, FontSlotTable& table);

// From (x1, y1) to (x2, y2), the end pixel left out.
void drawLine(DrawingSurface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
              ColorRef color, PenStyle style);
// The closed path of four segments; the interior stays.
void outlineBox(DrawingSurface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                ColorRef color, PenStyle style);
// Both corners included, in either order.
void fillBox(DrawingSurface& surface, int32_t left, int32_t top, int32_t right, int32_t bottom,
             ColorRef color);
// Right and bottom exclusive, outlined with the surface's default black pen.
void fillEllipse(DrawingSurface& surface, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 ColorRef color);

}  // namespace zepa
