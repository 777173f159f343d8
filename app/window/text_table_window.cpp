#include "app/window/text_table_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>

#include "app/window/qt_values.h"
#include "app/window/table_save.h"

namespace zepa {

TextTableWindow::TextTableWindow(QWidget* owner, const char* title, const char* fileName)
    : QWidget(owner, Qt::Window), fileName_(fileName) {
    setWindowTitle(fromUtf8(title));
    setAttribute(Qt::WA_DeleteOnClose);
    grid_ = new QTableWidget(this);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->verticalHeader()->setVisible(false);
    // Ctrl+C is the window's (the whole table), not the view's (one cell).
    grid_->setFocusPolicy(Qt::NoFocus);
}

void TextTableWindow::showTable(
    TextTable table, const std::function<bool(const std::string& cell, size_t column)>& right) {
    shown_ = std::move(table);
    grid_->clear();
    grid_->setColumnCount(static_cast<int>(shown_.header.size()));
    grid_->setRowCount(static_cast<int>(shown_.rows.size()));
    QStringList header;
    for (const std::string& h : shown_.header) {
        header << fromUtf8(h);
    }
    grid_->setHorizontalHeaderLabels(header);
    for (size_t r = 0; r < shown_.rows.size(); ++r) {
        const bool total = r < shown_.totalRows.size() && shown_.totalRows[r];
        for (size_t c = 0; c < shown_.rows[r].size(); ++c) {
            const std::string& cell = shown_.rows[r][c];
            auto* item = new QTableWidgetItem(fromUtf8(shownCell_ ? shownCell_(cell, c) : cell));
            item->setTextAlignment((right(cell, c) ? Qt::AlignRight : Qt::AlignLeft) |
                                   Qt::AlignVCenter);
            if (total) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            grid_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    grid_->resizeColumnsToContents();
}

void TextTableWindow::copyTable() {
    QGuiApplication::clipboard()->setText(fromUtf8(textTableTsv(exported_ ? *exported_ : shown_)));
}

void TextTableWindow::saveTable() {
    saveTableAs(this, fromUtf8(fileName_), saveChooser,
                textTableCsv(exported_ ? *exported_ : shown_));
}

void TextTableWindow::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    if (ctrl && event->key() == Qt::Key_C) {
        copyTable();
    } else if (ctrl && event->key() == Qt::Key_S) {
        saveTable();
    } else if (event->key() == Qt::Key_Escape) {
        close();
    } else {
        QWidget::keyPressEvent(event);
    }
}

}  // namespace zepa
