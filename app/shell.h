// What the viewer's logic asks of the window system. The Qt main window implements it; tests
// use a recorder. Texts are UTF-8 unless a parameter says CP932.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/surface.h"

namespace zepa {

enum class MessageIcon { Exclamation, Information };

// Command ids of the toolbar buttons and menu items.
namespace command {
inline constexpr int kPrintScreenSize = 100;
inline constexpr int kPrintScaled = 101;
inline constexpr int kCopyToClipboard = 102;
inline constexpr int kExit = 103;
inline constexpr int kNoPositions = 110;
inline constexpr int kEditPositions = 111;
inline constexpr int kReloadPositionsMenu = 112;
inline constexpr int kAddPosition = 113;
inline constexpr int kChangePosition = 114;
inline constexpr int kClosePosition = 115;
inline constexpr int kRemovePosition = 116;
inline constexpr int kDailyWeekly = 120;
inline constexpr int kChartSwitch = 121;
inline constexpr int kStockData = 122;
inline constexpr int kSpreadData = 123;
inline constexpr int kClosedTrades = 124;
inline constexpr int kSettings = 150;
inline constexpr int kAdvancedSettings = 151;
inline constexpr int kKeyHelp = 200;
inline constexpr int kHelp = 201;
inline constexpr int kAbout = 202;
inline constexpr int kPositionSelector = 210;
inline constexpr int kReloadPositions = 250;
inline constexpr int kButtonOlder = 251;
inline constexpr int kButtonNewer = 252;
inline constexpr int kButtonPrevious = 253;
inline constexpr int kButtonNext = 254;
inline constexpr int kButtonAutoStep = 255;
inline constexpr int kButtonPitch = 256;
inline constexpr int kButtonCursor = 257;
inline constexpr int kButtonChartSwitch = 258;
inline constexpr int kButtonExit = 259;
inline constexpr int kButtonInitialScreen = 260;
inline constexpr int kPairSearch = 125;    // 機能 → ペア検索... (Ctrl+F)
inline constexpr int kBacktestData = 126;  // 機能 → 検証データ
inline constexpr int kOverview = 127;      // 機能 → 建玉一覧 (Ctrl+L)
}  // namespace command

// Internal commands of the router that no menu item shares.
namespace internal_command {
inline constexpr int kPairSearch = 1040;
inline constexpr int kOverview = 1041;
}  // namespace internal_command

inline constexpr int kNoPositionTimer = 10;
inline constexpr int kAutoStepTimer = 11;

class Shell {
  public:
    virtual ~Shell() = default;

    // A message box owned by the main window, OK button only.
    virtual void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
    virtual void beep() = 0;

    // Toolbar buttons by command id: pressed = checked and enabled; released = enabled.
    virtual void setButtonPressed(int commandId, bool pressed) = 0;
    virtual void setButtonEnabled(int commandId, bool enabled) = 0;
    // A menu item by command id, wherever in the menu it sits.
    virtual void setMenuItemEnabled(int commandId, bool enabled) = 0;

    // The position selector: items as CP932 bytes.
    virtual void setSelectorItems(const std::vector<std::string>& cp932Items) = 0;
    virtual void selectSelectorItem(int index) = 0;

    virtual void startTimer(int id, int milliseconds) = 0;
    virtual void killTimer(int id) = 0;

    // Draws at once on the window's picture (client coordinates) and shows the result.
    virtual void drawOnWindow(const std::function<void(DrawingSurface&)>& draw) = 0;
    // Asks for a full repaint through the paint request, which sets the chart area first.
    virtual void invalidateWindow() = 0;
    // The status bar's text, CP932.
    virtual void setStatusText(std::string_view cp932) = 0;

    // Windows and dialogs of other parts of the program.
    virtual void openDataWindow(int kind) = 0;  // 1 stock data, 0 spread data
    virtual void runSettingsDialog() = 0;
    // "詳細設定": applied and stored when confirmed, the chart then repainted.
    virtual void runAdvancedSettingsDialog() = 0;
    virtual void runInputDialog(int mode) = 0;  // leaves the closing button in view.keyCommand
    virtual void runAboutDialog() = 0;
    virtual void outputChart(int kind) = 0;  // 0 clipboard, 1 print at screen size, 2 scaled
    // Starts the editor detached; false when it could not start.
    virtual bool startProcess(const std::string& commandLine) = 0;
    // Opens the file with the desktop's default application; false when nothing opened it.
    virtual bool openWithDesktop(const std::string& path) = 0;
    virtual void showHelp(int context) = 0;
    // Writing positions: a Yes/No question owned by the main window (true for Yes), the add,
    // change or close dialog (PositionDialogKind) on the position shown, which returns the
    // number of the position to show after its write or -1 when nothing was written, and the
    // window of closed trades. The defaults suit shells without them.
    virtual bool askYesNo(std::string_view /*text*/, std::string_view /*caption*/) { return false; }
    virtual int runPositionDialog(int /*kind*/) { return -1; }
    virtual void openClosedTradesWindow() {}
    // Destroys the main window; the program ends after the event loop.
    virtual void destroyWindow() = 0;
    // A price file failed while a series was read: the fatal box (no owner, caption
    // "エラーメッセージ") with this text, then the program ends without saving settings.
    virtual void endAfterDataError(std::string_view text) = 0;

    // The ペア検索 window (not modal; brought to the front when open) and the 検証 data window
    // of the trades on show. The defaults suit shells without them.
    virtual void openPairSearch() {}
    virtual void openBacktestWindow() {}

    // 建玉一覧: the window (not modal; brought to the front when open), told when its figures
    // were formed anew; the status bar's line of signals (UTF-8, empty for none); and a request
    // to form the figures once the events waiting now are handled (refreshOverview), so that
    // a load shows its chart first. The defaults suit shells without them.
    virtual void openOverviewWindow() {}
    virtual void overviewChanged() {}
    virtual void setSignalSummary(std::string_view /*utf8*/) {}
    virtual void scheduleOverview() {}
};

}  // namespace zepa
