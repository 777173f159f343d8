#include "backtest_window.h"  // first: <windows.h> before the common controls

#include <commctrl.h>

#include <memory>

#include "app/backtest_table.h"
#include "report_list.h"
#include "table_output.h"
#include "wide_text.h"
#include "window_object.h"

namespace zepa::win32 {
namespace {

constexpr wchar_t kClassName[] = L"ZEPA_BACKTEST";
constexpr int kListId = 710;
constexpr UINT_PTR kFollowTimer = 1;
constexpr UINT kFollowMilliseconds = 300;
constexpr UINT kRefreshMessage = WM_APP + 1;
constexpr int kStatsHeight = 40;  // two lines: the statistics, what is left out
constexpr int kMargin = 4;
constexpr int kColumnWidth = 84;

class BacktestWindow {
  public:
    explicit BacktestWindow(const AppContext& a) : a_(a) {}

    void attach(HWND window) { window_ = window; }

    LRESULT handle(UINT message, WPARAM w, LPARAM l) {
        switch (message) {
            case WM_CREATE:
                createControls();
                fill();
                SetTimer(window_, kFollowTimer, kFollowMilliseconds, nullptr);
                return 0;
            case WM_SIZE:
                MoveWindow(stats_, kMargin, kMargin, LOWORD(l) - 2 * kMargin,
                           kStatsHeight - kMargin, TRUE);
                MoveWindow(list_, 0, kStatsHeight, LOWORD(l), HIWORD(l) - kStatsHeight, TRUE);
                return 0;
            case WM_SETFOCUS:
                SetFocus(list_);
                return 0;
            case WM_TIMER:
                // The chart may move to another pair while the window is open: it follows.
                if (w == kFollowTimer && a_.shownBacktest.revision != shownRevision_) {
                    fill();
                }
                return 0;
            case kRefreshMessage:
                fill();
                return 0;
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(l);
                if (header->idFrom == kListId && header->code == LVN_KEYDOWN) {
                    tableWindowKey(window_, reinterpret_cast<const NMLVKEYDOWN*>(l)->wVKey,
                                   exported_, kBacktestFileName);
                }
                return 0;
            }
            case WM_DESTROY:
                KillTimer(window_, kFollowTimer);
                return 0;
            default:
                return DefWindowProcW(window_, message, w, l);
        }
    }

  private:
    void createControls() {
        const auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        stats_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0,
                                 window_, nullptr, nullptr, nullptr);
        SendMessageW(stats_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        list_ = createReportList(window_, kListId, LVS_SHOWSELALWAYS, font);
        std::vector<ReportColumn> columns;
        for (const std::string& title : backtestTradeHeaders()) {
            columns.push_back({title, kColumnWidth, backtestColumnIsFigure(columns.size())});
        }
        setReportColumns(list_, columns);
    }

    void fill() {
        shownRevision_ = a_.shownBacktest.revision;
        table_ = backtestTable(a_.shownBacktest);
        exported_ = backtestTable(a_.shownBacktest, true);
        SetWindowTextW(window_, wide(backtestWindowTitle(a_.shownBacktest)).c_str());
        SetWindowTextW(stats_, wide(backtestSummary(a_.shownBacktest)).c_str());
        setReportRows(list_, table_.rows);
    }

    const AppContext& a_;
    HWND window_ = nullptr;
    HWND stats_ = nullptr;
    HWND list_ = nullptr;
    int64_t shownRevision_ = -1;
    TextTable table_;
    TextTable exported_;  // what Ctrl+C and Ctrl+S take: numbers alone
};

}  // namespace

void openBacktestWindow(HWND frame, HINSTANCE instance, const AppContext& a) {
    if (HWND open = FindWindowW(kClassName, nullptr)) {
        SendMessageW(open, kRefreshMessage, 0, 0);
        if (IsIconic(open)) {
            ShowWindow(open, SW_RESTORE);
        }
        SetForegroundWindow(open);
        return;
    }
    registerWindowClass(instance, kClassName, ownedWindowProcedure<BacktestWindow>,
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    HWND handle =
        createOwnedWindow(std::make_unique<BacktestWindow>(a), instance, kClassName,
                          wide(kBacktestTitle), WindowShape{.width = 900, .height = 400}, frame);
    if (handle != nullptr) {
        ShowWindow(handle, SW_SHOW);
    }
}

}  // namespace zepa::win32
