#include "pair_search_window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "app/frame_handlers.h"
#include "app/pair_candidate.h"
#include "app/pair_search_job.h"
#include "app/position_forms.h"
#include "app/walkforward_job.h"
#include "app/walkforward_table.h"
#include "position_dialogs.h"
#include "report_list.h"
#include "settings/chart_values.h"
#include "table_output.h"
#include "walkforward_window.h"
#include "wide_text.h"
#include "window_object.h"

namespace zepa::win32 {
namespace {

constexpr wchar_t kClassName[] = L"ZEPA_PAIRSEARCH";
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 100;
constexpr int kSearchId = 10;
constexpr int kCancelId = 11;
constexpr int kShowId = 12;
constexpr int kBacktestId = 13;
constexpr int kListId = 14;
constexpr int kAddId = 15;
constexpr int kMarketId = 16;
constexpr int kSectorId = 17;
constexpr int kFillId = 18;
constexpr int kBorrowableId = 19;
constexpr int kWalkId = 20;
constexpr int kTradeDaysId = 21;
constexpr int kStepId = 22;
constexpr int kEditBase = 100;  // the settings' edit boxes
constexpr int kRowHeight = 24;
constexpr int kMargin = 8;
constexpr int kLabelWidth = 100;
constexpr int kEditWidth = 56;
constexpr int kChoiceWidth = 96;
constexpr int kCheckWidth = 120;

// The number fields' labels, in PairField's order.
const wchar_t* const kFieldLabels[] = {
    L"期間 日",       L"短期 日",    L"レシオ期間", L"売買代金≧ 百万", L"株価≧ 円",  L"相関≧",
    L"相関(短期)≧",   L"p≦",         L"q≦",         L"半減期≧",        L"半減期≦",   L"|Z|≧",
    L"仕掛け|Z|≧",    L"決済Z",      L"損切り|Z|≧", L"最長保有 日",    L"金額 万円", L"手数料 %",
    L"買方金利 %/年", L"貸株料 %/年"};
static_assert(std::size(kFieldLabels) == kPairFieldCount);

std::wstring numberText(double v) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%g", v);
    return text;
}

class PairSearchWindow {
  public:
    PairSearchWindow(HINSTANCE instance, AppContext& a, Shell& shell)
        : instance_(instance),
          a_(a),
          shell_(shell),
          settings_(a.store != nullptr ? loadPairSearchSettings(*a.store)
                                       : defaultPairSearchSettings()),
          walkFields_(a.store != nullptr ? loadWalkForwardFields(*a.store) : WalkForwardFields{}) {}

    void attach(HWND window) { window_ = window; }

    LRESULT handle(UINT message, WPARAM w, LPARAM l) {
        switch (message) {
            case WM_CREATE:
                createControls();
                return 0;
            case WM_SIZE:
                layout(LOWORD(l), HIWORD(l));
                return 0;
            case WM_COMMAND:
                onCommand(LOWORD(w));
                return 0;
            case WM_NOTIFY:
                return onNotify(*reinterpret_cast<NMHDR*>(l));
            case WM_TIMER:
                poll();
                return 0;
            case WM_ACTIVATE:
                // As a dialog does: the control that had the focus has it again.
                if (LOWORD(w) == WA_INACTIVE) {
                    HWND focus = GetFocus();
                    lastFocus_ = focus != nullptr && IsChild(window_, focus) ? focus : lastFocus_;
                } else {
                    SetFocus(lastFocus_ != nullptr ? lastFocus_ : edits_[0]);
                }
                return 0;
            case WM_CLOSE:
                DestroyWindow(window_);
                return 0;
            case WM_DESTROY: {
                // Also when the chart's window ends the program with this one open: an owned
                // window gets no WM_CLOSE then, and its controls are still there to be read.
                storeChoices();
                KillTimer(window_, kPollTimer);
                RECT r{};
                if (a_.store != nullptr && GetWindowRect(window_, &r)) {
                    storeChartValue(*a_.store, kChartSubkey, kPairSearchPlaceValue,
                                    formatSideWindowPlace(ScreenRect{
                                        r.left, r.top, r.right - r.left, r.bottom - r.top}));
                }
                return 0;
            }
            default:
                return DefWindowProcW(window_, message, w, l);
        }
    }

  private:
    HWND child(const wchar_t* type, const wchar_t* text, DWORD style, int id) {
        HWND h =
            CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     TRUE);
        return h;
    }

