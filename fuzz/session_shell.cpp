#include "fuzz/session_shell.h"

#include <algorithm>

#include "app/frame_handlers.h"
#include "datawindow/data_table.h"
#include "settings/input_dialog_logic.h"

namespace zepa::fuzz {

void SessionShell::paint() {
    // From a tiny window to a large screen; the status bar's height as Qt may report it.
    const int32_t width = 40 + in_.u16() % 2600;
    const int32_t height = 40 + in_.u16() % 1600;
    onPaint(a_, *this, surface_, width, height, in_.pick(40));
}

void SessionShell::openDataWindow(int kind) {
    DataWindowState s;
    s.kind = kind == kStockDataKind ? kStockDataKind : kSpreadDataKind;
    const ChartContext c = chartContext(a_);
    s.rowCount = dataRowCount(c);
    FontSlotTable fonts;
    selectFontSlot(surface_, fonts, kDataFontSlot, kChartFontFace, kDataFontHeight);
    const FontSlot& slot = fonts.slots[kDataFontSlot];
    layoutDataColumns(s, slot.charWidth, slot.lineHeight, fonts.lastTextHeight);
    DataWindowRect r = dataWindowPlacement(*a_.store, s);
    // The window keeps a stored height within the screen, as the real one does.
    r.height = std::clamp(r.height, 60, 4096);
    resizeDataWindow(s, r.height, r.width);
    for (int32_t row = 0; row <= s.rowCount; ++row) {
        formatDataRow(c, s.kind, row);
    }
    // Keys until one closes the window, each page painted.
    for (int i = 0; i < 64; ++i) {
        paintDataWindow(surface_, fonts, c, s, r.height);
        if (in_.empty() || dataWindowKey(s, static_cast<DataKey>(in_.pick(13)), in_.flag())) {
            break;
        }
        if (in_.pick(8) == 0) {
            resizeDataWindow(s, in_.u16() % 2000, in_.u16() % 3000);
        }
    }
    releaseFontSlots(surface_, fonts);
}

void SessionShell::runInputDialog(int mode) {
    InputDialogState state;
    state.mode = mode;
    inputDialogTexts(mode, a_.settings);
    const uint8_t length = in_.byte();
    std::string typed;
    for (uint8_t i = 0; i < length && !in_.empty(); ++i) {
        typed += static_cast<char>(in_.byte());
    }
    const int id = in_.flag() ? input_dialog::kExecuteButton : input_dialog::kCancelButton;
    const InputDialogStep step = inputDialogCommand(state, a_.settings, id, typed);
    a_.view.keyCommand = step.ended ? state.keyCommand : input_dialog::kCancelButton;
    if (mode == input_dialog::kPrintScaleMode &&
        a_.view.keyCommand == input_dialog::kExecuteButton) {
        printScaleFromInput(state.inputText);
    }
}

}  // namespace zepa::fuzz
