// The main window's part in 株価更新 and 株価取り込み…: the job's window and the file choosers;
// the key, the work, the reload and the summary are app/price_update/price_menu.h's.
#include <QFileDialog>
#include <QMessageBox>

#include "app/price_update/price_menu.h"
#include "app/window/frame_window.h"
#include "app/window/price_update_dialog.h"
#include "app/window/qt_values.h"

namespace zepa {

void FrameWindow::runPriceUpdate() {
    PriceUpdateSettings settings;
    if (a_.store != nullptr) {
        settings = loadPriceUpdateSettings(*a_.store);
    }
    const auto editSettings = [this, &settings] {
        if (runPriceUpdateSettingsDialog(this, settings) && a_.store != nullptr) {
            savePriceUpdateSettings(*a_.store, settings);
        }
    };
    if (!priceUpdateKeyReady(*this, editSettings)) {
        return;
    }
    runPriceJob(kPriceUpdateCaption, priceUpdateWork(a_.paths.root, settings), editSettings);
}

void FrameWindow::runPriceImport() {
    const QStringList files = QFileDialog::getOpenFileNames(
        this, QStringLiteral("株価ファイルを選ぶ（複数可）"), QString(),
        QStringLiteral("株価ファイル (*.csv *.txt *.json);;すべてのファイル (*)"));
    if (files.isEmpty()) {
        return;
    }
    QString names;
    if (QMessageBox::question(
            this, QStringLiteral("株価取り込み"),
            QStringLiteral("銘柄名のファイル（上場銘柄一覧など）も取り込みますか？"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes) {
        names =
            QFileDialog::getOpenFileName(this, QStringLiteral("銘柄名のファイルを選ぶ"), QString(),
                                         QStringLiteral("CSV (*.csv *.txt);;すべてのファイル (*)"));
    }
    PriceImportRequest request;
    request.root = a_.paths.root;
    for (const QString& f : files) {
        request.files.push_back(f.toStdString());
    }
    request.namesFile = names.toStdString();
    runPriceJob(kPriceImportCaption, priceImportWork(std::move(request)));
}

void FrameWindow::runPriceJob(std::string_view caption, PriceJobWork work,
                              const std::function<void()>& settings) {
    PriceJobDialog dialog(this, fromUtf8(caption), std::move(work), settings);
    dialog.exec();
    PriceJobOutcome outcome;
    if (dialog.outcome(outcome)) {
        finishPriceJob(a_, *this, caption, std::move(outcome));
    }
}

}  // namespace zepa
