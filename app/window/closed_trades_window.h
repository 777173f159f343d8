// The window "決済済み": the closed trades with their totals per month, per year and overall,
// read from the record beside the position file when it opens.
#pragma once

#include "app/app_context.h"
#include "app/window/text_table_window.h"

class QLabel;

namespace zepa {

class ClosedTradesWindow final : public TextTableWindow {
  public:
    ClosedTradesWindow(QWidget* owner, const AppContext& a);

    // Reads the record again.
    void reload();
    const TextTable& table() const { return shown_; }

  private:
    const AppContext& a_;
    QLabel* problems_ = nullptr;
};

}  // namespace zepa
