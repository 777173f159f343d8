// The viewer's part in 建玉一覧: forming the figures of the loaded positions (after each load,
// once the first chart is up, and whenever the window opens), the status bar's line of what
// calls for action, and showing a row's position in the chart.
#pragma once

#include "app/app_context.h"
#include "app/shell.h"

namespace zepa {

// Forms a.overview with the stored settings, sets the status bar's signal line and lets an open
// window show the new figures. A price file that fails ends the run as a failed series build
// does.
void refreshOverview(AppContext& a, Shell& shell);

// 機能 → 建玉一覧 (Ctrl+L): the figures formed anew, then the window.
void openOverview(AppContext& a, Shell& shell);

// Enter or a double click on a row: position `position` of the position file in the chart.
void showOverviewPosition(AppContext& a, Shell& shell, int position);

}  // namespace zepa
