// The main window's part in 建玉一覧: the window, the status bar's line of signals, and forming
// the figures once a load's chart is up.
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "app/overview/overview_state.h"
#include "app/window/frame_window.h"
#include "app/window/overview_window.h"
#include "app/window/qt_values.h"

namespace zepa {
namespace {

constexpr const char* kOverviewName = "overview";

}  // namespace

void FrameWindow::openOverviewWindow() {
    auto* window = findChild<OverviewWindow*>(QString::fromLatin1(kOverviewName));
    if (window == nullptr) {
        window = new OverviewWindow(this, a_, [this](int position) {
            if (!closed_) {
                showOverviewPosition(a_, *this, position);
            }
        });
        window->setObjectName(QString::fromLatin1(kOverviewName));
    } else {
        window->refresh();
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void FrameWindow::overviewChanged() {
    if (auto* window = findChild<OverviewWindow*>(QString::fromLatin1(kOverviewName))) {
        window->refresh();
    }
}

void FrameWindow::setSignalSummary(std::string_view utf8) {
    if (signalLabel_ == nullptr) {
        if (utf8.empty()) {
            return;
        }
        signalLabel_ = new QLabel(status_);
        status_->addPermanentWidget(signalLabel_);
    }
    signalLabel_->setText(fromUtf8(utf8));
}

QString FrameWindow::signalSummary() const {
    return signalLabel_ != nullptr ? signalLabel_->text() : QString();
}

void FrameWindow::scheduleOverview() {
    overviewPending_ = true;
    runPendingOverview();
}

// After the chart's paint, so that a load shows its chart first (and a run that ends with its
// first chart never waits for the figures).
void FrameWindow::runPendingOverview() {
    if (!overviewPending_ || overviewQueued_ || !chartPainted_) {
        return;
    }
    overviewQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        overviewPending_ = overviewQueued_ = false;
        if (!closed_) {
            refreshOverview(a_, *this);
        }
    });
}

}  // namespace zepa
