// The main window's part in writing positions: the Yes/No question, the position dialogs and
// the window of closed trades.
#include "frame_window.h"
#include "position_dialogs.h"
#include "wide_text.h"

namespace zepa::win32 {

bool FrameWindow::askYesNo(std::string_view text, std::string_view caption) {
    return MessageBoxW(window_, wide(text).c_str(), wide(caption).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

int FrameWindow::runPositionDialog(int kind) {
    return win32::runPositionDialog(window_, instance_, a_, static_cast<PositionDialogKind>(kind));
}

void FrameWindow::openClosedTradesWindow() {
    win32::openClosedTradesWindow(window_, instance_, a_);
}

}  // namespace zepa::win32
