// The 検証 data window: the trades on the chart's ratio pane, one a row, and their statistics
// (app/backtest_table.h). Not modal; refreshed whenever it is opened and on request. Ctrl+C
// copies the table as text, Ctrl+S saves it as CSV, as in the data windows.
#pragma once

#include <QWidget>

#include <functional>

#include "app/app_context.h"
#include "positions/closed_trades_table.h"

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
    void copyTable();
    void saveTable();

    // Stands in for the file chooser of Ctrl+S when set: the path, empty to cancel.
    std::function<QString(const QString& proposed)> saveChooser;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    AppContext& a_;
    int64_t shownRevision_ = -1;
    TextTable shown_;
    QLabel* stats_ = nullptr;
    QTableWidget* table_ = nullptr;
};

}  // namespace zepa
