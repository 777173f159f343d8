#include "app/window/pair_search_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <limits>

#include "app/frame_handlers.h"
#include "app/pair_candidate.h"
#include "app/walkforward_table.h"
#include "app/window/position_dialogs.h"
#include "app/window/qt_values.h"
#include "app/window/table_save.h"
#include "app/window/walkforward_window.h"
#include "settings/chart_values.h"

namespace zepa {
namespace {

constexpr int kPollMs = 100;

// The boxes take more than their fields do (down to 0, up to ten times the top), so that a value
// out of range stays as typed and is refused with its range when 検索 reads it, rather than put
// back to the previous one as the box leaves the focus.
QSpinBox* intBox(PairField field, const char* suffix = "") {
    const PairFieldRange r = pairFieldRange(field);
    auto* box = new QSpinBox;
    box->setRange(std::min(0, static_cast<int>(r.low)), static_cast<int>(r.high) * 10);
    box->setSuffix(QString::fromUtf8(suffix));
    return box;
}

// A filter's box: its lowest value reads "なし" and turns the filter off.
QDoubleSpinBox* realBox(PairField field, int decimals, double step, const char* suffix = "") {
    const PairFieldRange r = pairFieldRange(field);
    const bool offAtLow = r.filter;
    auto* box = new QDoubleSpinBox;
    box->setRange(offAtLow ? 0.0 : std::min(0.0, r.low * 10), std::min(r.high * 10, 1e9));
    box->setDecimals(decimals);
    box->setSingleStep(step);
    box->setSuffix(QString::fromUtf8(suffix));
    if (offAtLow) {
        box->setSpecialValueText(QStringLiteral("なし"));
    }
    return box;
}

// The boxes of whole fields are QSpinBox, the others QDoubleSpinBox; text that is no number
// of the box is NaN, which every field refuses.
double boxValue(const QAbstractSpinBox* box) {
    if (!box->hasAcceptableInput()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (const auto* real = qobject_cast<const QDoubleSpinBox*>(box)) {
        return real->value();
    }
    return qobject_cast<const QSpinBox*>(box)->value();
}

void setBoxValue(QAbstractSpinBox* box, double v) {
    if (auto* real = qobject_cast<QDoubleSpinBox*>(box)) {
        real->setValue(v);
    } else {
        qobject_cast<QSpinBox*>(box)->setValue(static_cast<int>(v));
    }
}

// 取引期間 and 間隔: as the other whole fields, wider than their ranges so that a value out of
// range is refused by name.
QSpinBox* walkBox(int value) {
    auto* box = new QSpinBox;
    box->setRange(0, 15000);
    box->setSuffix(QStringLiteral(" 日"));
    box->setValue(value);
    return box;
}

QComboBox* choiceBox(std::span<const PairChoice> choices) {
    auto* box = new QComboBox;
    for (const PairChoice& c : choices) {
        box->addItem(QString::fromUtf8(c.label));
    }
    return box;
}

}  // namespace

PairSearchWindow::PairSearchWindow(QWidget* frame, Shell& shell, AppContext& a)
    : QDialog(frame), shell_(shell), a_(a) {
    setWindowTitle(QStringLiteral("ペア検索"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    settings_ = a.store != nullptr ? loadPairSearchSettings(*a.store) : defaultPairSearchSettings();
    fillControls(settings_);
    const WalkForwardFields walkFields =
        a.store != nullptr ? loadWalkForwardFields(*a.store) : WalkForwardFields{};
    tradeDays_->setValue(walkFields.tradeDays);
    step_->setValue(walkFields.step);
    poller_ = new QTimer(this);
    poller_->setInterval(kPollMs);
    connect(poller_, &QTimer::timeout, this, &PairSearchWindow::poll);
    // Where it was last, or beside the chart the first time.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect owner = frame != nullptr ? frame->frameGeometry() : QRect();
    const ScreenRect r = sideWindowPlace(
        a.store != nullptr ? queryChartValue(*a.store, kChartSubkey, kPairSearchPlaceValue) : "",
        ScreenRect{owner.x(), owner.y(), owner.width(), owner.height()},
        ScreenRect{area.x(), area.y(), area.width(), area.height()}, 1000, 640);
    setGeometry(r.left, r.top, r.width, r.height);
}

PairSearchWindow::~PairSearchWindow() {
    // The jobs' destructors cancel and wait for their threads.
    job_.reset();
    cancelled_.clear();
    walk_.reset();
    cancelledWalks_.clear();
}

void PairSearchWindow::buildControls() {
    auto* grid = new QGridLayout;
    int row = 0;
    int column = 0;
    const auto add = [&](const char* label, QWidget* field) {
        grid->addWidget(new QLabel(QString::fromUtf8(label)), row, column * 2);
        grid->addWidget(field, row, column * 2 + 1);
        if (++column == 4) {
            column = 0;
            ++row;
        }
    };
    const auto number = [&](const char* label, PairField field, QAbstractSpinBox* box) {
        add(label, fields_[static_cast<size_t>(field)] = box);
    };
    number("期間", PairField::Days, intBox(PairField::Days, " 日"));
    number("短期", PairField::ShortDays, intBox(PairField::ShortDays, " 日"));
    number("レシオ期間", PairField::RatioPeriod, intBox(PairField::RatioPeriod, " 本"));
    add("市場", market_ = choiceBox(kPairMarketChoices));
    add("業種", sector_ = choiceBox(kPairSectorChoices));
    borrowable_ = new QCheckBox(QStringLiteral("両方とも貸借"));
    add("", borrowable_);
    number("売買代金 ≧", PairField::MinTurnover, realBox(PairField::MinTurnover, 0, 10, " 百万円"));
    number("株価 ≧", PairField::MinPrice, realBox(PairField::MinPrice, 0, 100, " 円"));
    number("相関 ≧", PairField::MinCorrelation, realBox(PairField::MinCorrelation, 2, 0.05));
    number("相関(短期) ≧", PairField::MinShortCorrelation,
           realBox(PairField::MinShortCorrelation, 2, 0.05));
    number("p ≦", PairField::MaxP, realBox(PairField::MaxP, 3, 0.01));
    number("q ≦", PairField::MaxQ, realBox(PairField::MaxQ, 3, 0.01));
    number("半減期 ≧", PairField::MinHalfLife, realBox(PairField::MinHalfLife, 1, 1, " 日"));
    number("半減期 ≦", PairField::MaxHalfLife, realBox(PairField::MaxHalfLife, 1, 1, " 日"));
    number("|Z| ≧", PairField::MinAbsZ, realBox(PairField::MinAbsZ, 1, 0.1));
    backtest_ = new QCheckBox(QStringLiteral("検証も計算"));
    add("", backtest_);
    number("仕掛け |Z| ≧", PairField::Entry, realBox(PairField::Entry, 1, 0.1));
    number("決済 Z", PairField::Exit, realBox(PairField::Exit, 1, 0.1));
    number("損切り |Z| ≧", PairField::Stop, realBox(PairField::Stop, 1, 0.1));
    number("最長保有", PairField::MaxDays, intBox(PairField::MaxDays, " 日"));
    number("1銘柄の金額", PairField::Amount, realBox(PairField::Amount, 0, 10, " 万円"));
    add("約定", fill_ = choiceBox(kPairFillChoices));
    number("手数料", PairField::Commission, realBox(PairField::Commission, 3, 0.01, " %"));
    number("買方金利", PairField::BuyRate, realBox(PairField::BuyRate, 3, 0.1, " %/年"));
    number("貸株料", PairField::BorrowRate, realBox(PairField::BorrowRate, 3, 0.1, " %/年"));
    add("取引期間", tradeDays_ = walkBox(125));
    add("間隔", step_ = walkBox(125));

    search_ = new QPushButton(QStringLiteral("検索"));
    search_->setDefault(true);
    search_->setAutoDefault(true);
    walkButton_ = new QPushButton(QStringLiteral("過去の成績"));
    walkButton_->setAutoDefault(false);
    walkButton_->setToolTip(
        QStringLiteral("この条件で過去の各時点に選んだ組を、その後の取引期間に売買した成績"));
    cancel_ = new QPushButton(QStringLiteral("中止"));
    cancel_->setEnabled(false);
    show_ = new QPushButton(QStringLiteral("チャートに表示"));
    show_->setAutoDefault(false);
    add_ = new QPushButton(QStringLiteral("建玉に追加"));
    add_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    progress_ = new QProgressBar;
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    stage_ = new QLabel;
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(search_);
    buttons->addWidget(walkButton_);
    buttons->addWidget(cancel_);
    buttons->addWidget(progress_, 1);
    buttons->addWidget(stage_);
    buttons->addWidget(show_);
    buttons->addWidget(add_);
    connect(search_, &QPushButton::clicked, this, &PairSearchWindow::startSearch);
    connect(walkButton_, &QPushButton::clicked, this, &PairSearchWindow::startWalkForward);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (walk_ != nullptr) {
            cancelWalkForward();
        } else {
            cancelSearch();
        }
    });
    connect(show_, &QPushButton::clicked, this, &PairSearchWindow::showSelected);
    connect(add_, &QPushButton::clicked, this, &PairSearchWindow::addSelectedAsPosition);

    funnel_ = new QLabel;
    funnel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    amounts_ = new QLabel;
    amounts_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    table_ = new QTableWidget;
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->installEventFilter(this);
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        const std::vector<PairColumn> columns = pairColumns(results_.withBacktest);
        if (section < 0 || section >= static_cast<int>(columns.size())) {
            return;
        }
        const int current = table_->currentRow();
        const int rank = current >= 0 && current < static_cast<int>(results_.rows.size())
                             ? results_.rows[static_cast<size_t>(current)].rank
                             : -1;
        clickPairHeader(results_, columns[static_cast<size_t>(section)]);
        fillTable(rank);
    });
    connect(table_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previous, int) {
                if (!filling_ && row != previous) {
                    rowSelected(row);
                }
            });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(funnel_);
    layout->addWidget(amounts_);
    layout->addWidget(table_, 1);
}

