// The main window "さやチャート" (class "ZEPA_SPW"): menu bar, toolbar strip with tooltips and the
// position selector, status bar and the chart. It is the Shell of the viewer's logic: every
// window message becomes the matching handler of app/frame_handlers.h, and every drawing goes
// to a picture of the client size that WM_PAINT only copies to the screen.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/app_context.h"
#include "app/frame_handlers.h"
#include "app/price_update/price_menu.h"
#include "app/shell.h"
#include "back_buffer.h"
#include "platform/gdi_surface.h"

namespace zepa::win32 {

class FrameWindow final : public Shell {
  public:
    explicit FrameWindow(AppContext& a);
    ~FrameWindow() override;
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;

    // Registers the class and creates the window (its creation handler reads the position
    // file and fills the selector); false when Windows refused.
    bool create(HINSTANCE instance);
    // The stored placement's normal rectangle, kept on the screens and at a usable size.
    void restorePlacement(const WindowPlacement& placement);
    void setPlacementRecording(bool on) { recordPlacement_ = on; }
    void show(int showCommand);

    HWND handle() const { return window_; }
    bool endedByDataError() const { return endedByDataError_; }
    const BackBuffer& picture() const { return buffer_; }

    // Shell
    void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void beep() override;
    void setButtonPressed(int commandId, bool pressed) override;
    void setButtonEnabled(int commandId, bool enabled) override;
    void setMenuItemEnabled(int commandId, bool enabled) override;
    void setSelectorItems(const std::vector<std::string>& cp932Items) override;
    void selectSelectorItem(int index) override;
    void startTimer(int id, int milliseconds) override;
    void killTimer(int id) override;
    void drawOnWindow(const std::function<void(DrawingSurface&)>& draw) override;
    void invalidateWindow() override;
    void setStatusText(std::string_view cp932) override;
    void openDataWindow(int kind) override;
    void runSettingsDialog() override;
    void runAdvancedSettingsDialog() override;
    void runInputDialog(int mode) override;
    void runAboutDialog() override;
    void outputChart(int kind) override;
    bool startProcess(const std::string& commandLine) override;
    bool openWithDesktop(const std::string& path) override;
    void showHelp(int context) override;
    void destroyWindow() override;
    void endAfterDataError(std::string_view text) override;
    // Writing positions (frame_window_positions.cpp).
    bool askYesNo(std::string_view text, std::string_view caption) override;
    int runPositionDialog(int kind) override;
    void openClosedTradesWindow() override;
    void openPairSearch() override;
    void openBacktestWindow() override;
    // 建玉一覧 (frame_window_overview.cpp).
    void openOverviewWindow() override;
    void overviewChanged() override;
    void setSignalSummary(std::string_view utf8) override;
    void scheduleOverview() override;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);

    void createChildren();
    void layoutChildren();
    void command(int commandId, int selection = -1);
    void paintRequest();
    int statusBarHeight() const;
    void resetSurface();
    void recordPlacement();
    void windowGone();
    bool live() const { return created_ && !closed_; }
    // The figures asked for by scheduleOverview, once the messages before it are handled.
    static constexpr UINT kOverviewMessage = WM_APP + 20;
    void overviewDue();
    void layoutSignalPart();
    // 株価更新 and 株価取り込み… of the File menu (frame_window_prices.cpp): the job's window,
    // then its end; `settings` opens 詳細設定.
    void runPriceUpdate();
    void runPriceImport();
    void runPriceJob(std::string_view caption, PriceJobWork work,
                     const std::function<void()>& settings = {});

    AppContext& a_;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND selector_ = nullptr;
    HWND status_ = nullptr;
    HWND pairSearch_ = nullptr;  // the ペア検索 window, once opened (it may be gone since)
    HFONT slotZeroFont_ = nullptr;
    BackBuffer buffer_;
    std::unique_ptr<GdiSurface> surface_;  // over buffer_, for the window's life: font slots

    bool created_ = false;
    bool shown_ = false;
    bool closed_ = false;
    bool recordPlacement_ = false;
    bool endedByDataError_ = false;
    bool overviewPending_ = false;
    std::wstring signalSummary_;  // the status bar's second part, once there are signals
    int wheelRest_ = 0;           // a turn short of a whole notch, from fine-stepping wheels
};

// The folder of the running program, for the help pages shipped beside it.
std::wstring programFolder();

}  // namespace zepa::win32
