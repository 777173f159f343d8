#include "app/window/backtest_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/backtest_table.h"

namespace zepa {

BacktestWindow::BacktestWindow(QWidget* frame, AppContext& a) : QWidget(frame, Qt::Window), a_(a) {
    setWindowTitle(QStringLiteral("検証"));
    setAttribute(Qt::WA_DeleteOnClose);
    stats_ = new QLabel;
    stats_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    table_ = new QTableWidget;
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
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
    const ShownBacktest& b = a_.shownBacktest;
    shownRevision_ = b.revision;
    const std::vector<std::string> headers = backtestTradeHeaders();
    table_->clear();
    table_->setColumnCount(static_cast<int>(headers.size()));
    QStringList labels;
    for (const std::string& h : headers) {
        labels << QString::fromStdString(h);
    }
    table_->setHorizontalHeaderLabels(labels);
    if (!b.valid) {
        table_->setRowCount(0);
        stats_->setText(QStringLiteral(
            "検証なし (ペア検索で「検証も計算」、または設定で「検証を表示」にして日足で表示)"));
        return;
    }
    stats_->setText(QString::fromStdString(backtestStatsLine(b.stats)));
    table_->setRowCount(static_cast<int>(b.trades.size()));
    int64_t cumulative = 0;
    for (size_t r = 0; r < b.trades.size(); ++r) {
        const std::vector<std::string> cells = backtestTradeCells(b.trades[r], cumulative);
        for (size_t c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(cells[c]));
            item->setTextAlignment(c >= 4 ? Qt::AlignRight | Qt::AlignVCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter);
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    table_->resizeColumnsToContents();
}

void BacktestWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace zepa
