// The window "検証" of the Win32 shell: the statistics line over a report list of the trades
// the chart marks (app/backtest_table.h), following the chart while it is open.
#pragma once

#include <windows.h>

#include "app/app_context.h"

namespace zepa::win32 {

// One window: opened again, it comes to the front with the trades read anew.
void openBacktestWindow(HWND frame, HINSTANCE instance, const AppContext& a);

}  // namespace zepa::win32
