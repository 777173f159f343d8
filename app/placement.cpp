#include <algorithm>
#include <array>
#include <cstdio>

#include "app/frame_handlers.h"
#include "settings/chart_values.h"

namespace zepa {

namespace {
constexpr const char* kPlacementFormat = "%u, %u, %d, %d, %d, %d, %d, %d, %d, %d";
constexpr int kPlacementFields = 10;
}  // namespace

std::string formatPlacement(const WindowPlacement& p) {
    char text[160];
    std::snprintf(text, sizeof text, kPlacementFormat, static_cast<unsigned>(p.flags),
                  static_cast<unsigned>(p.showCommand), static_cast<int>(p.minX),
                  static_cast<int>(p.minY), static_cast<int>(p.maxX), static_cast<int>(p.maxY),
                  static_cast<int>(p.left), static_cast<int>(p.top), static_cast<int>(p.right),
                  static_cast<int>(p.bottom));
    return text;
}

bool parsePlacement(std::string_view text, WindowPlacement& p) {
    // The format's ", " is a comma followed by any white space, which is exactly how the
    // integer scanner reads a list; %u of a negative number wraps as strtoul does.
    std::array<int32_t, kPlacementFields> v{};
    if (scanIntegerFields(text, v) != kPlacementFields) {
        return false;
    }
    p.flags = static_cast<uint32_t>(v[0]);
    p.showCommand = static_cast<uint32_t>(v[1]);
    p.minX = v[2];
    p.minY = v[3];
    p.maxX = v[4];
    p.maxY = v[5];
    p.left = v[6];
    p.top = v[7];
    p.right = v[8];
    p.bottom = v[9];
    return true;
}

ScreenRect fitPlacement(const WindowPlacement& p, const ScreenRect& desktop, int32_t smallestWidth,
                        int32_t smallestHeight) {
    const auto size = [](int64_t stored, int32_t smallest, int32_t area) {
        return static_cast<int32_t>(
            std::clamp<int64_t>(stored, smallest, std::max(smallest, area)));
    };
    const auto place = [](int64_t stored, int32_t areaStart, int32_t areaSize, int32_t size) {
        const int64_t last = std::max<int64_t>(areaStart, int64_t{areaStart} + areaSize - size);
        return static_cast<int32_t>(std::clamp<int64_t>(stored, areaStart, last));
    };
    ScreenRect r;
    r.width = size(int64_t{p.right} - p.left, smallestWidth, desktop.width);
    r.height = size(int64_t{p.bottom} - p.top, smallestHeight, desktop.height);
    r.left = place(p.left, desktop.left, desktop.width, r.width);
    r.top = place(p.top, desktop.top, desktop.height, r.height);
    return r;
}

}  // namespace zepa
