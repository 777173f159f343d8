// The window "決済済み" of the Win32 shell: a report list of the closed trades and their totals.
#include "position_dialogs.h"  // first: <windows.h> before the common controls

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "datawindow/table_export.h"
#include "positions/closed_trades_table.h"
#include "resource_ids.h"
#include "table_output.h"
#include "wide_text.h"
#include "window_object.h"

namespace zepa::win32 {
namespace {

constexpr wchar_t kClassName[] = L"ZEPA_CLOSED";
constexpr int kListId = 700;
constexpr int kColumnWidth = 90;

class ClosedTradesWindow {
  public:
    explicit ClosedTradesWindow(const AppContext& a) : a_(a) {}

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
        auto* self = windowObject<ClosedTradesWindow>(window, message, l);
        if (self == nullptr) {
            return DefWindowProcW(window, message, w, l);
        }
        if (message == WM_NCCREATE) {
            self->window_ = window;
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
                list_ = CreateWindowExW(
                    0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0,
                    0, 0, 0, window_, reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
                SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                             LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
                fill();
                return 0;
            case WM_SIZE:
                MoveWindow(list_, 0, 0, LOWORD(l), HIWORD(l), TRUE);
                return 0;
            case WM_SETFOCUS:
                SetFocus(list_);
                return 0;
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(l);
                if (header->idFrom == kListId && header->code == LVN_KEYDOWN) {
                    key(reinterpret_cast<const NMLVKEYDOWN*>(l)->wVKey);
                }
                return 0;
            }
            default:
                return DefWindowProcW(window_, message, w, l);
        }
    }

    void fill() {
        const std::string path = closedTradesPath(a_.paths);
        ClosedTradesFile file;
        std::string problems;
        if (!readClosedTrades(path, file)) {
            problems = path + " が読めません";
        }
        for (const int line : file.badLines) {
            problems += (problems.empty() ? "" : "\n") + path + " の " + std::to_string(line) +
                        " 行目は決済の記録として読めません";
        }
        table_ = closedTradesTable(file.trades);
        for (size_t c = 0; c < table_.header.size(); ++c) {
            std::wstring title = wide(table_.header[c]);
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.fmt = c == 0 || c + 1 == table_.header.size() ? LVCFMT_LEFT : LVCFMT_RIGHT;
            column.cx = kColumnWidth;
            column.pszText = title.data();
            SendMessageW(list_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
        }
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
        if (!problems.empty()) {
            MessageBoxW(window_, wide(problems).c_str(), wide(kClosedTradesTitle).c_str(),
                        MB_OK | MB_ICONEXCLAMATION);
        }
    }

    void key(WORD virtualKey) {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        if (ctrl && virtualKey == 'C') {
            copyTable();
        } else if (ctrl && virtualKey == 'S') {
            saveTable();
        } else if (virtualKey == VK_ESCAPE) {
            DestroyWindow(window_);
        }
    }

    // Ctrl+C: the table as tab-separated text, CR LF between the lines.
    void copyTable() { copyTextToClipboard(window_, textTableTsv(table_)); }

    // Ctrl+S: the table as a CSV file the user names, in the documents folder at first.
    void saveTable() { saveCsvAs(window_, kClosedTradesFileName, textTableCsv(table_)); }

    const AppContext& a_;
    HWND window_ = nullptr;
    HWND list_ = nullptr;
    TextTable table_;
};

}  // namespace

void openClosedTradesWindow(HWND frame, HINSTANCE instance, const AppContext& a) {
    // One window: opened again, it comes to the front with the record read anew.
    if (HWND open = FindWindowW(kClassName, nullptr)) {
        DestroyWindow(open);
    }
    static bool registered = false;
    if (!registered) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ClosedTradesWindow::procedure;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(ZEPA_PROGRAM_ICON));
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        registered = RegisterClassExW(&wc) != 0;
    }
    auto window = std::make_unique<ClosedTradesWindow>(a);
    // The window owns itself from here: it is deleted with its last message.
    HWND handle = CreateWindowExW(0, kClassName, wide(kClosedTradesTitle).c_str(),
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 1000, 400,
                                  frame, nullptr, instance, window.release());
    if (handle != nullptr) {
        ShowWindow(handle, SW_SHOW);
    }
}

}  // namespace zepa::win32