    HWND choice(std::span<const PairChoice> choices, int value, int id) {
        HWND h = child(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, id);
        for (const PairChoice& c : choices) {
            SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(c.label).c_str()));
        }
        SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(pairChoiceIndex(choices, value)), 0);
        return h;
    }

    HWND check(const wchar_t* text, bool on, int id) {
        HWND h = child(L"BUTTON", text, BS_AUTOCHECKBOX | WS_TABSTOP, id);
        SendMessageW(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        return h;
    }

    // The controls in the order of the other window's grid: the screen, then the rule.
    void createControls() {
        const auto labelled = [&](const wchar_t* label, HWND control, int width) {
            cells_.push_back({child(L"STATIC", label, SS_RIGHT, -1), control, width});
        };
        // The number fields from `first` to `last`; one that is off shows 0, which reads back
        // as off.
        const auto edits = [&](PairField first, PairField last) {
            for (int f = static_cast<int>(first); f <= static_cast<int>(last); ++f) {
                edits_[f] =
                    child(L"EDIT",
                          numberText(pairFieldValue(settings_, static_cast<PairField>(f))).c_str(),
                          WS_BORDER | WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL, kEditBase + f);
                labelled(kFieldLabels[f], edits_[f], kEditWidth);
            }
        };
        edits(PairField::Days, PairField::RatioPeriod);
        market_ = choice(kPairMarketChoices, settings_.marketCode, kMarketId);
        labelled(L"市場", market_, kChoiceWidth);
        sector_ = choice(kPairSectorChoices, settings_.screen.sector, kSectorId);
        labelled(L"業種", sector_, kChoiceWidth);
        borrowable_ = check(L"両方とも貸借", settings_.screen.borrowable, kBorrowableId);
        cells_.push_back({nullptr, borrowable_, kCheckWidth});
        edits(PairField::MinTurnover, PairField::MinAbsZ);
        backtest_ = check(L"検証も計算", settings_.withBacktest, kBacktestId);
        cells_.push_back({nullptr, backtest_, kCheckWidth});
        edits(PairField::Entry, PairField::Amount);
        fill_ = choice(kPairFillChoices, static_cast<int>(settings_.rule.fill), kFillId);
        labelled(L"約定", fill_, kChoiceWidth);
        edits(PairField::Commission, PairField::BorrowRate);
        const auto walkEdit = [&](const wchar_t* text, int32_t value, int id) {
            HWND h = child(L"EDIT", std::to_wstring(value).c_str(),
                           WS_BORDER | WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL, id);
            labelled(text, h, kEditWidth);
            return h;
        };
        tradeDays_ = walkEdit(L"取引期間 日", walkFields_.tradeDays, kTradeDaysId);
        step_ = walkEdit(L"間隔 日", walkFields_.step, kStepId);
        search_ = child(L"BUTTON", L"検索", BS_DEFPUSHBUTTON | WS_TABSTOP, kSearchId);
        walk_ = child(L"BUTTON", L"過去の成績", BS_PUSHBUTTON | WS_TABSTOP, kWalkId);
        cancel_ = child(L"BUTTON", L"中止", BS_PUSHBUTTON | WS_TABSTOP, kCancelId);
        EnableWindow(cancel_, FALSE);
        show_ = child(L"BUTTON", L"チャートに表示", BS_PUSHBUTTON | WS_TABSTOP, kShowId);
        add_ = child(L"BUTTON", L"建玉に追加", BS_PUSHBUTTON | WS_TABSTOP, kAddId);
        progress_ = child(PROGRESS_CLASSW, L"", 0, -1);
        SendMessageW(progress_, PBM_SETRANGE32, 0, 1000);
        stage_ = child(L"STATIC", L"", SS_LEFT, -1);
        funnel_ = child(L"STATIC", L"", SS_LEFT, -1);
        amounts_ = child(L"STATIC", L"", SS_LEFT, -1);
        list_ =
            child(WC_LISTVIEWW, L"",
                  WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, kListId);
        ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    }

    // The settings in a grid of as many columns as the width holds, in reading order.
    void layout(int width, int height) {
        const int column = kLabelWidth + kChoiceWidth + kMargin;
        const int columns = std::max(1, (width - kMargin) / column);
        int y = kMargin;
        for (size_t i = 0; i < cells_.size(); ++i) {
            const Cell& c = cells_[i];
            const int x = kMargin + static_cast<int>(i % static_cast<size_t>(columns)) * column;
            y = kMargin + static_cast<int>(i / static_cast<size_t>(columns)) * kRowHeight;
            if (c.label != nullptr) {
                MoveWindow(c.label, x, y + 3, kLabelWidth - 4, kRowHeight - 6, TRUE);
            }
            const int left = c.label != nullptr ? x + kLabelWidth : x + kLabelWidth / 2;
            // A drop-down list's height includes its open list.
            const bool dropDown =
                c.control == market_ || c.control == sector_ || c.control == fill_;
            MoveWindow(c.control, left, y, c.width, dropDown ? 200 : kRowHeight - 4, TRUE);
        }
        y += kRowHeight + 4;
        MoveWindow(search_, kMargin, y, 80, kRowHeight, TRUE);
        MoveWindow(walk_, kMargin + 88, y, 96, kRowHeight, TRUE);
        MoveWindow(cancel_, kMargin + 192, y, 80, kRowHeight, TRUE);
        MoveWindow(progress_, kMargin + 280, y + 4, 160, kRowHeight - 8, TRUE);
        MoveWindow(stage_, kMargin + 448, y + 4, 200, kRowHeight - 8, TRUE);
        const int buttons = std::max(kMargin + 656, width - kMargin - 232);
        MoveWindow(show_, buttons, y, 120, kRowHeight, TRUE);
        MoveWindow(add_, buttons + 128, y, 104, kRowHeight, TRUE);
        y += kRowHeight + 4;
        MoveWindow(funnel_, kMargin, y, width - 2 * kMargin, kRowHeight - 6, TRUE);
        y += kRowHeight - 4;
        MoveWindow(amounts_, kMargin, y, width - 2 * kMargin, kRowHeight - 6, TRUE);
        y += kRowHeight;
        MoveWindow(list_, kMargin, y, width - 2 * kMargin, std::max(0, height - y - kMargin), TRUE);
    }

    // The edit's number: nullopt when it is empty, NaN (refused by every field) when it holds
    // anything but one number.
    std::optional<double> editValue(HWND edit) {
        wchar_t text[64] = {};
        GetWindowTextW(edit, text, 64);
        const wchar_t* start = text;
        while (*start == L' ') {
            ++start;
        }
        if (*start == L'\0') {
            return std::nullopt;
        }
        wchar_t* end = nullptr;
        const double v = std::wcstod(start, &end);
        while (end != nullptr && *end == L' ') {
            ++end;
        }
        return end != start && *end == L'\0' ? v : std::numeric_limits<double>::quiet_NaN();
    }

    // The controls into `s`: "" when every field was taken, else why not (`s`'s fields then
    // unchanged, its choices read).
    std::string readControls(PairSearchSettings& s) {
        const auto chosen = [](HWND box, std::span<const PairChoice> choices) {
            return pairChoiceValue(choices,
                                   static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0)));
        };
        s.marketCode = chosen(market_, kPairMarketChoices);
        s.screen.sector = chosen(sector_, kPairSectorChoices);
        s.screen.borrowable = SendMessageW(borrowable_, BM_GETCHECK, 0, 0) == BST_CHECKED;
        s.rule.fill = static_cast<BacktestFill>(chosen(fill_, kPairFillChoices));
        s.withBacktest = SendMessageW(backtest_, BM_GETCHECK, 0, 0) == BST_CHECKED;
        std::array<std::optional<double>, kPairFieldCount> shown;
        for (int f = 0; f < kPairFieldCount; ++f) {
            shown[static_cast<size_t>(f)] = editValue(edits_[f]);
        }
        return readPairFields(s, shown);
    }

    // The table emptied (after 中止, a refusal, or as a new run starts), `note` in the funnel
    // line.
    void clearResults(const std::string& note) {
        results_ = PairSearchTable{};
        endDate_ = 0;
        funnelText_.clear();
        fillList(-1);
        SetWindowTextW(funnel_, wide(note).c_str());
        SetWindowTextW(amounts_, L"");
    }

    // The choices made are there when the window opens again, searched with or not; fields
    // that would be refused keep what was stored.
    void storeChoices() {
        if (a_.store != nullptr) {
            PairSearchSettings s = settings_;
            readControls(s);
            savePairSearchSettings(*a_.store, s);
            WalkForwardFields fields = walkFields_;
            if (readWalkForwardFields(fields, editValue(tradeDays_), editValue(step_)).empty()) {
                saveWalkForwardFields(*a_.store, fields);
            }
        }
    }

    void onCommand(int id) {
        switch (id) {
            case IDOK:
                // Enter: on the table it brings the pair back, elsewhere it searches.
                if (GetFocus() == list_) {
                    showSelected();
                } else {
                    startSearch();
                }
                break;
            case IDCANCEL:
                DestroyWindow(window_);
                break;
            case kSearchId:
                startSearch();
                break;
            case kWalkId:
                startWalkForward();
                break;
            case kCancelId:
                if (walkJob_ != nullptr) {
                    cancelWalkForward();
                } else {
                    cancelSearch();
                }
                break;
            case kShowId:
                showSelected();
                break;
            case kAddId:
                addSelectedAsPosition();
                break;
            default:
                break;
        }
    }

    LRESULT onNotify(const NMHDR& n) {
        if (n.hwndFrom != list_) {
            return 0;
        }
        if (n.code == LVN_COLUMNCLICK) {
            const auto& column = reinterpret_cast<const NMLISTVIEW&>(n);
            const std::vector<PairColumn> columns = pairColumns(results_.withBacktest);
            if (column.iSubItem >= 0 && column.iSubItem < static_cast<int>(columns.size())) {
                const int selected = selectedRow();
                const int rank =
                    selected >= 0 ? results_.rows[static_cast<size_t>(selected)].rank : -1;
                clickPairHeader(results_, columns[static_cast<size_t>(column.iSubItem)]);
                fillList(rank);
            }
        } else if (n.code == LVN_ITEMCHANGED && !filling_) {
            const auto& item = reinterpret_cast<const NMLISTVIEW&>(n);
            if ((item.uChanged & LVIF_STATE) != 0 && (item.uNewState & LVIS_SELECTED) != 0 &&
                (item.uOldState & LVIS_SELECTED) == 0) {
                rowSelected(item.iItem);
            }
        } else if (n.code == NM_RETURN) {
            showSelected();
        } else if (n.code == LVN_KEYDOWN && GetKeyState(VK_CONTROL) < 0) {
            const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(n).wVKey;
            if (key == 'C') {
                copyTextToClipboard(window_, pairTableTsv(results_));
            } else if (key == 'S') {
                saveCsvAs(window_, pairTableFileName(endDate_), pairTableCsv(results_));
            }
        }
        return 0;
    }

    void startSearch() {
        PairSearchSettings s = settings_;
        std::string problem = readControls(s);
        if (problem.empty()) {
            problem = pairSearchSettingsProblem(s);
        }
        // Nothing runs and no table of other settings stays under the ones on show.
        cancelWalkForward();
        cancelSearch();
        if (!problem.empty()) {
            clearResults(problem);
            MessageBoxW(window_, wide(problem).c_str(), L"ペア検索", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        if (a_.store != nullptr) {
            savePairSearchSettings(*a_.store, s);
        }
        clearResults({});
        settings_ = s;
        job_ = std::make_unique<PairSearchJob>(a_.paths, s);
        EnableWindow(cancel_, TRUE);
        SetTimer(window_, kPollTimer, kPollMs, nullptr);
    }

    // 過去の成績: the settings and 取引期間 / 間隔 read (a refused field said, nothing run), a
    // running screen or walk cancelled, the walk-forward started; done, it opens its window.
    void startWalkForward() {
        PairSearchSettings s = settings_;
        WalkForwardFields fields = walkFields_;
        std::string problem = readControls(s);
        if (problem.empty()) {
            problem = acceptWalkForwardStart(s, fields, editValue(tradeDays_), editValue(step_),
                                             a_.store);
        }
        cancelWalkForward();
        if (!problem.empty()) {
            SetWindowTextW(stage_, wide(problem).c_str());
            MessageBoxW(window_, wide(problem).c_str(), wide(kWalkForwardTitle).c_str(),
                        MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        cancelSearch();
        walkFields_ = fields;
        walkJob_ = std::make_unique<WalkForwardJob>(a_.paths, s, fields);
        EnableWindow(cancel_, TRUE);
        SetWindowTextW(stage_, wide(walkForwardProgressText(walkJob_->progress())).c_str());
        SetTimer(window_, kPollTimer, kPollMs, nullptr);
    }

    // 中止 of a walk-forward: nothing opens.
    void cancelWalkForward() {
        if (walkJob_ == nullptr) {
            return;
        }
        walkJob_->cancel();
        cancelledWalks_.push_back(std::move(walkJob_));
        EnableWindow(cancel_, job_ != nullptr);
        SendMessageW(progress_, PBM_SETPOS, 0, 0);
        SetWindowTextW(stage_, wide(kWalkForwardCancelledText).c_str());
    }

    void finishWalk(WalkForwardJobOutcome outcome) {
        EnableWindow(cancel_, FALSE);
        SendMessageW(progress_, PBM_SETPOS, 0, 0);
        SetWindowTextW(stage_, L"");
        if (outcome.result == WalkForwardJobResult::Refused) {
            SetWindowTextW(stage_, wide(outcome.message).c_str());
            MessageBoxW(window_, wide(outcome.message).c_str(), wide(kWalkForwardTitle).c_str(),
                        MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        if (outcome.result != WalkForwardJobResult::Done) {
            return;
        }
        walkMark_ = WalkForwardMark{outcome.settings, walkForwardShownRatio(outcome.walk)};
        showFunnel();
        // Owned by the main window, so that it stays open when ペア検索 closes.
        HWND owner = GetWindow(window_, GW_OWNER);
        openWalkForwardWindow(owner != nullptr ? owner : window_, instance_, outcome);
    }

    // The funnel of the shown table, with the ratio of a walk-forward of its settings.
    void showFunnel() {
        if (!funnelText_.empty()) {
            SetWindowTextW(funnel_,
                           wide(funnelWithWalkForward(funnelText_, settings_, walkMark_)).c_str());
        }
    }

    void cancelSearch() {
        if (job_ != nullptr) {
            job_->cancel();
            cancelled_.push_back(std::move(job_));
            clearResults("中止しました");
        }
        EnableWindow(cancel_, FALSE);
        SendMessageW(progress_, PBM_SETPOS, 0, 0);
        SetWindowTextW(stage_, L"");
    }

    void poll() {
        std::erase_if(cancelled_, [](const auto& j) { return j->finished(); });
        std::erase_if(cancelledWalks_, [](const auto& j) { return j->finished(); });
        if (walkJob_ != nullptr) {
            const WalkForwardProgress& p = walkJob_->progress();
            SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(walkForwardPermille(p)), 0);
            SetWindowTextW(stage_, wide(walkForwardProgressText(p)).c_str());
            if (walkJob_->finished()) {
                WalkForwardJobOutcome outcome = walkJob_->take();
                walkJob_.reset();
                finishWalk(std::move(outcome));
            }
            return;
        }
        if (job_ == nullptr) {
            if (cancelled_.empty() && cancelledWalks_.empty()) {
                KillTimer(window_, kPollTimer);
            }
            return;
        }
        const PairSearchProgress& p = job_->progress();
        SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(pairSearchPermille(p)), 0);
        SetWindowTextW(
            stage_,
            wide(pairSearchStageName(static_cast<PairSearchStage>(p.stage.load()))).c_str());
        if (!job_->finished()) {
            return;
        }
        PairSearchOutcome outcome = job_->take();
        job_.reset();
        EnableWindow(cancel_, FALSE);
        SendMessageW(progress_, PBM_SETPOS, 0, 0);
        SetWindowTextW(stage_, L"");
        if (outcome.result == PairSearchResult::Refused) {
            clearResults(outcome.message);
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
        fillList(results_.rows.empty() ? -1 : results_.rows.front().rank);
        if (!results_.rows.empty()) {
            SetFocus(list_);
            rowSelected(selectedRow());
        }
    }

    void fillList(int selectRank) {
        filling_ = true;
        const std::vector<PairColumn> columns = pairColumns(results_.withBacktest);
        std::vector<ReportColumn> heads;
        for (const PairColumn c : columns) {
            const bool text = pairColumnIsText(c);
            heads.push_back({pairColumnHeader(results_, c), text ? 110 : 64, !text});
        }
        setReportColumns(list_, heads);
        TextRows rows;
        int selected = -1;
        for (const PairSearchRow& row : results_.rows) {
            if (row.rank == selectRank) {
                selected = static_cast<int>(rows.size());
            }
            std::vector<std::string>& cells = rows.emplace_back();
            for (const PairColumn c : columns) {
                cells.push_back(pairCell(row, c));
            }
        }
        setReportRows(list_, rows);
        fitReportColumns(list_);
        if (selected >= 0) {
            ListView_SetItemState(list_, selected, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
            ListView_EnsureVisible(list_, selected, FALSE);
        }
        filling_ = false;
    }

    int selectedRow() const {
        const int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
        return row >= 0 && row < static_cast<int>(results_.rows.size()) ? row : -1;
    }

    void rowSelected(int row) {
        if (row < 0 || row >= static_cast<int>(results_.rows.size())) {
            return;
        }
        const PairSearchRow& shown = results_.rows[static_cast<size_t>(row)];
        PairCandidate candidate = pairCandidateOf(shown, settings_, windowStart_);
        SetWindowTextW(amounts_, wide(candidateAmountsText(shown, candidate)).c_str());
        showCandidate(a_, shell_, std::move(candidate));
    }

    void showSelected() { rowSelected(selectedRow()); }

    // 建玉に追加: the add dialog filled with the selected pair; after its write the new position
    // is shown instead of the candidate.
    void addSelectedAsPosition() {
        const int row = selectedRow();
        if (row < 0) {
            return;
        }
        const PositionForm form = candidatePositionForm(
            a_, pairCandidateOf(results_.rows[static_cast<size_t>(row)], settings_, windowStart_));
        const int written =
            runPositionDialog(window_, instance_, a_, PositionDialogKind::Add, &form);
        if (written >= 0) {
            leaveCandidate(a_);
            showPositionsAfterWrite(a_, shell_, written);
        }
    }

    HINSTANCE instance_;
    AppContext& a_;
    Shell& shell_;
    HWND window_ = nullptr;
    PairSearchSettings settings_;
    PairSearchTable results_;
    int32_t windowStart_ = 0;
    int32_t endDate_ = 0;  // YYYYMMDD of the shown run's screen
    std::unique_ptr<PairSearchJob> job_;
    std::vector<std::unique_ptr<PairSearchJob>> cancelled_;
    WalkForwardFields walkFields_;
    std::unique_ptr<WalkForwardJob> walkJob_;
    std::vector<std::unique_ptr<WalkForwardJob>> cancelledWalks_;
    std::string funnelText_;  // the shown run's, without the walk-forward's ratio
    std::optional<WalkForwardMark> walkMark_;
    bool filling_ = false;
    struct Cell {
        HWND label;  // none for a check box
        HWND control;
        int width;
    };
    std::vector<Cell> cells_;  // the settings, laid out in rows
    HWND edits_[kPairFieldCount] = {};
    HWND market_ = nullptr;
    HWND sector_ = nullptr;
    HWND borrowable_ = nullptr;
    HWND fill_ = nullptr;
    HWND backtest_ = nullptr;
    HWND add_ = nullptr;
    HWND lastFocus_ = nullptr;
    HWND search_ = nullptr;
    HWND walk_ = nullptr;  // 過去の成績
    HWND tradeDays_ = nullptr;
    HWND step_ = nullptr;
    HWND cancel_ = nullptr;
    HWND show_ = nullptr;
    HWND progress_ = nullptr;
    HWND stage_ = nullptr;
    HWND funnel_ = nullptr;
    HWND amounts_ = nullptr;  // the selected candidate's legs in yen
    HWND list_ = nullptr;
};

}  // namespace

bool pairSearchDialogMessage(MSG& message) {
    // Only keys are a dialog's business: every other message goes its usual way at once.
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    wchar_t name[32] = {};
    return root != nullptr && GetClassNameW(root, name, 32) > 0 &&
           std::wcscmp(name, kClassName) == 0 && IsDialogMessageW(root, &message);
}

HWND openPairSearchWindow(HWND frame, HINSTANCE instance, AppContext& a, Shell& shell, HWND open) {
    if (open != nullptr && IsWindow(open)) {
        ShowWindow(open, SW_SHOWNORMAL);
        SetForegroundWindow(open);
        return open;
    }
    registerWindowClass(instance, kClassName, ownedWindowProcedure<PairSearchWindow>,
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    // Deleted with its window: a running job is cancelled and waited for.
    // Where it was last, or beside the chart the first time.
    RECT owner{};
    GetWindowRect(frame, &owner);
    RECT area{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const ScreenRect place = sideWindowPlace(
        a.store != nullptr ? queryChartValue(*a.store, kChartSubkey, kPairSearchPlaceValue) : "",
        ScreenRect{owner.left, owner.top, owner.right - owner.left, owner.bottom - owner.top},
        ScreenRect{area.left, area.top, area.right - area.left, area.bottom - area.top}, 960, 600);
    HWND window = createOwnedWindow(
        std::make_unique<PairSearchWindow>(instance, a, shell), instance, kClassName, L"ペア検索",
        WindowShape{.x = place.left, .y = place.top, .width = place.width, .height = place.height},
        frame);
    if (window == nullptr) {
        return nullptr;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    return window;
}

}  // namespace zepa::win32
