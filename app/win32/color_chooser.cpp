#include "color_chooser.h"

#include <commdlg.h>

namespace zepa::win32 {

std::optional<ColorRef> chooseTableColor(HWND owner, ColorRef initial,
                                         const std::array<ColorRef, 16>& customColors) {
    std::array<COLORREF, 16> custom{};
    for (size_t i = 0; i < custom.size(); ++i) {
        custom[i] = customColors[i] & 0xFFFFFFu;
    }
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = initial & 0xFFFFFFu;
    cc.lpCustColors = custom.data();
    cc.Flags = CC_RGBINIT;
    if (!ChooseColorW(&cc)) {
        return std::nullopt;
    }
    return static_cast<ColorRef>(cc.rgbResult);
}

}  // namespace zepa::win32
