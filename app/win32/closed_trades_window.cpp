// The window "決済済み" of the Win32 shell: a report list of the closed trades and their totals.
#include "position_dialogs.h"  // first: <windows.h> before the common controls

#include <commctrl.h>

#include <memory>

#include "positions/closed_trades_table.h"
#include "report_list.h"
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

    void attach(HWND window) { window_ = window; }

    LRESULT handle(UINT message, WPARAM w, LPARAM l) {
        if (reportHostMessage(list_, message, l)) {
            return 0;
        }
        switch (message) {
            case WM_CREATE:
                list_ = createReportList(window_, kListId, LVS_SHOWSELALWAYS, nullptr);
                fill();
                return 0;
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(l);
                if (header->idFrom == kListId && header->code == LVN_KEYDOWN) {
                    tableWindowKey(window_, reinterpret_cast<const NMLVKEYDOWN*>(l)->wVKey, table_,
                                   kClosedTradesFileName);
                }
                return 0;
            }
            default:
                return DefWindowProcW(window_, message, w, l);
        }
    }

  private:
    void fill() {
        const ClosedTradesView view = readClosedTradesView(closedTradesPath(a_.paths));
        table_ = view.table;
        // The date and the note read from the left; the figures line up on the right. Grouped
        // on the screen; table_ stays plain for the clipboard and the file.
        const size_t columns = table_.header.size();
        showReportTable(
            list_, table_, kColumnWidth, [columns](size_t c) { return c != 0 && c + 1 != columns; },
            closedTradesShownCell);
        fitReportColumns(list_);
        if (!view.problems.empty()) {
            MessageBoxW(window_, wide(view.problems).c_str(), wide(kClosedTradesTitle).c_str(),
                        MB_OK | MB_ICONEXCLAMATION);
        }
    }

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
    registerWindowClass(instance, kClassName, ownedWindowProcedure<ClosedTradesWindow>,
                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    HWND handle = createOwnedWindow(std::make_unique<ClosedTradesWindow>(a), instance, kClassName,
                                    wide(kClosedTradesTitle),
                                    WindowShape{.width = 1000, .height = 400}, frame);
    if (handle != nullptr) {
        ShowWindow(handle, SW_SHOW);
    }
}

}  // namespace zepa::win32
