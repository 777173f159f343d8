// zepa_spw.exe: the spread chart viewer on Windows. Start-up, the main window's life and
// shutdown in their fixed order; its files live in \ZEPAWIN on the current drive.
#include <windows.h>

#include <commctrl.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "app/startup.h"
#include "frame_window.h"
#include "marketdata/data_error.h"
#include "pair_search_window.h"
#include "platform/registry_value_store.h"
#include "settings/chart_values.h"
#include "wide_text.h"

namespace {

void showStartupError(const std::string& text) {
    MessageBoxW(nullptr, zepa::win32::wide(text).c_str(),
                zepa::win32::wide(zepa::kErrorCaption).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

int64_t secondsNow() {
    return static_cast<int64_t>(std::time(nullptr));
}

// "%c:\" of the current drive; a folder without a drive letter (a network path) stands for
// its own root.
std::string driveRoot() {
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    if (ec) {
        return ".";
    }
    const std::filesystem::path root = cwd.root_path();
    return root.empty() ? cwd.string() : root.string();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    zepa::AppContext a;
    a.clockSeconds = secondsNow;
    zepa::RegistryValueStore store;
    switch (zepa::startViewer(a, driveRoot(), store)) {
        case zepa::StartupOutcome::PositionFileMissing:
            showStartupError(zepa::positionFileAbsentMessage(a.paths));
            return 0;
        case zepa::StartupOutcome::DataError:
            showStartupError(zepa::dataErrorMessage(a.md.dataError, a.paths.dataDirectory));
            return 0;
        case zepa::StartupOutcome::Ready:
            break;
    }

    zepa::win32::FrameWindow window(a);
    if (!window.create(instance)) {
        return 0;
    }
    if (!window.endedByDataError()) {
        // Only now is the stored placement read and applied, so the window's creation cannot
        // have overwritten it.
        zepa::WindowPlacement placement;
        if (zepa::parsePlacement(zepa::queryChartValue(store, zepa::kChartSubkey, "Size_SY"),
                                 placement)) {
            window.restorePlacement(placement);
        }
        window.setPlacementRecording(true);
        window.show(showCommand);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (zepa::win32::pairSearchDialogMessage(message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (!window.endedByDataError()) {
        zepa::shutDownViewer(a);
    }
    return 0;
}
