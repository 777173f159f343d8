#include "app/window/closed_trades_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/window/qt_values.h"
#include "app/window/settings_dialog.h"
#include "app/window/table_save.h"
#include "datawindow/table_export.h"

namespace zepa {
namespace {

constexpr int kFontPixels = 13;

}  // namespace

ClosedTradesWindow::ClosedTradesWindow(QWidget* owner, const AppContext& a)
    : QWidget(owner, Qt::Window), a_(a) {
    setWindowTitle(fromUtf8(kClosedTradesTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(dialogFont(kFontPixels));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    grid_ = new QTableWidget(this);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->setVisible(false);
    grid_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(grid_);
    problems_ = new QLabel(this);
    problems_->setTextFormat(Qt::PlainText);
    problems_->setWordWrap(true);
    layout->addWidget(problems_);
    reload();
    resize(1000, 400);
}

void ClosedTradesWindow::reload() {
    const std::string path = closedTradesPath(a_.paths);
    ClosedTradesFile file;
    std::string problems;
    if (!readClosedTrades(path, file)) {
        problems = path + " が読めません";
    }
    for (const int line : file.badLines) {
        problems += (problems.empty() ? "" : "\n") + path + " の " + std::to_string(line) +
                    " 行目は決済の記録として読めません";
    }
    problems_->setText(fromUtf8(problems));
    problems_->setVisible(!problems.empty());

    table_ = closedTradesTable(file.trades);
    grid_->clear();
    grid_->setColumnCount(static_cast<int>(table_.header.size()));
    grid_->setRowCount(static_cast<int>(table_.rows.size()));
    QStringList header;
    for (const std::string& h : table_.header) {
        header << fromUtf8(h);
    }
    grid_->setHorizontalHeaderLabels(header);
    for (size_t r = 0; r < table_.rows.size(); ++r) {
        for (size_t c = 0; c < table_.rows[r].size(); ++c) {
            const std::string& cell = table_.rows[r][c];
            auto* item = new QTableWidgetItem(fromUtf8(cell));
            // Figures line up on the right; the totals stand out.
            const bool figure =
                !cell.empty() && cell.find_first_not_of("-0123456789") == std::string::npos;
            item->setTextAlignment((figure ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            if (table_.totalRows[r]) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            grid_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    grid_->resizeColumnsToContents();
}

void ClosedTradesWindow::copyTable() {
    QGuiApplication::clipboard()->setText(fromUtf8(textTableTsv(table_)));
}

void ClosedTradesWindow::saveTable() {
    saveTableAs(this, fromUtf8(kClosedTradesFileName), saveChooser, textTableCsv(table_));
}

void ClosedTradesWindow::keyPressEvent(QKeyEvent* event) {
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
