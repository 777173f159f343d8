// The "詳細設定" dialog: pitch mode and presets, stepping interval, filled bodies, print scale,
// editor and chart colours. It shows a form of settings/advanced_dialog_logic.h and, on "OK",
// has that code check, apply and store it; cancelling changes and writes nothing.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string_view>

#include "app/window/settings_dialog.h"
#include "settings/advanced_dialog_logic.h"
#include "settings/value_store.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace zepa {

// Seams for the tests: the colour chooser, the message box and the editor's file chooser; left
// empty, the real ones show.
struct AdvancedDialogHooks {
    std::function<std::optional<ColorRef>(ColorRef initial)> chooseColor;
    std::function<void(std::string_view text, std::string_view caption)> message;
    std::function<QString()> chooseEditor;
};

class AdvancedSettingsDialog final : public TemplateDialog {
  public:
    AdvancedSettingsDialog(QWidget* owner, ValueStore& store, ChartSettings& settings,
                           ColorTable& colors, AdvancedDialogHooks hooks = {});

    // The control with this id (advanced_dialog::k...), or nullptr.
    QWidget* controlById(int id) const;
    // As if control `id` was clicked.
    void press(int id);

  private:
    QWidget* keep(int id, QWidget* widget);
    void showMarks();
    void showColor(int k);
    void accepted();

    ValueStore& store_;
    ChartSettings& settings_;
    ColorTable& colors_;
    AdvancedDialogHooks hooks_;
    AdvancedSettings before_;
    AdvancedForm form_;
    std::map<int, QWidget*> byId_;
};

// Menu command 151 over the main window; a confirmed dialog repaints the whole chart, laid out
// anew.
void runAdvancedSettingsDialog(QWidget* owner, AppContext& a, Shell& shell);

}  // namespace zepa
