// The input dialog "INPUT2": one value, the temporary pitch (mode 2) or the print scale in
// percent (mode 4).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/window/settings_dialog.h"
#include "settings/input_dialog_logic.h"

namespace zepa {

class InputDialog final : public TemplateDialog {
  public:
    InputDialog(QWidget* owner, ChartSettings& settings, int mode);

    // As if control `id` was clicked.
    void press(int id);
    const InputDialogState& state() const { return state_; }

    // Stands in for the refusal's message box (caption, warning icon) when set.
    std::function<void(std::string_view text, std::string_view caption)> showMessage;

  protected:
    // Esc and the title bar's close box both cancel.
    void reject() override;

  private:
    ChartSettings& settings_;
    InputDialogState state_;
    bool ended_ = false;
};

// Commands 130 (mode 2) and the scaled print (mode 4): runs the dialog modally over `owner`
// and leaves the closing button, 220 or 221, in a.view.keyCommand, which it also returns. In
// mode 2 an accepted value is the new pitch. The print scale is the caller's to take: on 220,
// inputText holds the accepted text (printScaleFromInput turns it into the scale).
int runInputDialog(QWidget* owner, AppContext& a, int mode, std::string* inputText = nullptr);

}  // namespace zepa
