// "詳細設定" from the resource script's template; what it checks, applies and stores is the
// plain code of settings/advanced_dialog_logic.h and settings/advanced_settings.h.
#pragma once

#include <windows.h>

#include "app/app_context.h"
#include "app/shell.h"

namespace zepa::win32 {

// Modal over the frame; a confirmed dialog has the chart repainted, laid out anew.
void runAdvancedSettingsDialog(HWND owner, HINSTANCE instance, AppContext& a, Shell& shell);

}  // namespace zepa::win32
