// The window "建玉一覧" of the Win32 shell: a report list of every position's figures and their
// totals, sorted by a click on a column's header, Enter or a double click showing the row's
// position; Ctrl+C, Ctrl+S and Esc as in the other table windows.
#pragma once

#include <windows.h>

#include <functional>

#include "app/app_context.h"

namespace zepa::win32 {

// Opens the window (or brings the open one to the front with the figures of a.overview);
// `show` puts a position of the position file in the chart.
void openOverviewWindow(HWND frame, HINSTANCE instance, const AppContext& a,
                        std::function<void(int)> show);

// The open window, if any, shows a.overview anew.
void refreshOverviewWindow();

}  // namespace zepa::win32
