#include "fuzz/session_shell.h"

#include <algorithm>
#include <array>
#include <optional>

#include "app/frame_handlers.h"
#include "datawindow/data_table.h"
#include "settings/advanced_dialog_logic.h"
#include "settings/input_dialog_logic.h"
#include "settings/settings_dialog_logic.h"

namespace zepa::fuzz {

namespace {

// Text of at most 255 bytes from the input, as typed into an edit.
std::string typedText(FuzzInput& in) {
    const uint8_t length = in.byte();
    std::string typed;
    for (uint8_t i = 0; i < length && !in.empty(); ++i) {
        typed += static_cast<char>(in.byte());
    }
    return typed;
}

// The settings dialog's window: edits hold typed text, questions and the colour chooser are
// answered from the input, the frame behind it rebuilds and repaints for real.
class DialogControls final : public SettingsDialogControls {
  public:
    DialogControls(AppContext& a, SessionShell& shell, FuzzInput& in)
        : a_(a), shell_(shell), in_(in) {}

    void setCheck(int, int32_t) override {}
    void setEditText(int, std::string_view) override {}
    std::string editText(int) override { return typedText(in_); }
    bool askYesNo(std::string_view, std::string_view) override { return in_.flag(); }
    void warn(std::string_view, std::string_view) override {}
    std::optional<ColorRef> chooseColor(ColorRef, const std::array<ColorRef, 16>&) override {
        if (in_.flag()) {
            return std::nullopt;
        }
        return in_.u32();
    }
    void repaintSwatches() override {}
    void invalidateFrame() override { shell_.paint(); }
    bool rebuildSeries() override { return zepa::rebuildSeries(a_, shell_); }
    void endDialog(int) override {}

  private:
    AppContext& a_;
    SessionShell& shell_;
    FuzzInput& in_;
};

// The settings dialog's controls that act besides its ten colour buttons, the close button last.
constexpr std::array<int, 17> kDialogControls = {
    settings_dialog::kRatioPeriodEdit,    settings_dialog::kRatioChartCheck,
    settings_dialog::kOverlaySellCheck,   settings_dialog::kBuyPeriodEdit,
    settings_dialog::kSellPeriodEdit,     settings_dialog::kBuyCandlesCheck,
    settings_dialog::kBuyTomeashiCheck,   settings_dialog::kSellCandlesCheck,
    settings_dialog::kSellTomeashiCheck,  settings_dialog::kBuyAverageCheck,
    settings_dialog::kSellAverageCheck,   settings_dialog::kBaseSellRadio,
    settings_dialog::kBaseBuyRadio,       settings_dialog::kSourceCloseRadio,
    settings_dialog::kSourceAverageRadio, settings_dialog::kResetButton,
    settings_dialog::kCloseButton};
constexpr int kColorButtonCount =
    settings_dialog::kLastColorButton - settings_dialog::kFirstColorButton + 1;

}  // namespace

void SessionShell::paint() {
    // From a tiny window to a large screen; the status bar's height as Qt may report it.
    const int32_t width = 40 + in_.u16() % 2600;
    const int32_t height = 40 + in_.u16() % 1600;
    if (a_.positions.positionCount > 0 && a_.series.buyBarsAllocated &&
        a_.series.sellBarsAllocated) {
        ++chartPaints_;
    }
    onPaint(a_, *this, surface_, width, height, in_.pick(40));
}

void SessionShell::openDataWindow(int kind) {
    DataWindowState s;
    s.kind = kind == kStockDataKind ? kStockDataKind : kSpreadDataKind;
    const ChartContext c = chartContext(a_);
    s.rowCount = dataRowCount(c);
    s.columnCount = dataColumnCount(c, s.kind);
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

void SessionShell::runSettingsDialog() {
    DialogControls controls(a_, *this, in_);
    fillSettingsDialog(a_.settings, controls);
    for (int i = 0; i < 32 && !in_.empty(); ++i) {
        const int n = in_.pick(kColorButtonCount + static_cast<int>(kDialogControls.size()));
        const int id = n < kColorButtonCount
                           ? settings_dialog::kFirstColorButton + n
                           : kDialogControls[static_cast<size_t>(n - kColorButtonCount)];
        if (settingsDialogCommand(a_.settings, a_.colors, controls, id)) {
            return;
        }
    }
    // Closed by its close box, which acts as the close button.
    settingsDialogCommand(a_.settings, a_.colors, controls, settings_dialog::kCloseButton);
}

// Any text in any field, then "OK": a refused form changes nothing, an accepted one is applied.
void SessionShell::runAdvancedSettingsDialog() {
    const AdvancedSettings before = currentAdvancedSettings(a_.settings, a_.colors, *a_.store);
    AdvancedForm form = advancedFormOf(before);
    std::string* const edits[] = {&form.stretchBars, &form.stepSeconds, &form.presets[0],
                                  &form.presets[5],  &form.printScale,  &form.editor};
    for (int i = 0; i < 4 && !in_.empty(); ++i) {
        *edits[in_.pick(static_cast<int>(std::size(edits)))] = std::string(in_.until(","));
    }
    form.pitchMode = in_.pick(2);
    form.pitchIndex = in_.pick(kPitchPresetCount);
    form.fillFallingBodies = in_.pick(2);
    form.colors[static_cast<size_t>(in_.pick(kEditableColorCount))] = in_.u16();
    AdvancedSettings after;
    if (readAdvancedForm(form, before, after).ok()) {
        applyAdvancedSettings(*a_.store, before, after, a_.settings, a_.colors);
        paint();
    }
}

void SessionShell::runInputDialog(int mode) {
    InputDialogState state;
    state.mode = mode;
    inputDialogTexts(mode, a_.settings);
    const std::string typed = typedText(in_);
    const int id = in_.flag() ? input_dialog::kExecuteButton : input_dialog::kCancelButton;
    const InputDialogStep step = inputDialogCommand(state, a_.settings, id, typed);
    a_.view.keyCommand = step.ended ? state.keyCommand : input_dialog::kCancelButton;
    if (mode == input_dialog::kPrintScaleMode &&
        a_.view.keyCommand == input_dialog::kExecuteButton) {
        printScaleFromInput(state.inputText);
    }
}

}  // namespace zepa::fuzz
