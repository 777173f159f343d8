#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "app/frame_handlers.h"
#include "settings/chart_values.h"

namespace zepa {

namespace {
constexpr const char* kPlacementFormat = "%u, %u, %d, %d, %d, %d, %d, %d, %d, %d, %d";
constexpr int kPlacementFields = 10;
constexpr int32_t kSmallestScale = 25;
constexpr int32_t kLargestScale = 1000;

int32_t saneScale(int64_t percent) {
    return percent >= kSmallestScale && percent <= kLargestScale ? static_cast<int32_t>(percent)
                                                                 : 100;
}
}  // namespace

std::string formatPlacement(const WindowPlacement& p) {
    char text[160];
    std::snprintf(text, sizeof text, kPlacementFormat, static_cast<unsigned>(p.flags),
                  static_cast<unsigned>(p.showCommand), static_cast<int>(p.minX),
                  static_cast<int>(p.minY), static_cast<int>(p.maxX), static_cast<int>(p.maxY),
                  static_cast<int>(p.left), static_cast<int>(p.top), static_cast<int>(p.right),
                  static_cast<int>(p.bottom), static_cast<int>(saneScale(p.scalePercent)));
    return text;
}

bool parsePlacement(std::string_view text, WindowPlacement& p) {
    // The format's ", " is a comma followed by any white space, which is exactly how the
    // integer scanner reads a list; %u of a negative number wraps as strtoul does.
    std::array<int32_t, kPlacementFields + 1> v{};
    const int fields = scanIntegerFields(text, v);
    if (fields < kPlacementFields) {
        return false;
    }
    p.scalePercent = fields > kPlacementFields ? saneScale(v[kPlacementFields]) : 100;
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

WindowPlacement placementAtScale(const WindowPlacement& p, int32_t scalePercent) {
    const int32_t to = saneScale(scalePercent);
    const int32_t from = saneScale(p.scalePercent);
    WindowPlacement out = p;
    out.scalePercent = to;
    if (from == to) {
        return out;
    }
    // Rounded to the nearest pixel, in 64 bits, saturating at the 32-bit range.
    const auto scaled = [&](int32_t v) {
        const int64_t n = int64_t{v} * from;
        const int64_t q = (n >= 0 ? n + to / 2 : n - to / 2) / to;
        return static_cast<int32_t>(std::clamp<int64_t>(q, INT32_MIN, INT32_MAX));
    };
    for (int32_t* v : {&out.left, &out.top, &out.right, &out.bottom}) {
        *v = scaled(*v);
    }
    // Minimised and maximised positions of -1 mean "none": kept as they are.
    for (int32_t* v : {&out.minX, &out.minY, &out.maxX, &out.maxY}) {
        *v = *v == -1 ? -1 : scaled(*v);
    }
    return out;
}

int32_t scalePercentOf(double devicePixelRatio) {
    if (!(devicePixelRatio > 0.0) || devicePixelRatio > 100.0) {
        return 100;
    }
    return saneScale(std::llround(devicePixelRatio * 100.0));
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

ScreenRect sideWindowPlace(std::string_view stored, const ScreenRect& frame,
                           const ScreenRect& desktop, int32_t width, int32_t height) {
    std::array<int32_t, 4> v{};
    WindowPlacement p;
    if (scanIntegerFields(stored, v) == 4 && v[2] > 0 && v[3] > 0) {
        p.left = v[0];
        p.top = v[1];
        p.right =
            static_cast<int32_t>(std::clamp<int64_t>(int64_t{v[0]} + v[2], INT32_MIN, INT32_MAX));
        p.bottom =
            static_cast<int32_t>(std::clamp<int64_t>(int64_t{v[1]} + v[3], INT32_MIN, INT32_MAX));
        return fitPlacement(p, desktop, 200, 150);
    }
    // The first time: beside the main window, on the side with more room, so that the chart
    // the rows are shown in stays in view as far as the screen allows.
    const int64_t areaRight = int64_t{desktop.left} + desktop.width;
    const int64_t frameRight = int64_t{frame.left} + frame.width;
    const int64_t roomRight = areaRight - frameRight;
    const int64_t roomLeft = int64_t{frame.left} - desktop.left;
    const int64_t left = roomRight >= width      ? frameRight
                         : roomLeft >= width     ? int64_t{frame.left} - width
                         : roomRight >= roomLeft ? areaRight - width
                                                 : desktop.left;
    p.left = static_cast<int32_t>(std::clamp<int64_t>(left, INT32_MIN, INT32_MAX));
    p.top = frame.top;
    p.right = static_cast<int32_t>(std::clamp<int64_t>(left + width, INT32_MIN, INT32_MAX));
    p.bottom = static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{frame.top} + height, INT32_MIN, INT32_MAX));
    return fitPlacement(p, desktop, 200, 150);
}

std::string formatSideWindowPlace(const ScreenRect& r) {
    return std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.width) +
           ", " + std::to_string(r.height);
}

}  // namespace zepa
