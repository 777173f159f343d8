// The internal commands that menu items, toolbar buttons and keys all end in, and the key
// table that maps keys onto them.
#include <algorithm>
#include <limits>

#include "app/frame_handlers.h"
#include "app/key_table.h"
#include "app/overview/overview_state.h"
#include "base/wrapping.h"
#include "chart/lower_pane.h"
#include "chart/scrolling.h"

namespace zepa {

namespace {

// Timer periods are kept inside what the window system accepts.
constexpr int64_t kShortestTimerMs = 10;
constexpr int kInputOk = 220;
constexpr int kPitchInputMode = 2;
constexpr const char* kPitchRefused = "縦横比伸縮モードでは、変更できません";
constexpr const char* kPitchCaption = "ピッチの変更";

void startAutoStepping(AppContext& a, Shell& shell) {
    if (a.view.autoStepActive == 1) {
        return;
    }
    if (a.view.currentPosition >= a.positions.positionCount - 1) {
        shell.messageBox("最後の銘柄ですので実行できません", "エラー", MessageIcon::Exclamation);
        return;
    }
    // A hand-edited interval must neither overflow the period nor make the timer spin.
    const int64_t ms = std::clamp<int64_t>(int64_t{a.settings.autoStepInterval} * 100,
                                           kShortestTimerMs, std::numeric_limits<int>::max());
    shell.setButtonPressed(command::kButtonAutoStep, true);
    shell.startTimer(kAutoStepTimer, static_cast<int>(ms));
    a.view.autoStepActive = 1;
    nextPosition(a, shell);
}

void toggleCursor(AppContext& a, Shell& shell) {
    if (a.view.cursorState == 0) {
        // No line yet: the first mouse move draws it.
        a.view.cursorState = 1;
        shell.setButtonPressed(command::kButtonCursor, true);
        return;
    }
    shell.setButtonPressed(command::kButtonCursor, false);
    // The cursor readout gives way to the tip line again.
    shell.setStatusText(a.statusTip);
    if (a.view.cursorState > 1) {
        shell.drawOnWindow([&](DrawingSurface& surface) {
            const ChartContext c = chartContext(a);
            surface.setRasterOp(RasterOp::Not);
            cursorLine(surface, c, a.view.cursorLineX, a.colors.colors[11]);
            surface.setRasterOp(RasterOp::CopyPen);
        });
    }
    a.view.cursorState = 0;
}

// Only the lower pane changes, with the layout of the last paint.
void nextLowerPaneChart(AppContext& a, Shell& shell) {
    int32_t& mode = a.settings.lowerPaneMode;
    if (a.settings.ratioChart == 1 && (mode == 1 || mode == 3)) {
        mode = mode == 1 ? 3 : 0;  // 0, 2, 1, 3, 0 ... with the ratio chart on
    } else {
        mode = mode == 0 ? 2 : wrapSub(mode, 1);
    }
    if (a.positions.positionCount <= 0 || !a.series.buyBarsAllocated ||
        !a.series.sellBarsAllocated) {
        return;
    }
    shell.drawOnWindow([&](DrawingSurface& surface) {
        ChartContext c = chartContext(a);
        drawLowerPane(surface, c, a.chart.layout.plotLeft, a.chart.layout.lowerPaneTop);
    });
}

void temporaryPitch(AppContext& a, Shell& shell) {
    if (a.settings.pitchMode != 1) {
        shell.messageBox(kPitchRefused, kPitchCaption, MessageIcon::Exclamation);
        return;
    }
    a.view.inputDialogMode = kPitchInputMode;
    shell.runInputDialog(kPitchInputMode);
    if (a.view.keyCommand == kInputOk) {
        redrawChart(a, shell);
    }
}

void scroll(AppContext& a, Shell& shell, bool older) {
    ChartContext c = chartContext(a);
    if (older ? scrollOlder(c) : scrollNewer(c)) {
        redrawChart(a, shell);
    } else {
        shell.beep();
    }
}

void changePosition(AppContext& a, Shell& shell, int32_t position) {
    a.view.currentPosition = position;
    showChosenPosition(a, shell);
}

}  // namespace

void commandRouter(AppContext& a, Shell& shell, int internalId) {
    switch (internalId) {
        case 0:
        case 1:
        case 2:
            shell.outputChart(internalId);
            break;
        case 125:
            a.view.weeklyBars = a.view.weeklyBars == 1 ? 0 : 1;
            changePosition(a, shell, a.view.currentPosition);
            break;
        case 126: {
            const bool fromCandidate = a.candidate.shown;
            if (leaveCandidateToMove(a, shell, a.positions.positionCount > 0)) {
                break;
            }
            if (a.view.currentPosition != 0 || fromCandidate) {
                shell.selectSelectorItem(0);
                changePosition(a, shell, 0);
            }
            break;
        }
        case 127:
            redrawChart(a, shell);
            break;
        case 130:
            temporaryPitch(a, shell);
            break;
        case 300:
            nextLowerPaneChart(a, shell);
            break;
        case 1008:
            scroll(a, shell, true);
            break;
        case 1009:
            scroll(a, shell, false);
            break;
        case 1010:
            previousPosition(a, shell);
            break;
        case 1011:
            nextPosition(a, shell);
            break;
        case 1012:
            startAutoStepping(a, shell);
            break;
        case 1013:
            a.view.scrollBack = 0;
            redrawChart(a, shell);
            break;
        case 1015:
            if (a.settings.pitchMode != 1) {
                shell.messageBox(kPitchRefused, kPitchCaption, MessageIcon::Exclamation);
                break;
            }
            nextPitch(a, shell);
            redrawChart(a, shell);
            break;
        case 1020:
            onCommand(a, shell, command::kExit);
            break;
        case 1021:
            toggleCursor(a, shell);
            break;
        case 1030:
            shell.showHelp(7);
            break;
        case 1031:
            shell.showHelp(1);
            break;
        case internal_command::kPairSearch:
            shell.openPairSearch();
            break;
        case internal_command::kOverview:
            openOverview(a, shell);
            break;
        default:
            break;
    }
}

int keyCommandFor(int virtualKey, bool ctrl) {
    for (const KeyBinding& k : kKeyTable) {
        if (k.virtualKey == virtualKey && k.ctrl == ctrl) {
            return k.command;
        }
    }
    return -1;
}

}  // namespace zepa
