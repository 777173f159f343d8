// 株価更新 and 株価取り込み… in the Qt shell: a small window with a progress bar and 中止 over a
// job on its own thread (app/price_update/), then the summary; 株価更新's 詳細設定 takes the API
// key (shown as dots, kept in the per-user key file) and the pace.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "app/price_update/background_job.h"
#include "app/price_update/price_menu.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zepa {

class PriceJobDialog : public QDialog {
    Q_OBJECT
  public:
    using Work = PriceJobWork;
    // `settings`, when given, opens 詳細設定 from the window before the job starts.
    PriceJobDialog(QWidget* parent, const QString& title, Work work,
                   std::function<void()> settings = {});
    ~PriceJobDialog() override;

    // Runs the window; the outcome once the job has ended (Cancelled before a start: nothing).
    bool outcome(PriceJobOutcome& out) const;

    // Esc and the close box while a job runs act as 中止: the window stays until the job ends,
    // so that what it wrote is reloaded and summed up.
    void reject() override;

  private:
    void start();
    void poll();
    void stop();

    Work work_;
    PriceJobProgress progress_;
    std::unique_ptr<BackgroundJob<PriceJobOutcome>> job_;
    PriceJobOutcome outcome_;
    bool ended_ = false;
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QTimer* poller_ = nullptr;
};

// 詳細設定 of 株価更新: the key (stored on OK when changed), the pace and the first fill's day.
// False when cancelled.
bool runPriceUpdateSettingsDialog(QWidget* parent, PriceUpdateSettings& settings);

}  // namespace zepa
