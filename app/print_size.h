// The printed size of the chart and the scale a print runs at, as plain code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/chart_settings.h"

namespace zepa {

inline constexpr int kClipboardOutput = 0;
inline constexpr int kScreenSizePrint = 1;
inline constexpr int kScaledPrint = 2;

// Printer pixels of the printed chart; 0 in either means there is nothing to draw.
struct PrintSize {
    int32_t width = 0;
    int32_t height = 0;
};

// A w x h capture at `scale` percent of its size on the screen: trunc(w x printer x
// resolution / screen x resolution x scale x 0.01), the same for h, in 32-bit float in that
// order. A resolution of 0 or less, a scale that is not positive or a result beyond 32 bits
// gives 0 rather than an undefined conversion.
PrintSize printedSize(int32_t w, int32_t h, int printerDpiX, int printerDpiY, int screenDpiX,
                      int screenDpiY, float scale);

// A printed size that does not fit the page's printable area (a wide chart on a portrait
// page) shrunk, keeping its proportions, so that it fits; one that fits is left as it is.
// A page size of 0 or less leaves it too.
PrintSize fitOnPage(PrintSize size, int32_t pageWidth, int32_t pageHeight);

// Where a printed chart goes on the page's printable area: `wanted` fitted onto it (fitOnPage)
// and centred, in printer pixels from the area's top-left.
struct PagePlacement {
    int32_t left = 0;
    int32_t top = 0;
    PrintSize size;
    bool shrunk = false;  // made smaller than wanted to fit
    int32_t percent = 0;  // the scale printed at, whole percent rounded down
};
PagePlacement placeOnPage(PrintSize wanted, int32_t pageWidth, int32_t pageHeight, float scale);

// The status bar's note on a print shrunk to fit the page, UTF-8; empty for any other print.
std::string printPlacementNote(const PagePlacement& placement, float scale);

// The whole device pixels per logical pixel to draw a w x h chart at for a print of `size`:
// enough to cover the printer's pixels, at most maxScale and at most maxPixels pixels in all
// (at least 1).
int printRenderScale(int32_t w, int32_t h, PrintSize size, int maxScale, int64_t maxPixels);

// The scaled print's step after its scale dialog closed with `keyCommand` (220 OK): the
// entered percentage becomes printScale for the rest of the run (never saved) and the scale of
// this print. Returns false, leaving printScale alone, when the dialog was cancelled.
bool takeEnteredScale(ChartSettings& settings, int32_t keyCommand, std::string_view inputText,
                      float& scale);

}  // namespace zepa
