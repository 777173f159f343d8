// The chart to the clipboard and to the printer: commands 102, 100 and 101 (kinds 0, 1, 2),
// capturing the chart area of the frame's picture.
#pragma once

#include <windows.h>

#include "app/app_context.h"
#include "back_buffer.h"

namespace zepa::win32 {

void outputChart(HWND owner, HINSTANCE instance, AppContext& a, const BackBuffer& picture,
                 int kind);

}  // namespace zepa::win32
