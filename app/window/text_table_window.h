// A window of its own showing a table of texts (決済済み, 検証): Ctrl+C copies it as
// tab-separated text, Ctrl+S saves it as CSV, as in the data windows; Esc closes it.
#pragma once

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "positions/closed_trades_table.h"

class QTableWidget;

namespace zepa {

class TextTableWindow : public QWidget {
    Q_OBJECT
  public:
    void copyTable();
    void saveTable();

    // Stands in for the file chooser of Ctrl+S when set: the path, empty to cancel.
    std::function<QString(const QString& proposed)> saveChooser;

  protected:
    TextTableWindow(QWidget* owner, const char* title, const char* fileName);

    // Shows `table`: the cells `right` names line up on the right, total rows are bold.
    void showTable(TextTable table,
                   const std::function<bool(const std::string& cell, size_t column)>& right);
    void keyPressEvent(QKeyEvent* event) override;

    TextTable shown_;
    // What Ctrl+C and Ctrl+S take when set (numbers alone, for spreadsheets); else shown_.
    std::optional<TextTable> exported_;
    QTableWidget* grid_ = nullptr;
    // How a cell reads on the screen when it differs from what is copied; unset: the same.
    std::function<std::string(const std::string& cell, size_t column)> shownCell_;
    // The name Ctrl+S offers, when it names what the table holds (a date, a pair).
    void setFileName(std::string fileName) { fileName_ = std::move(fileName); }

  private:
    std::string fileName_;
};

}  // namespace zepa
