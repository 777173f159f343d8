#include "app/window/backtest_window.h"

#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/backtest_table.h"
#include "app/window/qt_values.h"

namespace zepa {

BacktestWindow::BacktestWindow(QWidget* frame, AppContext& a)
    : TextTableWindow(frame, kBacktestTitle, kBacktestFileName), a_(a) {
    stats_ = new QLabel;
    stats_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stats_);
    layout->addWidget(grid_, 1);
    resize(900, 400);
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
    setWindowTitle(fromUtf8(backtestWindowTitle(a_.shownBacktest)));
    stats_->setText(fromUtf8(backtestSummary(a_.shownBacktest)));
    showTable(backtestTable(a_.shownBacktest),
              [](const std::string&, size_t column) { return backtestColumnIsFigure(column); });
    exported_ = backtestTable(a_.shownBacktest, true);
}

}  // namespace zepa
