#include "app/print_size.h"

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
