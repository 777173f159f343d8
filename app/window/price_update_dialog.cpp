#include "app/window/price_update_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "app/window/qt_values.h"
#include "import/field_values.h"
#include "import/jquants_key.h"
#include "positions/position_request.h"

namespace zepa {

PriceJobDialog::PriceJobDialog(QWidget* parent, const QString& title, Work work,
                               std::function<void()> settings)
    : QDialog(parent), work_(std::move(work)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    label_ = new QLabel(fromUtf8(kPriceJobReadyText), this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 1);
    bar_->setValue(0);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    auto* buttons = new QHBoxLayout();
    startButton_ = new QPushButton(QStringLiteral("開始"), this);
    stopButton_ = new QPushButton(QStringLiteral("中止"), this);
    stopButton_->setEnabled(false);
    buttons->addWidget(startButton_);
    if (settings) {
        auto* settingsButton = new QPushButton(QStringLiteral("詳細設定…"), this);
        buttons->addWidget(settingsButton);
        connect(settingsButton, &QPushButton::clicked, this, [settings] { settings(); });
        connect(startButton_, &QPushButton::clicked, settingsButton,
                [settingsButton] { settingsButton->setEnabled(false); });
    }
    buttons->addWidget(stopButton_);
    layout->addLayout(buttons);
    connect(startButton_, &QPushButton::clicked, this, &PriceJobDialog::start);
    connect(stopButton_, &QPushButton::clicked, this, &PriceJobDialog::stop);
    poller_ = new QTimer(this);
    poller_->setInterval(200);
    connect(poller_, &QTimer::timeout, this, &PriceJobDialog::poll);
    resize(420, sizeHint().height());
    if (!settings) {
        // Nothing to set first: the work starts as the window opens.
        QTimer::singleShot(0, this, &PriceJobDialog::start);
    }
}

PriceJobDialog::~PriceJobDialog() {
    progress_.cancel = true;
    job_.reset();
}

bool PriceJobDialog::outcome(PriceJobOutcome& out) const {
    if (ended_) {
        out = outcome_;
    }
    return ended_;
}

void PriceJobDialog::start() {
    startButton_->setEnabled(false);
    stopButton_->setEnabled(true);
    bar_->setRange(0, 0);  // no scale until the days are known
    label_->setText(fromUtf8(kPriceJobPreparingText));
    job_ = std::make_unique<BackgroundJob<PriceJobOutcome>>([this] { return work_(progress_); });
    poller_->start();
}

void PriceJobDialog::stop() {
    progress_.cancel = true;
    stopButton_->setEnabled(false);
    label_->setText(fromUtf8(kPriceJobStoppingText));
}

void PriceJobDialog::reject() {
    if (job_ != nullptr) {
        stop();
        return;
    }
    QDialog::reject();
}

void PriceJobDialog::poll() {
    const int total = progress_.total;
    if (total > 0) {
        bar_->setRange(0, total);
        bar_->setValue(progress_.done);
        if (const std::string line = priceJobProgressText(progress_); !line.empty()) {
            label_->setText(fromUtf8(line));
        }
    }
    if (job_ != nullptr && job_->finished()) {
        poller_->stop();
        outcome_ = job_->take();
        job_.reset();
        ended_ = true;
        accept();
    }
}

bool runPriceUpdateSettingsDialog(QWidget* parent, PriceUpdateSettings& settings) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("株価更新の詳細設定"));
    auto* form = new QFormLayout(&dialog);
    auto* key = new QLineEdit(&dialog);
    key->setEchoMode(QLineEdit::Password);
    std::string stored;
    std::string problem;
    const bool hasKey = readKeyFile(userKeyFilePath(), stored, problem) == KeyResult::Found;
    key->setPlaceholderText(QString::fromStdString(storedKeyHint(hasKey, stored)));
    stored.assign(stored.size(), '\0');
    auto* rate = new QSpinBox(&dialog);
    rate->setRange(1, 10000);
    rate->setValue(settings.requestsPerMinute);
    rate->setSuffix(QStringLiteral(" 回/分"));
    auto* from = new QLineEdit(&dialog);
    from->setPlaceholderText(QStringLiteral("空欄: 2 年前から"));
    if (settings.firstFillFrom != 0) {
        from->setText(QString::fromStdString(isoDate(settings.firstFillFrom)));
    }
    form->addRow(QStringLiteral("API キー"), key);
    form->addRow(QStringLiteral("ペース（無料プランは 5）"), rate);
    form->addRow(QStringLiteral("初回の取得開始日"), from);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // A first day that does not read is refused (the dialog stays) rather than taken as "two
    // years back".
    while (dialog.exec() == QDialog::Accepted) {
        if (!readPriceUpdateForm(std::to_string(rate->value()), from->text().toStdString(),
                                 settings, problem)) {
            QMessageBox::warning(&dialog, QStringLiteral("株価更新"), fromUtf8(problem));
            continue;
        }
        if (!key->text().isEmpty() && !storeApiKey(key->text().toStdString(), problem)) {
            QMessageBox::warning(parent, QStringLiteral("株価更新"), fromUtf8(problem));
        }
        return true;
    }
    return false;
}

}  // namespace zepa
