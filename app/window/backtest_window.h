// The 検証 data window: the trades on the chart's ratio pane, one a row, and their statistics
// (app/backtest_table.h). Not modal; refreshed whenever it is opened and on request.
#pragma once

#include <QWidget>

#include "app/app_context.h"

class QLabel;
class QTableWidget;

namespace zepa {

class BacktestWindow final : public QWidget {
    Q_OBJECT
  public:
    BacktestWindow(QWidget* frame, AppContext& a);
    // The trades of what the main window shows now.
    void refresh();
    QTableWidget* table() const { return table_; }
    QLabel* statsLabel() const { return stats_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    AppContext& a_;
    int64_t shownRevision_ = -1;
    QLabel* stats_ = nullptr;
    QTableWidget* table_ = nullptr;
};

}  // namespace zepa
