#include "settings/color_table.h"

#include <algorithm>

namespace zepa {
namespace {

constexpr ColorRef kBlack = rgbColor(0, 0, 0);
constexpr ColorRef kBlue = rgbColor(0, 0, 255);
constexpr ColorRef kGreen = rgbColor(0, 255, 0);
constexpr ColorRef kCyan = rgbColor(0, 255, 255);
constexpr ColorRef kRed = rgbColor(255, 0, 0);
constexpr ColorRef kMagenta = rgbColor(255, 0, 255);
constexpr ColorRef kYellow = rgbColor(255, 255, 0);
constexpr ColorRef kWhite = rgbColor(255, 255, 255);
constexpr ColorRef kSilver = rgbColor(192, 192, 192);
constexpr ColorRef kGray = rgbColor(128, 128, 128);
constexpr ColorRef kTeal = rgbColor(64, 128, 128);
constexpr ColorRef kLightGray = rgbColor(208, 208, 208);

using ColorRow = std::array<ColorRef, kColorRowLength>;

constexpr std::array<ColorRow, kSpreadColorRow> kDefaultRows = {{
    {kBlack, kBlue, kGreen, kCyan, kRed, kMagenta, kYellow, kWhite, kSilver, kGray},
    {kBlue, kWhite, kBlack, kTeal, kWhite, kGray, kGray, kBlack, kBlue, kRed},
    {rgbColor(192, 255, 192), rgbColor(192, 255, 255), kBlack, kRed, kBlue, kBlack, kBlack, kBlue,
     kRed, kBlue},
    {kRed, kBlack, kMagenta, kBlack, kBlue, kRed, kLightGray, kMagenta, kYellow, kBlue},
    {kLightGray, kBlack, kBlue, kMagenta, kYellow, kRed, kBlack, kBlack, kBlack, kBlack},
    {kSilver, kBlack, kTeal, kWhite, kCyan, kBlack, kSilver, kGray, kGray, kBlue},
    {kRed, kBlue, kBlack, kGreen, kBlue, kRed, kWhite, kYellow, kBlack, kBlack},
    {rgbColor(128, 255, 255), kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack,
     kBlack},
    // 84 and 85: the overlaid sell leg's falling and rising candles, green and orange, apart
    // from the blue and red of the legs' own candles.
    {kTeal, kBlack, kBlack, kBlack, rgbColor(0, 144, 0), rgbColor(240, 128, 0), kBlack, kBlack,
     kBlack, kBlack},
}};

// Falling candle, rising candle, tomeashi, change rate of the buy leg, then of the sell leg,
// then the two moving averages.
constexpr ColorRow kDefaultSpreadColors = {kBlue, kRed,  kRed,  kRed, kBlue,
                                           kRed,  kBlue, kBlue, kRed, kBlue};

}  // namespace

void resetColorTable(ColorTable& table) {
    for (int row = 0; row < kSpreadColorRow; ++row) {
        std::copy(kDefaultRows[row].begin(), kDefaultRows[row].end(),
                  table.colors.begin() + row * kColorRowLength);
    }
}

void resetSpreadColors(ColorTable& table) {
    std::copy(kDefaultSpreadColors.begin(), kDefaultSpreadColors.end(),
              table.colors.begin() + kSpreadColorBase);
}

}  // namespace zepa
