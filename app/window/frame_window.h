// The main window "さやチャート": the menu bar, the toolbar strip with the position selector,
// the status bar and the chart. It is the Shell of the viewer's logic: every Qt event becomes
// the matching handler of app/frame_handlers.h, and every drawing goes to a backing image of
// the client size (client = everything under the menu bar, status bar included), which the
// chart view only copies to the screen.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <map>
#include <vector>

#include "app/app_context.h"
#include "app/frame_handlers.h"
#include "app/price_update/price_menu.h"
#include "app/shell.h"
#include "platform/raster_surface.h"

class QAction;
class QComboBox;
class QLabel;
class QStatusBar;
class QToolButton;

namespace zepa {

class BacktestWindow;
class ChartView;
class ToolbarStrip;

class FrameWindow final : public QMainWindow, public Shell {
    Q_OBJECT
  public:
    // Builds the menus, the strip and the status bar, then runs the creation handler (which
    // reads the position file and fills the selector).
    explicit FrameWindow(AppContext& a);
    ~FrameWindow() override;

    // A stored placement's normal rectangle, at a usable size no larger than the screens and
    // moved onto them where it does not fit.
    void restorePlacement(const WindowPlacement& placement);
    // Moves and sizes are written to Size_SY only once this is on, so that the window's own
    // creation never overwrites the stored placement before it has been restored.
    void setPlacementRecording(bool on) { recordPlacement_ = on; }
    // For start-up timing: the window closes itself once it has shown its first chart.
    void setCloseAfterFirstChart(bool on) { closeAfterFirstChart_ = on; }

    // A price file failed while the program ran: it ends without saving settings.
    bool endedByDataError() const { return endedByDataError_; }
    // The window has been closed and its destruction handler has run.
    bool isClosed() const { return closed_; }

    // The client area's picture, at the screen's whole device pixel ratio.
    const QImage& backingImage() const { return image_; }
    // The chart area drawn anew at `scale` device pixels per logical pixel (for the printer).
    QImage renderChartArea(int scale);
    QComboBox* positionSelector() const;
    QToolButton* toolbarButton(int commandId) const;
    QString statusText() const;

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
    // The status bar's line of signals ("" while none is shown).
    QString signalSummary() const;
    // The ペア検索 window while it is open.
    QWidget* pairSearchWindow() const { return pairSearch_; }
    // 株価更新 and 株価取り込み… of the File menu (frame_window_prices.cpp).
    void runPriceUpdate();
    void runPriceImport();

  Q_SIGNALS:
    // The window has closed: the program's event loop ends.
    void windowClosed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    friend class ChartView;

    void buildMenus();
    QAction* addCommand(QWidget* menu, int commandId, const char* text);
    void command(int commandId, int selection = -1);
    // A price job's window, then its end (frame_window_prices.cpp); `settings` opens 詳細設定.
    void runPriceJob(std::string_view caption, PriceJobWork work,
                     const std::function<void()>& settings = {});

    // The paint request: the whole client area is erased and the chart painted anew.
    void paintRequest();
    QSize clientSize() const;
    int statusBarHeight() const;
    // The drawing state a freshly obtained window surface starts with.
    void resetSurface();
    void recordPlacement();
    // Timers stop and the destruction handler runs, once.
    void windowGone();

    // From the chart view.
    void keyFromUser(const QKeyEvent& event);
    void mouseMoved(int x, int y);
    void mousePressed(Qt::MouseButton button);
    void leftDoubleClicked(int x, int y);
    void wheelTurned(int notches, bool page);
    void focusLost();
    void chartShown();

    AppContext& a_;
    QImage image_;
    RasterSurface surface_;  // over image_, for the window's whole life: font slots live in it
    ChartView* view_ = nullptr;
    ToolbarStrip* toolbar_ = nullptr;
    QStatusBar* status_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QLabel* signalLabel_ = nullptr;  // made with the first line of signals
    // 建玉一覧's figures asked for, and queued once the chart is up (frame_window_overview.cpp).
    bool overviewPending_ = false;
    bool overviewQueued_ = false;
    void runPendingOverview();
    std::map<int, QAction*> menuItems_;  // by command id
    std::map<int, int> timers_;          // the program's timer id -> Qt's
    QPointer<QWidget> pairSearch_;
    QPointer<BacktestWindow> backtestWindow_;

    bool created_ = false;
    bool shown_ = false;
    bool closed_ = false;
    bool recordPlacement_ = false;
    bool endedByDataError_ = false;
    bool closeAfterFirstChart_ = false;
    bool chartPainted_ = false;
    bool closeQueued_ = false;
};

}  // namespace zepa
