// The main window's part in 株価更新 and 株価取り込み…: the key checked, the job's window, the
// summary, and the prices read again when something was written.
#include <QFileDialog>
#include <QMessageBox>
#include <ctime>

#include "app/price_reload.h"
#include "app/window/frame_window.h"
#include "app/window/price_update_dialog.h"
#include "app/window/qt_values.h"
#include "import/jquants_key.h"
#include "import/jquants_update.h"
#include "marketdata/data_error.h"

namespace zepa {
namespace {

void showSummary(QWidget* parent, const QString& caption, const PriceJobOutcome& outcome) {
    QMessageBox box(
        outcome.status == kExitImported ? QMessageBox::Information : QMessageBox::Warning, caption,
        fromUtf8(outcome.summary), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

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
    std::string key;
    std::string problem;
    const KeyResult found = findApiKey("", key, problem);
    if (found == KeyResult::Refused) {
        QMessageBox::warning(this, QStringLiteral("株価更新"), fromUtf8(problem));
        return;
    }
    if (found == KeyResult::NotGiven) {
        QMessageBox::information(this, QStringLiteral("株価更新"), fromUtf8(kNoKeyMessage));
        editSettings();
        if (findApiKey("", key, problem) != KeyResult::Found) {
            return;
        }
    }
    const std::string root = a_.paths.root;
    PriceJobDialog dialog(
        this, QStringLiteral("株価更新"),
        [root, &key, &settings](PriceJobProgress& progress) {
            PriceUpdateRequest request;
            request.root = root;
            request.key = key;
            request.settings = settings;
            request.today = tokyoDateOf(static_cast<int64_t>(std::time(nullptr)));
            return zepa::runPriceUpdate(request, progress);
        },
        editSettings);
    dialog.exec();
    key.assign(key.size(), '\0');
    PriceJobOutcome outcome;
    if (!dialog.outcome(outcome)) {
        return;
    }
    if (outcome.reload) {
        if (const DataError e = reloadPrices(a_, *this); e != DataError::None) {
            outcome.summary += "\n" + dataErrorMessage(e, a_.paths.dataDirectory);
        }
    }
    showSummary(this, QStringLiteral("株価更新"), outcome);
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
    PriceJobDialog dialog(
        this, QStringLiteral("株価取り込み"),
        [request](PriceJobProgress& progress) { return zepa::runPriceImport(request, progress); });
    dialog.exec();
    PriceJobOutcome outcome;
    if (!dialog.outcome(outcome)) {
        return;
    }
    if (outcome.reload) {
        if (const DataError e = reloadPrices(a_, *this); e != DataError::None) {
            outcome.summary += "\n" + dataErrorMessage(e, a_.paths.dataDirectory);
        }
    }
    showSummary(this, QStringLiteral("株価取り込み"), outcome);
}

}  // namespace zepa
