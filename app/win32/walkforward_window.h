// The window "過去の成績" of the Win32 shell: the summary line and the survivorship note, the
// picture of both cumulative curves (app/walkforward_plot.h, drawn anew at each size) and the
// period table in a report list below it (Ctrl+C, Ctrl+S, Esc as the other tables).
#pragma once

#include <windows.h>

#include "app/walkforward_job.h"

namespace zepa::win32 {

// Opens a window of the outcome, closing the one of an earlier run.
HWND openWalkForwardWindow(HWND owner, HINSTANCE instance, const WalkForwardJobOutcome& outcome);

}  // namespace zepa::win32
