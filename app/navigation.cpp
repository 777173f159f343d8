// Moving between positions, stopping automatic stepping, the pitch presets, the position selector
// and the commands that depend on a loaded position.
#include <algorithm>
#include <cstdio>

#include "app/frame_handlers.h"
#include "base/codepage.h"

namespace zepa {

namespace {

// Builds the series of currentPosition and shows what the build reports; the build's result.
// With drawFailure, a failed build's empty chart is drawn before its message, so that the box
// never stands over the previous position's chart.
int buildSeriesOfCurrentPosition(AppContext& a, Shell& shell, bool drawFailure = false) {
    const int32_t current = a.view.currentPosition;
    // After a fatal data error the tables are gone; the program is on its way out.
    if (a.md.dataAborted ||
        (!a.candidate.shown && (current < 0 || current >= a.positions.positionCount ||
                                current >= static_cast<int32_t>(a.positions.records.size())))) {
        return 0;
    }
    const PositionRecord& record =
        a.candidate.shown ? a.candidate.record : a.positions.records[current];
    PairSeriesOptions options;
    options.weeklyBars = a.view.weeklyBars;
    options.buyAveragePeriod = a.settings.buyAveragePeriod;
    options.sellAveragePeriod = a.settings.sellAveragePeriod;
    options.splitAdjustedDisplay = a.settings.splitAdjustedDisplay;
    const PairSeriesResult built = buildPairSeries(a.md, a.corrections, record, options, a.series);
    // The statistics are a fifth of a build: only where the ratio chart can be shown (the switch
    // reaches it with the option on; a stored lower pane 3 shows it); a change of either rebuilds.
    // Memory short or no series: the ratio chart stays empty.
    const bool ratioWanted = a.settings.ratioChart == 1 || a.settings.lowerPaneMode == 3;
    if (built.result != 1 || !ratioWanted ||
        computeRatioStatistics(a.series, a.settings.ratioPeriod, a.ratio) != 1) {
        a.ratio.slots.clear();
    }
    const bool failed =
        built.message != PairSeriesMessage::None && built.message != PairSeriesMessage::DataError;
    if (failed) {
        // A failed build leaves the previous position's bars, or one leg of each position; no
        // later paint, data window, lower pane or backtest may show them under this position's
        // name.
        releasePairSeries(a.series);
    }
    updateShownBacktest(a);
    if (built.message == PairSeriesMessage::DataError) {
        // The fatal box runs its own event loop: no stepping tick may arrive meanwhile.
        stopAutoStepping(a, shell);
        shell.endAfterDataError(dataErrorMessage(a.md.dataError, a.md.dataDirectory));
    } else if (failed) {
        if (drawFailure) {
            redrawChart(a, shell);
        }
        // A candidate has no line in the position file.
        const size_t at = static_cast<size_t>(current);
        const int32_t line =
            !a.candidate.shown && at < a.positions.lines.size() ? a.positions.lines[at] : 0;
        shell.messageBox(pairSeriesFailureText(built, record, line), kPairSeriesCaption,
                         MessageIcon::Exclamation);
    }
    return built.result;
}

}  // namespace

void stopAutoStepping(AppContext& a, Shell& shell) {
    if (a.view.autoStepActive != 1) {
        return;
    }
    shell.killTimer(kAutoStepTimer);
    a.view.autoStepActive = 0;
    shell.setButtonPressed(command::kButtonAutoStep, false);
}

void redrawChart(AppContext& a, Shell& shell) {
    // As the paint request, draw nothing while no position (nor candidate) is loaded or after a
    // fatal error.
    if ((a.positions.positionCount <= 0 && !a.candidate.shown) || a.md.dataAborted) {
        return;
    }
    shell.drawOnWindow([&](DrawingSurface& surface) { paintChartWithTip(a, shell, surface); });
}

bool rebuildSeries(AppContext& a, Shell& shell) {
    return buildSeriesOfCurrentPosition(a, shell) > 0;
}

bool rebuildAfterSettings(AppContext& a, Shell& shell) {
    shell.scheduleOverview();
    return rebuildSeries(a, shell);
}

void showChosenPosition(AppContext& a, Shell& shell) {
    if (buildSeriesOfCurrentPosition(a, shell, true) > 0) {
        redrawChart(a, shell);
    }
}

void nextPosition(AppContext& a, Shell& shell) {
    if (leaveCandidateToMove(a, shell, a.view.currentPosition < a.positions.positionCount - 1)) {
        return;
    }
    if (a.view.currentPosition < a.positions.positionCount - 1) {
        ++a.view.currentPosition;
        shell.selectSelectorItem(a.view.currentPosition);
        showChosenPosition(a, shell);
        return;
    }
    stopAutoStepping(a, shell);
    shell.messageBox("最後の銘柄です", "後の銘柄へ移動", MessageIcon::Information);
}

void previousPosition(AppContext& a, Shell& shell) {
    if (leaveCandidateToMove(a, shell, a.view.currentPosition > 0)) {
        return;
    }
    if (a.view.currentPosition > 0) {
        --a.view.currentPosition;
        shell.selectSelectorItem(a.view.currentPosition);
        showChosenPosition(a, shell);
        return;
    }
    shell.messageBox("先頭の銘柄です", "前の銘柄へ移動", MessageIcon::Information);
}

void nextPitch(AppContext& a, Shell& shell) {
    ChartSettings& s = a.settings;
    for (int tries = 0; tries < kPitchPresetCount; ++tries) {
        // A stored index outside the table starts again at its first entry.
        s.pitchIndex =
            s.pitchIndex < 0 || s.pitchIndex >= kPitchPresetCount - 1 ? 0 : s.pitchIndex + 1;
        const int32_t preset = s.pitchTable[static_cast<size_t>(s.pitchIndex)];
        if (preset > 0) {
            s.pitch = static_cast<float>(preset * 0.1);
            return;
        }
    }
    shell.messageBox("ピッチの値が設定されていません\n設定を先に行って実行して下さい",
                     "ピッチの変更", MessageIcon::Exclamation);
}

std::string positionItemText(const PositionRecord& record) {
    // The Japanese literals of the format become CP932 once; the field widths are then byte
    // widths, which are display cells in the selector's font.
    static const std::string format = cp932FromUtf8("買 %1s%4d %-6s　　売 %1s%4d %-6s");
    const std::string buyLetter(
        record.buy.marketLetter,
        std::find(record.buy.marketLetter, record.buy.marketLetter + 1, '\0'));
    const std::string sellLetter(
        record.sell.marketLetter,
        std::find(record.sell.marketLetter, record.sell.marketLetter + 1, '\0'));
    const auto print = [&](char* out, size_t size) {
        return std::snprintf(out, size, format.c_str(), buyLetter.c_str(),
                             static_cast<int>(record.buy.stockCode), record.buy.shortName.c_str(),
                             sellLetter.c_str(), static_cast<int>(record.sell.stockCode),
                             record.sell.shortName.c_str());
    };
    const int length = print(nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    print(text.data(), text.size());
    text.resize(static_cast<size_t>(length));
    return text;
}

int fillPositionSelector(AppContext& a, Shell& shell, int32_t first) {
    // A list read again starts at its own position, not at a candidate shown before.
    leaveCandidate(a);
    std::vector<std::string> items;
    const int count =
        std::min(a.positions.positionCount, static_cast<int>(a.positions.records.size()));
    items.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        items.push_back(positionItemText(a.positions.records[static_cast<size_t>(i)]));
    }
    shell.setSelectorItems(items);
    first = first > 0 && first < count ? first : 0;
    shell.selectSelectorItem(first);
    a.view.currentPosition = first;
    a.view.comboSelection = first;
    // No redraw: the first paint after creation, or the re-read's invalidation, draws it.
    return buildSeriesOfCurrentPosition(a, shell);
}

void enablePositionCommands(AppContext& a, Shell& shell) {
    if (a.view.commandState == 1) {
        return;
    }
    for (const int id : kPositionShownCommands) {
        shell.setMenuItemEnabled(id, true);
    }
    for (int id = command::kReloadPositions; id <= command::kButtonInitialScreen; ++id) {
        shell.setButtonEnabled(id, true);
    }
    a.view.commandState = 1;
}

void disablePositionCommands(AppContext& a, Shell& shell) {
    if (a.view.commandState == 0) {
        return;
    }
    // Only what works on the position shown goes grey: ペア検索, 決済済み, 建玉の追加 and the
    // settings are how a trader without positions finds and enters the first one.
    for (const int id : kPositionShownCommands) {
        shell.setMenuItemEnabled(id, false);
    }
    for (int id = command::kButtonOlder; id <= command::kButtonInitialScreen; ++id) {
        shell.setButtonEnabled(id, false);
    }
    // The exit button stays usable, as does the re-read button before it.
    shell.setButtonEnabled(command::kButtonExit, true);
    a.view.commandState = 0;
}

}  // namespace zepa
