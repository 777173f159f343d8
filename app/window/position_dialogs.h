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

class PositionDialog final : public TemplateDialog {
  public:
    // position -1 adds; another changes that position.
    PositionDialog(QWidget* owner, AppContext& a, int position);

    PositionForm form() const;
    // The fields anew from what was typed: found legs, names, quantities for an amount.
    void refresh();
    // As if the button was clicked: the write, or the message why not.
    void press(int id);
    // The position to show after the write; -1 while nothing was written.
    int written() const { return written_; }

    // Stands in for the refusal's message box when set.
    std::function<void(std::string_view text, std::string_view caption)> showMessage;

  private:
    QLineEdit* edit(int id) const;
    AppContext& a_;
    int position_;
    int written_ = -1;
    std::string autoBuyName_;  // the names filled in from the price files, replaced as codes change
    std::string autoSellName_;
};

class CloseDialog final : public TemplateDialog {
  public:
    CloseDialog(QWidget* owner, AppContext& a, int position);

    CloseForm form() const;
    // After the exit date changed: that date's closes as the exit prices, then the profit.
    void dateChanged();
    // The profit of the prices as typed.
    void refresh();
    void press(int id);
    int written() const { return written_; }

    std::function<void(std::string_view text, std::string_view caption)> showMessage;

  private:
    QLineEdit* edit(int id) const;
    AppContext& a_;
    int position_;
    int written_ = -1;
    std::string lastDate_;
};

// Runs the dialog of that kind modally over the owner: the position to show after its write,
// or -1.
int runPositionDialog(QWidget* owner, AppContext& a, PositionDialogKind kind);

}  // namespace zepa
