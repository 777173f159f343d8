// The ペア検索 window of the Windows program (class "ZEPA_PAIRSEARCH"): the main settings as edit
// boxes, 検索 / 中止 / チャートに表示, a progress bar with the stage, the funnel line and the
// result table in a list view. Owned by the main window, not modal. The decisions are the plain
// code of app/pair_search_*.h, shared with the Qt window.
#pragma once

#include <windows.h>

#include "app/app_context.h"
#include "app/shell.h"

namespace zepa::win32 {

// Opens the window, or brings it to the front when `open` names one that exists; returns it.
HWND openPairSearchWindow(HWND frame, HINSTANCE instance, AppContext& a, Shell& shell, HWND open);

// The window's keyboard as a dialog's (Tab between the controls, Enter for 検索, Esc closes):
// true when `message` was for it and has been handled.
bool pairSearchDialogMessage(MSG& message);

}  // namespace zepa::win32
