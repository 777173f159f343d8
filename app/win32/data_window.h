// The data windows "さやデータ" and "株価データ" (class "CHILDWND"): a page picture painted by the
// plain data-table code, scroll bars, keys and the stored placement. While one is open the frame
// takes no input, so the position and settings cannot change under it.
#pragma once

#include <windows.h>

#include "app/app_context.h"

namespace zepa::win32 {

void openDataWindow(HWND frame, HINSTANCE instance, AppContext& a, int kind);

}  // namespace zepa::win32
