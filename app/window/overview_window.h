// The window "建玉一覧": every position's figures at the newest date and their totals, sorted by
// a click on a column's header (again: the other way); Enter or a double click shows the row's
// position in the chart; Ctrl+C and Ctrl+S as the other tables. It shows the figures the
// viewer formed last and follows them when they are formed anew.
#pragma once

#include <functional>
#include <vector>

#include "app/app_context.h"
#include "app/window/text_table_window.h"

namespace zepa {

class OverviewWindow final : public TextTableWindow {
  public:
    // `show` puts a position (index into the position file's positions) in the chart.
    OverviewWindow(QWidget* owner, const AppContext& a, std::function<void(int)> show);

    // The figures of a.overview, in the sort chosen.
    void refresh();
    // As a click on the column's header.
    void sortBy(int column);
    // As Enter on table row `row` (the current row when -1).
    void showRow(int row = -1);
    const TextTable& table() const { return shown_; }
    QTableWidget* grid() const { return grid_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    const AppContext& a_;
    std::function<void(int)> show_;
    std::vector<size_t> order_;
    int sortColumn_ = -1;
    bool descending_ = false;
};

}  // namespace zepa
