// "建玉の追加", "建玉の変更" and "建玉の決済" from the resource script's templates, and the window
// "決済済み"; their behaviour is the plain form logic of app/position_forms.h.
#pragma once

#include <windows.h>

#include "app/app_context.h"
#include "app/position_forms.h"

namespace zepa::win32 {

// Modal over `owner`: the position to show after the dialog's write, or -1. `filled`, when
// given, is what the add dialog starts with (a screened pair) instead of empty fields.
int runPositionDialog(HWND owner, HINSTANCE instance, AppContext& a, PositionDialogKind kind,
                      const PositionForm* filled = nullptr);

// The closed trades with their totals in a list; Ctrl+C copies, Ctrl+S saves as CSV.
void openClosedTradesWindow(HWND frame, HINSTANCE instance, const AppContext& a);

}  // namespace zepa::win32
