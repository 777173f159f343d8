#include "backtest_window.h"  // first: <windows.h> before the common controls

#include <commctrl.h>

#include "app/backtest_table.h"
#include "resource_ids.h"
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
constexpr int kStatsHeight = 24;
constexpr int kMargin = 4;
constexpr int kColumnWidth = 84;
constexpr int kFirstFigureColumn = 4;  // 保有, 純損益 and 累計 line up on the right

class BacktestWindow {
  public:
    BacktestWindow(const AppContext& a, bool& reached) : a_(a), reached_(reached) {}

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
        auto* self = windowObject<BacktestWindow>(window, message, l);
        if (self == nullptr) {
            return DefWindowProcW(window, message, w, l);
        }
        if (message == WM_NCCREATE) {
            self->window_ = window;
            self->reached_ = true;
        }
        const LRESULT result = self->handle(message, w, l);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            delete self;
        }
        return result;
    }

  private:
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
                    key(reinterpret_cast<const NMLVKEYDOWN*>(l)->wVKey);
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

    void createControls() {
        const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
        stats_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0,
                                 window_, nullptr, nullptr, nullptr);
        SendMessageW(stats_, WM_SETFONT, font, FALSE);
        list_ = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 0, 0,
                                window_, reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
        SendMessageW(list_, WM_SETFONT, font, FALSE);
        SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                     LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        const std::vector<std::string> headers = backtestTradeHeaders();
        for (size_t c = 0; c < headers.size(); ++c) {
            std::wstring title = wide(headers[c]);
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.fmt = c >= kFirstFigureColumn ? LVCFMT_RIGHT : LVCFMT_LEFT;
            column.cx = kColumnWidth;
            column.pszText = title.data();
            SendMessageW(list_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
        }
    }

    void fill() {
        shownRevision_ = a_.shownBacktest.revision;
        table_ = backtestTable(a_.shownBacktest);
        SetWindowTextW(stats_, wide(backtestSummary(a_.shownBacktest)).c_str());
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
        for (size_t r = 0; r < table_.rows.size(); ++r) {
            for (size_t c = 0; c < table_.rows[r].size(); ++c) {
                std::wstring text = wide(table_.rows[r][c]);
                LVITEMW item{};
                item.mask = LVIF_TEXT;
                item.iItem = static_cast<int>(r);
                item.iSubItem = static_cast<int>(c);
                item.pszText = text.data();
                SendMessageW(list_, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, r,
                             reinterpret_cast<LPARAM>(&item));
            }
        }
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
    }

    void key(WORD virtualKey) {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        if (ctrl && virtualKey == 'C') {
            // The table as tab-separated text, CR LF between the lines.
            copyTextToClipboard(window_, textTableTsv(table_));
        } else if (ctrl && virtualKey == 'S') {
            saveCsvAs(window_, kBacktestFileName, textTableCsv(table_));
        } else if (virtualKey == VK_ESCAPE) {
            DestroyWindow(window_);
        }
    }

    const AppContext& a_;
    bool& reached_;
    HWND window_ = nullptr;
    HWND stats_ = nullptr;
    HWND list_ = nullptr;
    int64_t shownRevision_ = -1;
    TextTable table_;
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
    static bool registered = false;
    if (!registered) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = BacktestWindow::procedure;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(ZEPA_PROGRAM_ICON));
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        registered = RegisterClassExW(&wc) != 0;
    }
    bool reached = false;
    auto* window = new BacktestWindow(a, reached);
    HWND handle =
        CreateWindowExW(0, kClassName, wide(kBacktestTitle).c_str(), WS_OVERLAPPEDWINDOW,
                        CW_USEDEFAULT, CW_USEDEFAULT, 620, 400, frame, nullptr, instance, window);
    if (handle == nullptr) {
        if (!reached) {
            delete window;  // otherwise WM_NCDESTROY has deleted it
        }
        return;
    }
    ShowWindow(handle, SW_SHOW);
}

}  // namespace zepa::win32