void PairSearchWindow::fillControls(const PairSearchSettings& s) {
    for (int f = 0; f < kPairFieldCount; ++f) {
        // A filter that is off shows 0, the box's least value: "なし".
        setBoxValue(fields_[static_cast<size_t>(f)], pairFieldValue(s, static_cast<PairField>(f)));
    }
    market_->setCurrentIndex(pairChoiceIndex(kPairMarketChoices, s.marketCode));
    sector_->setCurrentIndex(pairChoiceIndex(kPairSectorChoices, s.screen.sector));
    borrowable_->setChecked(s.screen.borrowable);
    backtest_->setChecked(s.withBacktest);
    fill_->setCurrentIndex(pairChoiceIndex(kPairFillChoices, static_cast<int>(s.rule.fill)));
}

std::string PairSearchWindow::readControls(PairSearchSettings& s) const {
    s.marketCode = pairChoiceValue(kPairMarketChoices, market_->currentIndex());
    s.screen.sector = pairChoiceValue(kPairSectorChoices, sector_->currentIndex());
    s.screen.borrowable = borrowable_->isChecked();
    s.withBacktest = backtest_->isChecked();
    s.rule.fill =
        static_cast<BacktestFill>(pairChoiceValue(kPairFillChoices, fill_->currentIndex()));
    std::array<std::optional<double>, kPairFieldCount> shown;
    for (int f = 0; f < kPairFieldCount; ++f) {
        shown[static_cast<size_t>(f)] = boxValue(fields_[static_cast<size_t>(f)]);
    }
    return readPairFields(s, shown);
}

