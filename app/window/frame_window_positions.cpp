// The main window's part in writing positions: the Yes/No question, the position dialogs and
// the window of closed trades.
#include <QMessageBox>

#include "app/window/closed_trades_window.h"
#include "app/window/frame_window.h"
#include "app/window/position_dialogs.h"
#include "app/window/qt_values.h"

namespace zepa {

bool FrameWindow::askYesNo(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::Question, fromUtf8(caption), fromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

int FrameWindow::runPositionDialog(int kind) {
    return zepa::runPositionDialog(this, a_, static_cast<PositionDialogKind>(kind));
}

void FrameWindow::openClosedTradesWindow() {
    // One window: opened again, it reads the record anew and comes to the front.
    static const char* const kName = "closedTrades";
    auto* window = findChild<ClosedTradesWindow*>(QString::fromLatin1(kName));
    if (window == nullptr) {
        window = new ClosedTradesWindow(this, a_);
        window->setObjectName(QString::fromLatin1(kName));
    } else {
        window->reload();
    }
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace zepa
