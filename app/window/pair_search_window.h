// The ペア検索 window: the screen's settings at the top, 検索 running the screen on a thread of
// its own (a progress bar with the stage, 中止), the funnel line and the result table. Selecting
// a row shows the pair in the main window as a candidate. Not modal; one per main window.
// Everything it decides is the plain code of app/pair_search_*.h.
#pragma once

#include <QDialog>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/app_context.h"
#include "app/pair_search_job.h"
#include "app/shell.h"
#include "app/walkforward_job.h"

class QAbstractSpinBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace zepa {

class PositionDialog;
class WalkForwardWindow;

class PairSearchWindow final : public QDialog {
    Q_OBJECT
  public:
    PairSearchWindow(QWidget* frame, Shell& shell, AppContext& a);
    ~PairSearchWindow() override;

    // 検索: the settings stored, a running screen cancelled, a new one started.
    void startSearch();
    // 中止: the running screen cancelled; its result is never shown.
    void cancelSearch();
    bool searching() const { return job_ != nullptr; }
    // 過去の成績: the settings and 取引期間 / 間隔 read (a refused field said, nothing run), a
    // running screen or walk cancelled, the walk-forward started; done, it opens its window.
    void startWalkForward();
    // 中止 of a walk-forward: nothing opens.
    void cancelWalkForward();
    bool walking() const { return walk_ != nullptr; }
    // チャートに表示: the selected row's pair in the main window again.
    void showSelected();
    // 建玉に追加: the add dialog filled with the selected pair; after its write the new position
    // is shown.
    void addSelectedAsPosition();
    // Where 建玉に追加 runs the add dialog (to fill and press it in a test); left unset, modally.
    void setPositionDialogRunner(std::function<void(PositionDialog&)> runner) {
        runPositionDialog_ = std::move(runner);
    }

    QPushButton* searchButton() const { return search_; }
    QPushButton* walkForwardButton() const { return walkButton_; }
    QSpinBox* tradeDaysBox() const { return tradeDays_; }
    QSpinBox* stepBox() const { return step_; }
    QLabel* stageLabel() const { return stage_; }
    // The 過去の成績 window of the last walk-forward, while it is open.
    WalkForwardWindow* walkForwardWindow() const;
    QTableWidget* table() const { return table_; }
    QLabel* funnelLabel() const { return funnel_; }
    QLabel* amountsLabel() const { return amounts_; }
    QCheckBox* backtestBox() const { return backtest_; }
    QAbstractSpinBox* fieldBox(PairField field) const {
        return fields_[static_cast<size_t>(field)];
    }
    const PairSearchTable& results() const { return results_; }
    // Where Ctrl+S saves (see DataWindow::setSaveChooser).
    void setSaveChooser(std::function<QString(const QString& proposed)> chooser) {
        saveChooser_ = std::move(chooser);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void fillControls(const PairSearchSettings& s);
    // The controls into `s`: "" when every field was taken, else why not (`s`'s fields then
    // unchanged, its choices read).
    std::string readControls(PairSearchSettings& s) const;
    // The table emptied (after 中止, a refusal, or as a new run starts), `note` in the funnel line.
    void clearResults(const QString& note);
    void poll();
    void finish(PairSearchOutcome outcome);
    void finishWalk(WalkForwardJobOutcome outcome);
    // The funnel of the shown table, with the ratio of a walk-forward of its settings.
    void showFunnel();
    // Shows a refusal in a box titled `title`.
    void refuse(const QString& title, const std::string& problem);
    void fillTable(int selectRank);
    // The candidate of the table's row, none for a row out of the table.
    std::optional<PairCandidate> candidateAt(int row) const;
    void rowSelected(int row);
    void copyTable();
    void saveTable();

    Shell& shell_;
    AppContext& a_;
    PairSearchSettings settings_;  // of the run whose results are shown
    PairSearchTable results_;
    int32_t windowStart_ = 0;
    int32_t endDate_ = 0;  // YYYYMMDD of the shown run's screen
    std::unique_ptr<PairSearchJob> job_;
    std::vector<std::unique_ptr<PairSearchJob>> cancelled_;  // ending on their own
    std::unique_ptr<WalkForwardJob> walk_;
    std::vector<std::unique_ptr<WalkForwardJob>> cancelledWalks_;
    std::string funnelText_;  // the shown run's, without the walk-forward's ratio
    std::optional<WalkForwardMark> walkMark_;
    QPointer<WalkForwardWindow> walkWindow_;
    QTimer* poller_ = nullptr;
    bool filling_ = false;
    std::function<QString(const QString&)> saveChooser_;
    std::function<void(PositionDialog&)> runPositionDialog_;

    std::array<QAbstractSpinBox*, kPairFieldCount> fields_{};  // by PairField, in its units
    QComboBox* market_ = nullptr;
    QComboBox* sector_ = nullptr;
    QCheckBox* borrowable_ = nullptr;
    QComboBox* fill_ = nullptr;
    QCheckBox* backtest_ = nullptr;
    QPushButton* search_ = nullptr;
    QPushButton* walkButton_ = nullptr;
    QSpinBox* tradeDays_ = nullptr;
    QSpinBox* step_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* show_ = nullptr;
    QPushButton* add_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* stage_ = nullptr;
    QLabel* funnel_ = nullptr;
    QLabel* amounts_ = nullptr;  // the selected candidate's legs in yen
    QTableWidget* table_ = nullptr;
};

}  // namespace zepa
