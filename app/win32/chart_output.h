// The chart to the clipboard and to the printer: commands 102, 100 and 101 (kinds 0, 1, 2),
// capturing the chart area of the frame's picture.
#pragma once

#include <windows.h>

#include <string>

#include "app/app_context.h"
#include "back_buffer.h"

namespace zepa::win32 {

// Returns the status bar's note on a print shrunk to fit the page (UTF-8), else empty.
std::string outputChart(HWND owner, HINSTANCE instance, AppContext& a, const BackBuffer& picture,
                        int kind);

}  // namespace zepa::win32
