// The view variables of the running viewer: which position, which dates, which mode.
#pragma once

#include <cstdint>

namespace zepa {

struct ChartRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct ViewPoint {
    int32_t x = 0;
    int32_t y = 0;
};

inline constexpr int32_t kToolbarHeight = 30;

struct ViewState {
    int32_t currentPosition = 0;
    int32_t comboSelection = -1;
    int32_t commandState = 2;  // 2 at start-up, 0 no position loaded, 1 positions loaded
    int32_t autoStepActive = 0;
    int32_t cursorState = 0;  // 0 off, 1 on without a line, 2 on with a line drawn
    ViewPoint mousePoint;
    int32_t cursorLineX = 0;
    int32_t cursorBar = 0;
    int32_t weeklyBars = 0;  // 0 daily, 1 weekly
    int32_t scrollBack = 0;  // slots between the newest slot and the last one shown
    ChartRect chartArea;     // client pixels: 0, toolbar height, width, height - status bar
    int32_t firstShownBar = 0;
    int32_t lastShownBar = 0;
    int32_t keyCommand = -1;
    int32_t dataWindowKind = 0;   // 1 stock data, 0 spread data
    int32_t inputDialogMode = 0;  // 2 pitch, 4 print scale
};

}  // namespace zepa
