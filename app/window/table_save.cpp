#include "app/window/table_save.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

#include "datawindow/table_export.h"

namespace zepa {

void saveTableAs(QWidget* parent, const QString& proposed,
                 const std::function<QString(const QString&)>& chooser, const std::string& csv) {
    QString path;
    if (chooser) {
        path = chooser(proposed);
    } else {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        path = QFileDialog::getSaveFileName(parent, QStringLiteral("CSV ファイルに保存"),
                                            QDir(folder).filePath(proposed),
                                            QStringLiteral("CSV (*.csv)"));
    }
    if (path.isEmpty()) {
        return;
    }
    if (!saveFileReplacing(QFile::encodeName(path).toStdString(), csv)) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("保存エラー"),
                        QStringLiteral("ファイルに保存できませんでした\n") + path, QMessageBox::Ok,
                        parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
}

}  // namespace zepa
