// Everything the running viewer knows, in one place passed by reference: the loaded data, the
// position on show, the view, the settings and the chart's own state.
#pragma once

#include <string>

#include "app/default_editor.h"
#include "app/pair_candidate.h"
#include "chart/chart_context.h"
#include "marketdata/correction_list.h"
#include "marketdata/installation_paths.h"
#include "marketdata/pair_series.h"
#include "marketdata/position_file.h"
#include "marketdata/price_database.h"
#include "marketdata/ratio_statistics.h"
#include "positions/position_overview.h"
#include "settings/chart_settings.h"
#include "settings/color_table.h"
#include "settings/value_store.h"

namespace zepa {

struct AppContext {
    InstallationPaths paths;
    MarketData md;
    CorrectionList corrections;
    PositionTable positions;
    SpreadSeries series;
    RatioStatistics ratio;  // of `series`, computed with every build
    ViewState view;
    ChartSettings settings;
    ColorTable colors;
    FontSlotTable fonts;
    ChartState chart;
    ValueStore* store = nullptr;  // the per-user settings store; never null while running
    PositionRecord noPosition;    // shown by nothing; stands in while no position is loaded
    PairCandidate candidate;      // a screened pair, shown instead of the position when `shown`
    ShownBacktest shownBacktest;  // the trades drawn on the ratio chart, of what is shown
    PositionOverview overview;    // 建玉一覧's figures, formed anew after each load
    std::string statusTip;        // the status bar's tip line (CP932), back after the cursor
    // The editor used while EDITOR is empty; empty for the desktop's default application.
    std::string defaultEditor{platformDefaultEditor()};
    // Seconds since the epoch, for the tip line's generator; the shell sets it from the clock,
    // tests set it by hand.
    int64_t (*clockSeconds)() = nullptr;
};

// The chart's view of the context, for the position on show.
inline ChartContext chartContext(AppContext& a) {
    const PositionRecord& position =
        a.candidate.shown ? a.candidate.record
        : a.view.currentPosition >= 0 && a.view.currentPosition < a.positions.positionCount
            ? a.positions.records[a.view.currentPosition]
            : a.noPosition;
    return ChartContext{a.view,
                        a.settings,
                        a.colors,
                        a.series,
                        position,
                        a.md.set.dateCount,
                        a.fonts,
                        a.chart,
                        &a.ratio,
                        a.candidate.shown,
                        a.shownBacktest.valid ? &a.shownBacktest.marks : nullptr};
}

}  // namespace zepa
