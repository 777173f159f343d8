// The settings, input and About dialogs from the resource script's templates; their behaviour
// is the plain dialog logic of settings/.
#pragma once

#include <windows.h>

#include <string>

#include "app/app_context.h"
#include "app/shell.h"

namespace zepa::win32 {

// Centred on the work area, as the dialog logic places it.
void centre(HWND dialog);

// The settings dialog, modal over the frame.
void runSettingsDialog(HWND owner, HINSTANCE instance, AppContext& a, Shell& shell);
// Modes 2 (temporary pitch) and 4 (print scale): leaves the closing button, 220 or 221, in
// a.view.keyCommand and returns it; on 220 inputText (when given) holds the accepted text.
int runInputDialog(HWND owner, HINSTANCE instance, AppContext& a, int mode, std::string* inputText);
void runAboutDialog(HWND owner, HINSTANCE instance);

}  // namespace zepa::win32
