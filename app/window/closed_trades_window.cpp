#include "app/window/closed_trades_window.h"

#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/window/qt_values.h"
#include "app/window/settings_dialog.h"

namespace zepa {
namespace {

constexpr int kFontPixels = 13;

}  // namespace

ClosedTradesWindow::ClosedTradesWindow(QWidget* owner, const AppContext& a)
    : TextTableWindow(owner, kClosedTradesTitle, kClosedTradesFileName), a_(a) {
    shownCell_ = closedTradesShownCell;
    setFont(dialogFont(kFontPixels));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    problems_ = new QLabel(this);
    problems_->setTextFormat(Qt::PlainText);
    problems_->setWordWrap(true);
    layout->addWidget(problems_);
    reload();
    resize(1000, 400);
}

void ClosedTradesWindow::reload() {
    const ClosedTradesView view = readClosedTradesView(closedTradesPath(a_.paths));
    problems_->setText(fromUtf8(view.problems));
    problems_->setVisible(!view.problems.empty());
    // Figures line up on the right.
    showTable(view.table, [](const std::string& cell, size_t) {
        return !cell.empty() && cell.find_first_not_of("-0123456789") == std::string::npos;
    });
}

}  // namespace zepa
