// All drawing colours: ten rows of ten Windows COLORREF values (r + 256 g + 65536 b); every
// drawing names its colour by the flat index row * 10 + column.
#pragma once

#include <array>
#include <cstdint>

namespace zepa {

using ColorRef = uint32_t;

inline constexpr int kColorRowLength = 10;
inline constexpr int kColorCount = 100;
// Row 9 holds the spread colours that the settings dialog edits and the store keeps.
inline constexpr int kSpreadColorRow = 9;
inline constexpr int kSpreadColorBase = kSpreadColorRow * kColorRowLength;

// The sell leg's candles while it is overlaid at the entry price, falling and rising, so that
// they are not taken for the buy leg's where they cross. Row 8, which no COLOR_n value keeps:
// they are stored in a value of their own, COLOR_OV.
inline constexpr int kOverlaidSellFallingColor = 84;
inline constexpr int kOverlaidSellRisingColor = 85;

constexpr ColorRef rgbColor(uint8_t red, uint8_t green, uint8_t blue) {
    return ColorRef{red} | ColorRef{green} << 8 | ColorRef{blue} << 16;
}

struct ColorTable {
    std::array<ColorRef, kColorCount> colors{};
};

// The default colours of rows 0-8 (row 0 is the fixed basic palette).
void resetColorTable(ColorTable& table);
// The default spread colours of row 9.
void resetSpreadColors(ColorTable& table);

}  // namespace zepa
