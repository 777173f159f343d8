#include "app/print_size.h"

#include <algorithm>
#include <cmath>

#include "settings/input_dialog_logic.h"

namespace zepa {

namespace {

// Truncation toward zero of a value a hostile scale may have made huge or not a number.
int32_t truncatedPixels(float value) {
    if (!(value > 0.0f)) {
        return 0;
    }
    // 2^31 is exactly representable; anything from there on does not fit.
    if (value >= 2147483648.0f) {
        return 0;
    }
    return static_cast<int32_t>(value);
}

int32_t scaledSide(int32_t side, int printerDpi, int screenDpi, float scale) {
    if (side <= 0 || printerDpi <= 0 || screenDpi <= 0) {
        return 0;
    }
    const float printer = static_cast<float>(printerDpi);
    const float screen = static_cast<float>(screenDpi);
    return truncatedPixels(static_cast<float>(side) * printer / screen * scale * 0.01f);
}

}  // namespace

PrintSize printedSize(int32_t w, int32_t h, int printerDpiX, int printerDpiY, int screenDpiX,
                      int screenDpiY, float scale) {
    PrintSize size;
    size.width = scaledSide(w, printerDpiX, screenDpiX, scale);
    size.height = scaledSide(h, printerDpiY, screenDpiY, scale);
    if (size.width == 0 || size.height == 0) {
        return PrintSize{};
    }
    return size;
}

PrintSize fitOnPage(PrintSize size, int32_t pageWidth, int32_t pageHeight) {
    if (pageWidth <= 0 || pageHeight <= 0 || size.width <= 0 || size.height <= 0 ||
        (size.width <= pageWidth && size.height <= pageHeight)) {
        return size;
    }
    // The smaller of the two ratios, compared exactly in 64 bits.
    PrintSize fitted;
    if (int64_t{pageWidth} * size.height <= int64_t{pageHeight} * size.width) {
        fitted.width = pageWidth;
        fitted.height = static_cast<int32_t>(int64_t{size.height} * pageWidth / size.width);
    } else {
        fitted.height = pageHeight;
        fitted.width = static_cast<int32_t>(int64_t{size.width} * pageHeight / size.height);
    }
    if (fitted.width <= 0 || fitted.height <= 0) {
        return PrintSize{};
    }
    return fitted;
}

PagePlacement placeOnPage(PrintSize wanted, int32_t pageWidth, int32_t pageHeight, float scale) {
    PagePlacement p;
    p.size = fitOnPage(wanted, pageWidth, pageHeight);
    if (p.size.width <= 0 || p.size.height <= 0) {
        return p;
    }
    p.shrunk = p.size.width < wanted.width || p.size.height < wanted.height;
    const auto centred = [](int32_t page, int32_t side) {
        return page > side ? static_cast<int32_t>((int64_t{page} - side) / 2) : 0;
    };
    p.left = centred(pageWidth, p.size.width);
    p.top = centred(pageHeight, p.size.height);
    // Of the two sides, the one cut more tells the scale.
    const double kept = std::min(static_cast<double>(p.size.width) / wanted.width,
                                 static_cast<double>(p.size.height) / wanted.height);
    const double percent = std::floor(static_cast<double>(scale) * kept + 1e-9);
    p.percent = percent > 0 && percent < 2147483647.0 ? static_cast<int32_t>(percent) : 0;
    return p;
}

std::string printPlacementNote(const PagePlacement& placement, float scale) {
    if (!placement.shrunk || !(scale > 0.0f) || scale >= 2147483647.0f) {
        return {};
    }
    return std::to_string(static_cast<int64_t>(scale)) + "% ではページに収まらないため、" +
           std::to_string(placement.percent) + "% に縮小して印刷しました";
}

int printRenderScale(int32_t w, int32_t h, PrintSize size, int maxScale, int64_t maxPixels) {
    if (w <= 0 || h <= 0 || size.width <= 0 || size.height <= 0) {
        return 1;
    }
    const int64_t across = (int64_t{size.width} + w - 1) / w;
    const int64_t down = (int64_t{size.height} + h - 1) / h;
    int64_t scale = std::clamp<int64_t>(std::max(across, down), 1, std::max(1, maxScale));
    while (scale > 1 && int64_t{w} * h * scale * scale > maxPixels) {
        --scale;
    }
    return static_cast<int>(scale);
}

bool takeEnteredScale(ChartSettings& settings, int32_t keyCommand, std::string_view inputText,
                      float& scale) {
    if (keyCommand != input_dialog::kExecuteButton) {
        return false;
    }
    settings.printScale = printScaleFromInput(inputText);
    scale = static_cast<float>(settings.printScale);
    return true;
}

}  // namespace zepa
