// The frame window's behaviour as plain functions: each window event of the main window ends
// here, with the context and the shell; the Qt window only translates events.
#pragma once

#include <cstdint>

#include "app/app_context.h"
#include "app/shell.h"

namespace zepa {

// Window placement as the Size_SY value keeps it.
struct WindowPlacement {
    uint32_t flags = 0;        // 2 when maximised
    uint32_t showCommand = 1;  // 1 normal, 2 minimised, 3 maximised
    int32_t minX = -1, minY = -1, maxX = -1, maxY = -1;
    int32_t left = 0, top = 0, right = 0, bottom = 0;  // the normal rectangle
    // The screen scale the coordinates are in, percent: the window system's pixels at that
    // scale (logical pixels under Qt) are these numbers.
    int32_t scalePercent = 100;
};

// "%u, %u, %d, %d, %d, %d, %d, %d, %d, %d, %d": the ten fields the value always had, then the
// scale. Readers of ten fields (older versions) ignore the eleventh, so they read the value as
// before; a separate value for the scale could go stale when such a version rewrote this one.
std::string formatPlacement(const WindowPlacement& p);
// True only when the ten fields convert; an eleventh outside 25..1000 %, or none (a value of an
// older version), is taken as 100.
bool parsePlacement(std::string_view text, WindowPlacement& p);
// The same rectangle in the pixels of another scale, so that it covers as many screen pixels:
// stored at 150 %, 1,200 pixels wide are 1,800 at 100 %.
WindowPlacement placementAtScale(const WindowPlacement& p, int32_t scalePercent);
// The scale percent of a device pixel ratio (1.5 -> 150), within 25..1000.
int32_t scalePercentOf(double devicePixelRatio);

// A window rectangle in screen pixels.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The normal rectangle of `p` on the screens' work area `desktop`: each size between the
// smallest and the area's, and a rectangle that does not fit (a screen that is gone or smaller,
// a placement stored at another scale, a hand-edited value) moved onto the area as far as
// needed. Worked out in 64 bits: stored corners may be anywhere in 32.
ScreenRect fitPlacement(const WindowPlacement& p, const ScreenRect& desktop, int32_t smallestWidth,
                        int32_t smallestHeight);

// A window beside the main one (ペア検索): its stored place "left, top, width, height" fitted
// onto the work area, or the first time, `width` × `height` beside `frame` on the side with room
// (the right first), else against the work area's side with more room.
ScreenRect sideWindowPlace(std::string_view stored, const ScreenRect& frame,
                           const ScreenRect& desktop, int32_t width, int32_t height);
std::string formatSideWindowPlace(const ScreenRect& r);
inline constexpr std::string_view kPairSearchPlaceValue = "PairSearchPlace";

// Creation: font slot 0, the position file, the selector or the no-position timer.
void onCreate(AppContext& a, Shell& shell);
// Destruction: the font slots are released.
void onDestroy(AppContext& a, Shell& shell);
// Every move and size: Size_SY is written.
void onMoveOrSize(AppContext& a, const WindowPlacement& placement);
// The paint request: sets the chart area and paints the whole chart when positions exist.
void onPaint(AppContext& a, Shell& shell, DrawingSurface& surface, int32_t clientWidth,
             int32_t clientHeight, int32_t statusBarHeight);
void onFocusLost(AppContext& a, Shell& shell);
// Keys and system keys alike; virtualKey is the Windows code, ctrl whether Ctrl is held.
void onKey(AppContext& a, Shell& shell, int virtualKey, bool ctrl);
// Menu items, toolbar buttons and the selector (selection = the selector's new selection).
void onCommand(AppContext& a, Shell& shell, int commandId, int selection = -1);
void onTimer(AppContext& a, Shell& shell, int timerId);
void onMouseMove(AppContext& a, Shell& shell, int32_t x, int32_t y);
// Wheel notches on the chart: older dates (> 0, turned away from the user) or newer (< 0), a
// tenth of the bars shown a notch, or a page as Left and Right move when `page` (Shift held).
// The cursor stays on; while automatic stepping runs, the turn only stops it.
void onWheel(AppContext& a, Shell& shell, int notches, bool page = false);
// Whole notches in a wheel turn of `angleDelta` eighths of a degree (120 a notch, positive away
// from the user); `rest` carries what fine-stepping wheels leave short of a notch to the next.
int wheelNotches(int& rest, int angleDelta);
void onLeftButtonDown(AppContext& a, Shell& shell);
void onLeftDoubleClick(AppContext& a, Shell& shell, int32_t x, int32_t y);
void onRightButtonDown(AppContext& a, Shell& shell);

// The internal command ids of the router.
void commandRouter(AppContext& a, Shell& shell, int internalId);
// The key table: the internal command of a key, or -1.
int keyCommandFor(int virtualKey, bool ctrl);

// Shared operations of the commands.
void stopAutoStepping(AppContext& a, Shell& shell);
void redrawChart(AppContext& a, Shell& shell);
// Builds the series of currentPosition, showing the build's own messages; true on success.
bool rebuildSeries(AppContext& a, Shell& shell);
// After 設定 closed: rebuildSeries, and 建玉一覧's figures asked for again (its ratio period and
// 期日's days are among the settings).
bool rebuildAfterSettings(AppContext& a, Shell& shell);
// After a position was chosen: rebuilds, then draws its chart, or its empty chart (the header
// naming it) when the build failed with a message; nothing after a fatal error.
void showChosenPosition(AppContext& a, Shell& shell);
void nextPosition(AppContext& a, Shell& shell);
void previousPosition(AppContext& a, Shell& shell);
void nextPitch(AppContext& a, Shell& shell);
// Fills the selector and builds position `first` (0 when it is not in the table).
int fillPositionSelector(AppContext& a, Shell& shell, int32_t first = 0);
// The menu items that work on the position shown, greyed while none is loaded.
inline constexpr int kPositionShownCommands[] = {
    command::kChangePosition,  command::kClosePosition, command::kRemovePosition,
    command::kDailyWeekly,     command::kChartSwitch,   command::kStockData,
    command::kSpreadData,      command::kBacktestData,  command::kCopyToClipboard,
    command::kPrintScreenSize, command::kPrintScaled};
void enablePositionCommands(AppContext& a, Shell& shell);
void disablePositionCommands(AppContext& a, Shell& shell);
// Item i of the selector, CP932.
std::string positionItemText(const PositionRecord& record);

// The whole chart and then a tip line into the status bar; the empty chart of the position on
// show while its series is not built.
void paintChartWithTip(AppContext& a, Shell& shell, DrawingSurface& surface);

}  // namespace zepa
