#include "app/window/backtest_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/backtest_table.h"
#include "app/window/qt_values.h"
#include "app/window/table_save.h"

namespace zepa {

BacktestWindow::BacktestWindow(QWidget* frame, AppContext& a) : QWidget(frame, Qt::Window), a_(a) {
    setWindowTitle(fromUtf8(kBacktestTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    stats_ = new QLabel;
    stats_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    table_ = new QTableWidget;
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Ctrl+C is the window's (the whole table), not the view's (one cell).
    table_->setFocusPolicy(Qt::NoFocus);
    table_->verticalHeader()->setVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stats_);
    layout->addWidget(table_, 1);
    resize(620, 400);
    // The chart may move to another pair while the window is open: it follows.
    auto* follow = new QTimer(this);
    connect(follow, &QTimer::timeout, this, [this] {
        if (a_.shownBacktest.revision != shownRevision_) {
            refresh();
        }
    });
    follow->start(300);
}

void BacktestWindow::refresh() {
    shownRevision_ = a_.shownBacktest.revision;
    shown_ = backtestTable(a_.shownBacktest);
    stats_->setText(fromUtf8(backtestSummary(a_.shownBacktest)));
    table_->clear();
    table_->setColumnCount(static_cast<int>(shown_.header.size()));
    QStringList labels;
    for (const std::string& h : shown_.header) {
        labels << fromUtf8(h);
    }
    table_->setHorizontalHeaderLabels(labels);
    table_->setRowCount(static_cast<int>(shown_.rows.size()));
    for (size_t r = 0; r < shown_.rows.size(); ++r) {
        for (size_t c = 0; c < shown_.rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(fromUtf8(shown_.rows[r][c]));
            // 保有, 純損益 and 累計 are figures: they line up on the right.
            item->setTextAlignment(c >= 4 ? Qt::AlignRight | Qt::AlignVCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter);
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    table_->resizeColumnsToContents();
}

void BacktestWindow::copyTable() {
    QGuiApplication::clipboard()->setText(fromUtf8(textTableTsv(shown_)));
}

void BacktestWindow::saveTable() {
    saveTableAs(this, fromUtf8(kBacktestFileName), saveChooser, textTableCsv(shown_));
}

void BacktestWindow::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers().testFlag(Qt::ControlModifier) && event->key() == Qt::Key_C) {
        copyTable();
        return;
    }
    if (event->modifiers().testFlag(Qt::ControlModifier) && event->key() == Qt::Key_S) {
        saveTable();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace zepa
