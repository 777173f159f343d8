// The window "決済済み": the closed trades with their totals per month, per year and overall,
// read from the record beside the position file when it opens. Ctrl+C copies the table as
// text, Ctrl+S saves it as CSV, as in the data windows.
#pragma once

#include <QWidget>

#include <functional>

#include "app/app_context.h"
#include "positions/closed_trades_table.h"

class QLabel;
class QTableWidget;

namespace zepa {

class ClosedTradesWindow final : public QWidget {
  public:
    ClosedTradesWindow(QWidget* owner, const AppContext& a);

    // Reads the record again.
    void reload();
    const TextTable& table() const { return table_; }
    void copyTable();
    void saveTable();

    // Stands in for the file chooser of Ctrl+S when set: the path, empty to cancel.
    std::function<QString(const QString& proposed)> saveChooser;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    const AppContext& a_;
    TextTable table_;
    QTableWidget* grid_ = nullptr;
    QLabel* problems_ = nullptr;
};

}  // namespace zepa
