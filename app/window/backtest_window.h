// The 検証 data window: the trades on the chart's ratio pane, one a row, and their statistics
// (app/backtest_table.h). Not modal; it follows the chart while it is open.
#pragma once

#include "app/app_context.h"
#include "app/window/text_table_window.h"

class QLabel;

namespace zepa {

class BacktestWindow final : public TextTableWindow {
    Q_OBJECT
  public:
    BacktestWindow(QWidget* frame, AppContext& a);
    // The trades of what the main window shows now.
    void refresh();
    QTableWidget* table() const { return grid_; }
    QLabel* statsLabel() const { return stats_; }

  private:
    AppContext& a_;
    int64_t shownRevision_ = -1;
    QLabel* stats_ = nullptr;
};

}  // namespace zepa
