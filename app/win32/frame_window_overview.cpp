// The main window's part in 建玉一覧: the window, the status bar's part for the signals, and
// forming the figures once a load's chart is up.
#include "frame_window.h"

#include <commctrl.h>

#include <algorithm>

#include "app/overview/overview_state.h"
#include "overview_window.h"
#include "wide_text.h"

namespace zepa::win32 {
namespace {

// The status bar's signal part, at the right.
constexpr int kSignalPartWidth = 380;

}  // namespace

void FrameWindow::openOverviewWindow() {
    win32::openOverviewWindow(window_, instance_, a_, [this](int position) {
        if (live()) {
            showOverviewPosition(a_, *this, position);
        }
    });
}

void FrameWindow::overviewChanged() {
    refreshOverviewWindow();
}

void FrameWindow::setSignalSummary(std::string_view utf8) {
    signalSummary_ = wide(utf8);
    layoutSignalPart();
}

void FrameWindow::layoutSignalPart() {
    if (status_ == nullptr || signalSummary_.empty()) {
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    const int parts[2] = {std::max(0, static_cast<int>(client.right) - kSignalPartWidth), -1};
    SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(signalSummary_.c_str()));
}

void FrameWindow::scheduleOverview() {
    if (!overviewPending_ && window_ != nullptr) {
        overviewPending_ = PostMessageW(window_, kOverviewMessage, 0, 0) != 0;
    }
}

void FrameWindow::overviewDue() {
    overviewPending_ = false;
    if (live()) {
        refreshOverview(a_, *this);
    }
}

}  // namespace zepa::win32