void PairSearchWindow::clearResults(const QString& note) {
    results_ = PairSearchTable{};
    endDate_ = 0;
    funnelText_.clear();
    fillTable(-1);
    funnel_->setText(note);
    amounts_->clear();
}

void PairSearchWindow::startSearch() {
    PairSearchSettings s = settings_;
    std::string problem = readControls(s);
    if (problem.empty()) {
        problem = pairSearchSettingsProblem(s);
    }
    // Nothing runs and no table of other settings stays under the ones on show.
    cancelWalkForward();
    cancelSearch();
    if (!problem.empty()) {
        clearResults(QString::fromStdString(problem));
        refuse(windowTitle(), problem);
        return;
    }
    if (a_.store != nullptr) {
        savePairSearchSettings(*a_.store, s);
    }
    clearResults({});
    job_ = std::make_unique<PairSearchJob>(a_.paths, s);
    settings_ = s;
    cancel_->setEnabled(true);
    progress_->setValue(0);
    stage_->setText(QString::fromUtf8(pairSearchStageName(PairSearchStage::Loading).data()));
    poller_->start();
}

void PairSearchWindow::cancelSearch() {
    if (job_ != nullptr) {
        job_->cancel();
        cancelled_.push_back(std::move(job_));
        clearResults(QStringLiteral("中止しました"));
    }
    cancel_->setEnabled(false);
    progress_->setValue(0);
    stage_->clear();
}

