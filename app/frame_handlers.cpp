// The main window's events: creation and destruction, placement, paint requests, focus, keys,
// commands, timers and the mouse.
#include "app/frame_handlers.h"

#include <algorithm>

#include "app/cursor_readout.h"
#include "app/last_position.h"
#include "app/position_forms.h"
#include "app/startup.h"
#include "chart/scrolling.h"
#include "settings/chart_values.h"

namespace zepa {

namespace {

constexpr int kCursorSwitch = 1021;
constexpr int kRedraw = 127;
constexpr int kExitCommand = 1020;
constexpr int kKeyC = 67;
// More notches than any chart has steps; keeps a wild wheel count from looping long.
constexpr int kMostNotches = 1000;
constexpr int kTimerPeriodMs = 10;
// The system window colour that the paint request erases to.
constexpr ColorRef kWindowColor = rgbColor(255, 255, 255);

// Reads the position file, reporting a missing one; the number of positions read.
int readPositions(AppContext& a, Shell& shell) {
    bool missing = false;
    const int count = readPositionFile(a.paths.positionFile, a.positions, &missing);
    shell.scheduleOverview();
    if (missing) {
        shell.messageBox(positionFileMissingMessage(a.paths.positionFile), kErrorCaption,
                         MessageIcon::Exclamation);
    } else if (!a.positions.problems.empty()) {
        shell.messageBox(positionProblemsMessage(a.positions.problems), kErrorCaption,
                         MessageIcon::Exclamation);
    }
    return count;
}

void editPositions(AppContext& a, Shell& shell) {
    if (editPositionFile(a, shell) == 0) {
        shell.messageBox(positionFileAbsentMessage(a.paths), kErrorCaption,
                         MessageIcon::Exclamation);
    }
}

void openDataWindow(AppContext& a, Shell& shell, int kind) {
    a.view.dataWindowKind = kind;
    shell.openDataWindow(kind);
}

// The selector's selection-change notification.
void selectPosition(AppContext& a, Shell& shell, int selection) {
    a.view.comboSelection = selection;
    if (selection < 0 || selection >= a.positions.positionCount) {
        return;
    }
    leaveCandidate(a);
    a.view.currentPosition = selection;
    showChosenPosition(a, shell);
}

void reloadPositions(AppContext& a, Shell& shell) {
    if (readPositions(a, shell) > 0) {
        enablePositionCommands(a, shell);
        fillPositionSelector(a, shell);
        shell.invalidateWindow();
    } else {
        onCommand(a, shell, command::kNoPositions);
    }
}

// The cursor's slot becomes the last date shown.
void jumpToCursor(AppContext& a, Shell& shell) {
    commandRouter(a, shell, kCursorSwitch);
    ChartContext c = chartContext(a);
    jumpToCursorBar(c, a.view.cursorBar);
    commandRouter(a, shell, kRedraw);
}

}  // namespace

void onCreate(AppContext& a, Shell& shell) {
    shell.drawOnWindow(
        [&](DrawingSurface& surface) { selectFontSlot(surface, a.fonts, 0, kChartFontFace, -15); });
    if (readPositions(a, shell) > 0) {
        enablePositionCommands(a, shell);
        // On the position shown when the viewer last closed, while the file still holds it.
        fillPositionSelector(a, shell, shownPositionAtStart(a));
    } else {
        disablePositionCommands(a, shell);
        shell.startTimer(kNoPositionTimer, kTimerPeriodMs);
    }
}

void onDestroy(AppContext& a, Shell& shell) {
    shell.drawOnWindow([&](DrawingSurface& surface) { releaseFontSlots(surface, a.fonts); });
}

void onMoveOrSize(AppContext& a, const WindowPlacement& placement) {
    if (a.store == nullptr) {
        return;
    }
    WindowPlacement p = placement;
    p.flags = p.flags == 2 || p.showCommand == 3 ? 2 : 0;
    storeChartValue(*a.store, kChartSubkey, "Size_SY", formatPlacement(p));
}

void onPaint(AppContext& a, Shell& shell, DrawingSurface& surface, int32_t clientWidth,
             int32_t clientHeight, int32_t statusBarHeight) {
    ChartRect& area = a.view.chartArea;
    area.left = 0;
    area.top = kToolbarHeight;
    area.right = clientWidth;
    area.bottom = clientHeight - statusBarHeight;
    if ((a.positions.positionCount > 0 || a.candidate.shown) && !a.md.dataAborted) {
        paintChartWithTip(a, shell, surface);
    } else {
        // Nothing to draw: the area shows the window colour, as an erased window does.
        surface.fillRect(area.left, area.top, area.right, area.bottom, kWindowColor);
    }
}

void onFocusLost(AppContext& a, Shell& shell) {
    stopAutoStepping(a, shell);
    if (a.view.cursorState > 0) {
        commandRouter(a, shell, kCursorSwitch);
    }
}

void onKey(AppContext& a, Shell& shell, int virtualKey, bool ctrl) {
    if (a.view.autoStepActive == 1) {
        stopAutoStepping(a, shell);
        return;
    }
    if (a.view.cursorState > 0) {
        if (virtualKey == kKeyC) {
            jumpToCursor(a, shell);
            return;
        }
        commandRouter(a, shell, kCursorSwitch);
    }
    a.view.keyCommand = keyCommandFor(virtualKey, ctrl);
    if (a.view.commandState == 0) {
        // Without a position only what needs none: leaving, and ペア検索 to find one.
        if (a.view.keyCommand == kExitCommand ||
            a.view.keyCommand == internal_command::kPairSearch) {
            commandRouter(a, shell, a.view.keyCommand);
        }
    } else if (a.view.keyCommand != -1) {
        commandRouter(a, shell, a.view.keyCommand);
    }
}

void onCommand(AppContext& a, Shell& shell, int commandId, int selection) {
    if (a.view.autoStepActive == 1) {
        stopAutoStepping(a, shell);
        if (commandId == command::kPositionSelector) {
            // The selection was not carried out: the selector keeps showing the position.
            shell.selectSelectorItem(a.view.currentPosition);
        }
        return;
    }
    if (a.view.cursorState > 0) {
        commandRouter(a, shell, kCursorSwitch);
        if (commandId == command::kButtonCursor) {
            return;
        }
    }
    switch (commandId) {
        case command::kPrintScreenSize:
            commandRouter(a, shell, 1);
            break;
        case command::kPrintScaled:
            commandRouter(a, shell, 2);
            break;
        case command::kCopyToClipboard:
            commandRouter(a, shell, 0);
            break;
        case command::kExit:
            shell.destroyWindow();
            break;
        case command::kNoPositions:
            shell.messageBox("建て玉が設定されていませんので\n\n先に、建て玉を登録して下さい\n",
                             kErrorCaption, MessageIcon::Exclamation);
            editPositions(a, shell);
            break;
        case command::kEditPositions:
            editPositions(a, shell);
            break;
        case command::kReloadPositionsMenu:
            onCommand(a, shell, command::kReloadPositions);
            break;
        case command::kAddPosition:
        case command::kChangePosition:
        case command::kClosePosition:
        case command::kRemovePosition:
        case command::kClosedTrades:
            onPositionCommand(a, shell, commandId);
            break;
        case command::kDailyWeekly:
            commandRouter(a, shell, 125);
            break;
        case command::kChartSwitch:
        case command::kButtonChartSwitch:
            commandRouter(a, shell, 300);
            break;
        case command::kStockData:
            openDataWindow(a, shell, 1);
            break;
        case command::kSpreadData:
            openDataWindow(a, shell, 0);
            break;
        case command::kSettings:
            shell.runSettingsDialog();
            break;
        case command::kAdvancedSettings:
            shell.runAdvancedSettingsDialog();
            break;
        case command::kKeyHelp:
            commandRouter(a, shell, 1030);
            break;
        case command::kHelp:
            commandRouter(a, shell, 1031);
            break;
        case command::kAbout:
            shell.runAboutDialog();
            break;
        case command::kPairSearch:
            commandRouter(a, shell, internal_command::kPairSearch);
            break;
        case command::kBacktestData:
            shell.openBacktestWindow();
            break;
        case command::kOverview:
            commandRouter(a, shell, internal_command::kOverview);
            break;
        case command::kPositionSelector:
            selectPosition(a, shell, selection);
            break;
        case command::kReloadPositions:
            reloadPositions(a, shell);
            break;
        case command::kButtonOlder:
            commandRouter(a, shell, 1008);
            break;
        case command::kButtonNewer:
            commandRouter(a, shell, 1009);
            break;
        case command::kButtonPrevious:
            commandRouter(a, shell, 1010);
            break;
        case command::kButtonNext:
            commandRouter(a, shell, 1011);
            break;
        case command::kButtonAutoStep:
            commandRouter(a, shell, 1012);
            break;
        case command::kButtonPitch:
            commandRouter(a, shell, 1015);
            break;
        case command::kButtonCursor:
            commandRouter(a, shell, kCursorSwitch);
            break;
        case command::kButtonExit:
            onCommand(a, shell, command::kExit);
            break;
        case command::kButtonInitialScreen:
            commandRouter(a, shell, 1013);
            break;
        default:
            break;
    }
}

void onTimer(AppContext& a, Shell& shell, int timerId) {
    if (timerId == kNoPositionTimer) {
        shell.killTimer(kNoPositionTimer);
        onCommand(a, shell, command::kNoPositions);
    } else if (timerId == kAutoStepTimer && a.view.autoStepActive == 1) {
        // A tick that was already queued when stepping stopped is dropped, as a killed
        // timer's pending messages are.
        nextPosition(a, shell);
    }
}

void onMouseMove(AppContext& a, Shell& shell, int32_t x, int32_t y) {
    if (a.view.commandState == 0) {
        return;
    }
    a.view.mousePoint = ViewPoint{x, y};
    if (a.view.cursorState > 0) {
        shell.drawOnWindow([&](DrawingSurface& surface) {
            const ChartContext c = chartContext(a);
            // Inverting twice restores the pixels: the old line is erased by drawing it again.
            surface.setRasterOp(RasterOp::Not);
            if (a.view.cursorState > 1) {
                cursorLine(surface, c, a.view.cursorLineX, a.colors.colors[11]);
            }
            cursorLine(surface, c, x, a.colors.colors[33]);
            surface.setRasterOp(RasterOp::CopyPen);
        });
        a.view.cursorBar = cursorBarAt(chartContext(a), x);
        shell.setStatusText(cursorReadout(chartContext(a), a.view.cursorBar));
        if (a.view.cursorState == 1) {
            a.view.cursorState = 2;
        }
    }
    a.view.cursorLineX = x;
}

int wheelNotches(int& rest, int angleDelta) {
    constexpr int kNotch = 120;
    const int64_t total = int64_t{rest} + angleDelta;
    rest = static_cast<int>(total % kNotch);
    return static_cast<int>(total / kNotch);
}

void onWheel(AppContext& a, Shell& shell, int notches, bool page) {
    if (a.view.autoStepActive == 1) {
        stopAutoStepping(a, shell);
        return;
    }
    if (a.view.commandState == 0 || notches == 0) {
        return;
    }
    ChartContext c = chartContext(a);
    const int64_t bars = int64_t{std::clamp(std::abs(notches), 0, kMostNotches)} *
                         (page ? pageStepBars(c) : wheelStepBars(c));
    // The whole turn is one move: at a limit one beep, not one a notch.
    if (!(notches > 0 ? scrollOlderBy(c, bars) : scrollNewerBy(c, bars))) {
        shell.beep();
        return;
    }
    const bool lineShown = a.view.cursorState > 1;
    redrawChart(a, shell);
    // The cursor stays on: its line comes back where the mouse is, over the date now there.
    if (lineShown) {
        onMouseMove(a, shell, a.view.cursorLineX, a.view.mousePoint.y);
    }
}

void onLeftButtonDown(AppContext& a, Shell& shell) {
    if (a.view.commandState == 0) {
        return;
    }
    if (a.view.autoStepActive == 1) {
        stopAutoStepping(a, shell);
    } else if (a.view.cursorState > 0) {
        jumpToCursor(a, shell);
    }
}

void onLeftDoubleClick(AppContext& a, Shell& shell, int32_t x, int32_t y) {
    if (a.view.commandState == 0) {
        return;
    }
    const ChartLayout& l = a.chart.layout;
    if (!(l.pricePaneLeft < x && x < l.pricePaneRight)) {
        return;
    }
    if (l.pricePaneTop < y && y < l.pricePaneBottom) {
        openDataWindow(a, shell, 1);
    } else if (l.lowerTitleTop < y && y < l.lowerPaneBottom) {
        openDataWindow(a, shell, 0);
    }
}

void onRightButtonDown(AppContext& a, Shell& shell) {
    if (a.view.commandState == 0) {
        return;
    }
    if (a.view.autoStepActive == 1) {
        stopAutoStepping(a, shell);
    } else if (a.view.cursorState > 0) {
        commandRouter(a, shell, kCursorSwitch);
    }
}

}  // namespace zepa
