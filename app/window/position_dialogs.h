// The dialogs "建玉の追加", "建玉の変更" and "建玉の決済": fields moved between their controls
// and the plain forms of app/position_forms.h, which check, work out and write.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/position_forms.h"
#include "app/window/settings_dialog.h"

class QLineEdit;

namespace zepa {

// What both dialogs share: the context, the position, the write's outcome and its refusal.
class PositionFormDialog : public TemplateDialog {
  public:
    // The position to show after the write; -1 while nothing was written.
    int written() const { return written_; }

    // Stands in for the refusal's message box when set.
    std::function<void(std::string_view text, std::string_view caption)> showMessage;

  protected:
    PositionFormDialog(QWidget* owner, AppContext& a, int position, int heightUnits);
    QLineEdit* edit(int id) const;
    // Accepted with the written position, or the refusal's message under `caption`.
    void finish(const FormWrite& write, const char* caption);

    AppContext& a_;
    int position_;

  private:
    int written_ = -1;
};

class PositionDialog final : public PositionFormDialog {
  public:
    // position -1 adds; another changes that position. `filled`: the add dialog's first
    // fields, instead of the newest date's empty ones.
    PositionDialog(QWidget* owner, AppContext& a, int position,
                   const PositionForm* filled = nullptr);

    PositionForm form() const;
    // The fields anew from what was typed: found legs, names, quantities for an amount.
    void refresh();
    // As if the button was clicked: the write, or the message why not.
    void press(int id);

  private:
    std::string autoBuyName_;  // the names filled in from the price files, replaced as codes change
    std::string autoSellName_;
};

class CloseDialog final : public PositionFormDialog {
  public:
    CloseDialog(QWidget* owner, AppContext& a, int position);

    CloseForm form() const;
    // After the exit date changed: that date's closes as the exit prices, then the profit.
    void dateChanged();
    // The profit of the prices as typed.
    void refresh();
    void press(int id);

  private:
    std::string lastDate_;
    CloseForm filled_;  // the closes the dialog put in the price fields
};

// Runs the dialog of that kind modally over the owner: the position to show after its write,
// or -1.
int runPositionDialog(QWidget* owner, AppContext& a, PositionDialogKind kind);

}  // namespace zepa