void PairSearchWindow::refuse(const QString& title, const std::string& problem) {
    QMessageBox box(QMessageBox::Warning, title, QString::fromStdString(problem), QMessageBox::Ok,
                    this);
    box.exec();
}

void PairSearchWindow::startWalkForward() {
    PairSearchSettings s = settings_;
    WalkForwardFields fields;
    std::string problem = readControls(s);
    if (problem.empty()) {
        problem =
            acceptWalkForwardStart(s, fields, boxValue(tradeDays_), boxValue(step_), a_.store);
    }
    cancelWalkForward();
    if (!problem.empty()) {
        stage_->setText(QString::fromStdString(problem));
        refuse(fromUtf8(kWalkForwardTitle), problem);
        return;
    }
    cancelSearch();
    walk_ = std::make_unique<WalkForwardJob>(a_.paths, s, fields);
    cancel_->setEnabled(true);
    progress_->setValue(0);
    stage_->setText(fromUtf8(walkForwardProgressText(walk_->progress())));
    poller_->start();
}

void PairSearchWindow::cancelWalkForward() {
    if (walk_ == nullptr) {
        return;
    }
    walk_->cancel();
    cancelledWalks_.push_back(std::move(walk_));
    cancel_->setEnabled(job_ != nullptr);
    progress_->setValue(0);
    stage_->setText(fromUtf8(kWalkForwardCancelledText));
}

void PairSearchWindow::finishWalk(WalkForwardJobOutcome outcome) {
    cancel_->setEnabled(false);
    progress_->setValue(0);
    stage_->clear();
    if (outcome.result == WalkForwardJobResult::Refused) {
        stage_->setText(QString::fromStdString(outcome.message));
        refuse(fromUtf8(kWalkForwardTitle), outcome.message);
        return;
    }
    if (outcome.result != WalkForwardJobResult::Done) {
        return;
    }
    walkMark_ = WalkForwardMark{outcome.settings, walkForwardShownRatio(outcome.walk)};
    showFunnel();
    if (walkWindow_ != nullptr) {
        walkWindow_->close();
    }
    // Owned by the main window, so that it stays open when ペア検索 closes.
    auto* window =
        new WalkForwardWindow(parentWidget() != nullptr ? parentWidget() : this, outcome);
    walkWindow_ = window;
    window->show();
    window->raise();
    window->activateWindow();
}

WalkForwardWindow* PairSearchWindow::walkForwardWindow() const {
    return walkWindow_;
}

void PairSearchWindow::showFunnel() {
    if (!funnelText_.empty()) {
        funnel_->setText(fromUtf8(funnelWithWalkForward(funnelText_, settings_, walkMark_)));
    }
}

void PairSearchWindow::poll() {
    // Cancelled jobs end at their next check; their threads are joined once they have.
    std::erase_if(cancelled_,
                  [](const std::unique_ptr<PairSearchJob>& j) { return j->finished(); });
    std::erase_if(cancelledWalks_,
                  [](const std::unique_ptr<WalkForwardJob>& j) { return j->finished(); });
    if (walk_ != nullptr) {
        const WalkForwardProgress& p = walk_->progress();
        progress_->setValue(walkForwardPermille(p));
        stage_->setText(fromUtf8(walkForwardProgressText(p)));
        if (walk_->finished()) {
            WalkForwardJobOutcome outcome = walk_->take();
            walk_.reset();
            finishWalk(std::move(outcome));
        }
        return;
    }
    if (job_ == nullptr) {
        if (cancelled_.empty() && cancelledWalks_.empty()) {
            poller_->stop();
        }
        return;
    }
    const PairSearchProgress& p = job_->progress();
    progress_->setValue(pairSearchPermille(p));
    stage_->setText(QString::fromUtf8(
        pairSearchStageName(static_cast<PairSearchStage>(p.stage.load())).data()));
    if (job_->finished()) {
        PairSearchOutcome outcome = job_->take();
        job_.reset();
        finish(std::move(outcome));
    }
}

void PairSearchWindow::finish(PairSearchOutcome outcome) {
    cancel_->setEnabled(false);
    stage_->clear();
    progress_->setValue(0);
    if (outcome.result == PairSearchResult::Refused) {
        clearResults(QString::fromStdString(outcome.message));
        return;
    }
    if (outcome.result != PairSearchResult::Done) {
        return;
    }
    results_ = std::move(outcome.table);
    windowStart_ = outcome.windowStart;
    endDate_ = outcome.endDate;
    funnelText_ = outcome.funnel;
    showFunnel();
    fillTable(results_.rows.empty() ? -1 : results_.rows.front().rank);
    if (!results_.rows.empty()) {
        table_->setFocus();
        rowSelected(table_->currentRow());
    }
}

