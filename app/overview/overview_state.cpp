#include "app/overview/overview_state.h"

#include "app/frame_handlers.h"
#include "app/overview/overview_settings.h"
#include "app/pair_search_settings.h"

namespace zepa {

void refreshOverview(AppContext& a, Shell& shell) {
    if (a.md.dataAborted) {
        return;
    }
    const PairSearchSettings pair =
        a.store != nullptr ? loadPairSearchSettings(*a.store) : defaultPairSearchSettings();
    const OverviewSettings settings = overviewSettingsOf(a.settings, pair);
    if (computePositionOverview(a.md, a.corrections, a.positions, settings, a.overview) ==
        OverviewResult::DataError) {
        stopAutoStepping(a, shell);
        shell.endAfterDataError(dataErrorMessage(a.md.dataError, a.md.dataDirectory));
        return;
    }
    shell.setSignalSummary(overviewStatusText(a.overview.totals));
    shell.overviewChanged();
}

void openOverview(AppContext& a, Shell& shell) {
    refreshOverview(a, shell);
    if (!a.md.dataAborted) {
        shell.openOverviewWindow();
    }
}

void showOverviewPosition(AppContext& a, Shell& shell, int position) {
    if (position < 0 || position >= a.positions.positionCount) {
        return;
    }
    shell.selectSelectorItem(position);
    onCommand(a, shell, command::kPositionSelector, position);
}

}  // namespace zepa
