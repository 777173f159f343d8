#include "app/window/overview_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/overview/overview_table.h"
#include "app/window/qt_values.h"
#include "app/window/settings_dialog.h"

namespace zepa {
namespace {

constexpr int kFontPixels = 13;

}  // namespace

OverviewWindow::OverviewWindow(QWidget* owner, const AppContext& a, std::function<void(int)> show)
    : TextTableWindow(owner, kOverviewTitle, kOverviewFileName), a_(a), show_(std::move(show)) {
    setFont(dialogFont(kFontPixels));
    shownCell_ = overviewShownCell;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { sortBy(column); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { showRow(row); });
    refresh();
    resize(1200, 450);
}

void OverviewWindow::refresh() {
    const int current = grid_->currentRow();
    order_ = overviewOrder(a_.overview, sortColumn_, descending_);
    showTable(overviewTable(a_.overview, order_), [](const std::string&, size_t column) {
        return overviewRightAligned(static_cast<int>(column));
    });
    const QColor loss = qColorOf(a_.colors.colors[kOverviewLossColor]);
    for (int r = 0; r < grid_->rowCount(); ++r) {
        for (int c = 0; c < grid_->columnCount(); ++c) {
            if (overviewLossCell(a_.overview, order_, static_cast<size_t>(r), c)) {
                grid_->item(r, c)->setForeground(loss);
            }
        }
    }
    QHeaderView* header = grid_->horizontalHeader();
    header->setSortIndicatorShown(sortColumn_ >= 0);
    if (sortColumn_ >= 0) {
        header->setSortIndicator(sortColumn_,
                                 descending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    if (current >= 0 && current < grid_->rowCount()) {
        grid_->selectRow(current);
    }
}

void OverviewWindow::sortBy(int column) {
    descending_ = column == sortColumn_ ? !descending_ : false;
    sortColumn_ = column;
    refresh();
}

void OverviewWindow::showRow(int row) {
    const int r = row >= 0 ? row : grid_->currentRow();
    if (r < 0) {
        return;
    }
    const int position = overviewPositionOfRow(order_, static_cast<size_t>(r));
    if (position >= 0 && show_) {
        show_(position);
    }
}

void OverviewWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        showRow();
    } else if (key == Qt::Key_Up || key == Qt::Key_Down) {
        // The grid takes no focus (Ctrl+C is the window's): the keys move its row here.
        const int rows = grid_->rowCount();
        const int next = std::clamp(grid_->currentRow() + (key == Qt::Key_Up ? -1 : 1), 0,
                                    std::max(rows - 1, 0));
        if (rows > 0) {
            grid_->selectRow(next);
        }
    } else {
        TextTableWindow::keyPressEvent(event);
    }
}

}  // namespace zepa