void PairSearchWindow::fillTable(int selectRank) {
    filling_ = true;
    const std::vector<PairColumn> columns = pairColumns(results_.withBacktest);
    table_->clear();
    table_->setColumnCount(static_cast<int>(columns.size()));
    table_->setRowCount(static_cast<int>(results_.rows.size()));
    QStringList headers;
    for (PairColumn c : columns) {
        // A header of two parts ("検証(選定期間) 取引回数(…)") on two lines keeps its column
        // narrow.
        headers << QString::fromStdString(pairColumnHeader(results_, c))
                       .replace(QLatin1Char(' '), QLatin1Char('\n'));
    }
    table_->setHorizontalHeaderLabels(headers);
    int selected = -1;
    for (size_t r = 0; r < results_.rows.size(); ++r) {
        const PairSearchRow& row = results_.rows[r];
        for (size_t c = 0; c < columns.size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(pairCell(row, columns[c])));
            item->setTextAlignment(pairColumnIsText(columns[c])
                                       ? Qt::AlignLeft | Qt::AlignVCenter
                                       : Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
        if (row.rank == selectRank) {
            selected = static_cast<int>(r);
        }
    }
    table_->resizeColumnsToContents();
    if (selected >= 0) {
        table_->setCurrentCell(selected, 0);
    }
    filling_ = false;
}

std::optional<PairCandidate> PairSearchWindow::candidateAt(int row) const {
    if (row < 0 || row >= static_cast<int>(results_.rows.size())) {
        return std::nullopt;
    }
    return pairCandidateOf(results_.rows[static_cast<size_t>(row)], settings_, windowStart_);
}

void PairSearchWindow::rowSelected(int row) {
    if (std::optional<PairCandidate> candidate = candidateAt(row)) {
        amounts_->setText(QString::fromStdString(
            candidateAmountsText(results_.rows[static_cast<size_t>(row)], *candidate)));
        showCandidate(a_, shell_, std::move(*candidate));
    }
}

void PairSearchWindow::showSelected() {
    rowSelected(table_->currentRow());
}

void PairSearchWindow::addSelectedAsPosition() {
    const std::optional<PairCandidate> candidate = candidateAt(table_->currentRow());
    if (!candidate) {
        return;
    }
    const PositionForm form = candidatePositionForm(a_, *candidate);
    PositionDialog dialog(this, a_, -1, &form);
    if (runPositionDialog_) {
        runPositionDialog_(dialog);
    } else {
        dialog.exec();
    }
    if (dialog.written() >= 0) {
        leaveCandidate(a_);
        showPositionsAfterWrite(a_, shell_, dialog.written());
    }
}

bool PairSearchWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter on the table brings its pair back to the chart rather than searching again.
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            showSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PairSearchWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copyTable();
        return;
    }
    if (event->matches(QKeySequence::Save)) {
        saveTable();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PairSearchWindow::copyTable() {
    QApplication::clipboard()->setText(QString::fromStdString(pairTableTsv(results_)));
}

void PairSearchWindow::saveTable() {
    saveTableAs(this, QString::fromStdString(pairTableFileName(endDate_)), saveChooser_,
                pairTableCsv(results_));
}

void PairSearchWindow::closeEvent(QCloseEvent* event) {
    // The choices made are there when the window opens again, searched with or not; fields
    // that would be refused keep what was stored.
    if (a_.store != nullptr) {
        PairSearchSettings s = settings_;
        readControls(s);
        savePairSearchSettings(*a_.store, s);
        WalkForwardFields fields = loadWalkForwardFields(*a_.store);
        if (readWalkForwardFields(fields, boxValue(tradeDays_), boxValue(step_)).empty()) {
            saveWalkForwardFields(*a_.store, fields);
        }
        const QRect g = geometry();
        storeChartValue(*a_.store, kChartSubkey, kPairSearchPlaceValue,
                        formatSideWindowPlace(ScreenRect{g.x(), g.y(), g.width(), g.height()}));
    }
    cancelWalkForward();
    cancelSearch();
    QDialog::closeEvent(event);
}

}  // namespace zepa
