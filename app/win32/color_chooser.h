// The system's colour dialog over a colour of the table, with the sixteen custom colours set on
// every call, for the settings and 詳細設定 dialogs alike.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "settings/color_table.h"

namespace zepa::win32 {

// The chosen colour, or none when the user cancels.
std::optional<ColorRef> chooseTableColor(HWND owner, ColorRef initial,
                                         const std::array<ColorRef, 16>& customColors);

}  // namespace zepa::win32
