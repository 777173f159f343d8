#include "overview_window.h"

#include <commctrl.h>

#include <memory>
#include <vector>

#include "app/overview/overview_table.h"
#include "report_list.h"
#include "table_output.h"
#include "wide_text.h"
#include "window_object.h"

namespace zepa::win32 {
namespace {

constexpr wchar_t kClassName[] = L"ZEPA_OVERVIEW";
constexpr int kListId = 710;
constexpr int kColumnWidth = 90;
constexpr UINT kRefreshMessage = WM_APP + 1;

class OverviewWindow {
  public:
    OverviewWindow(const AppContext& a, std::function<void(int)> show)
        : a_(a), show_(std::move(show)) {}

    void attach(HWND window) { window_ = window; }

    LRESULT handle(UINT message, WPARAM w, LPARAM l) {
        if (reportHostMessage(list_, message, l)) {
            return 0;
        }
        switch (message) {
            case WM_CREATE:
                list_ =
                    createReportList(window_, kListId, LVS_SHOWSELALWAYS | LVS_SINGLESEL, nullptr);
                fill();
                return 0;
            case kRefreshMessage:
                fill();
                return 0;
            case WM_NOTIFY:
                return onNotify(*reinterpret_cast<const NMHDR*>(l));
            default:
                return DefWindowProcW(window_, message, w, l);
        }
    }

  private:
    void fill() {
        const int selected = selectedRow();
        order_ = overviewOrder(a_.overview, sortColumn_, descending_);
        table_ = overviewTable(a_.overview, order_);
        // Grouped on the screen; table_ stays plain for the clipboard and the file.
        showReportTable(
            list_, table_, kColumnWidth,
            [](size_t c) { return overviewRightAligned(static_cast<int>(c)); }, overviewShownCell);
        // As wide as the cells: the whole row in view, no figure cut to "…".
        fitReportColumns(list_);
        if (selected >= 0) {
            ListView_SetItemState(list_, selected, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        }
    }

    int selectedRow() const {
        return list_ != nullptr ? ListView_GetNextItem(list_, -1, LVNI_SELECTED) : -1;
    }

    void showRow(int row) {
        const int position =
            row >= 0 ? overviewPositionOfRow(order_, static_cast<size_t>(row)) : -1;
        if (position >= 0 && show_) {
            show_(position);
        }
    }

    LRESULT onNotify(const NMHDR& n) {
        if (n.idFrom != kListId) {
            return 0;
        }
        switch (n.code) {
            case LVN_COLUMNCLICK: {
                const int column = reinterpret_cast<const NMLISTVIEW&>(n).iSubItem;
                descending_ = column == sortColumn_ ? !descending_ : false;
                sortColumn_ = column;
                fill();
                return 0;
            }
            case NM_DBLCLK:
                showRow(reinterpret_cast<const NMITEMACTIVATE&>(n).iItem);
                return 0;
            case NM_RETURN:
                showRow(selectedRow());
                return 0;
            case LVN_KEYDOWN:
                tableWindowKey(window_, reinterpret_cast<const NMLVKEYDOWN&>(n).wVKey, table_,
                               kOverviewFileName);
                return 0;
            case NM_CUSTOMDRAW:
                return customDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&n)));
            default:
                return 0;
        }
    }

    // Losses in the falling-candle colour, cell by cell.
    LRESULT customDraw(NMLVCUSTOMDRAW& draw) {
        switch (draw.nmcd.dwDrawStage) {
            case CDDS_PREPAINT:
                return CDRF_NOTIFYITEMDRAW;
            case CDDS_ITEMPREPAINT:
                return CDRF_NOTIFYSUBITEMDRAW;
            case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
                const bool loss = overviewLossCell(
                    a_.overview, order_, static_cast<size_t>(draw.nmcd.dwItemSpec), draw.iSubItem);
                draw.clrText =
                    loss ? a_.colors.colors[kOverviewLossColor] : GetSysColor(COLOR_WINDOWTEXT);
                return CDRF_NEWFONT;
            }
            default:
                return CDRF_DODEFAULT;
        }
    }

    const AppContext& a_;
    std::function<void(int)> show_;
    HWND window_ = nullptr;
    HWND list_ = nullptr;
    TextTable table_;
    std::vector<size_t> order_;
    int sortColumn_ = -1;
    bool descending_ = false;
};

}  // namespace

void openOverviewWindow(HWND frame, HINSTANCE instance, const AppContext& a,
                        std::function<void(int)> show) {
    if (HWND open = FindWindowW(kClassName, nullptr)) {
        SendMessageW(open, kRefreshMessage, 0, 0);
        ShowWindow(open, SW_SHOW);
        SetForegroundWindow(open);
        return;
    }
    registerWindowClass(instance, kClassName, ownedWindowProcedure<OverviewWindow>,
                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    HWND handle = createOwnedWindow(std::make_unique<OverviewWindow>(a, std::move(show)), instance,
                                    kClassName, wide(kOverviewTitle),
                                    WindowShape{.width = 1200, .height = 450}, frame);
    if (handle != nullptr) {
        ShowWindow(handle, SW_SHOW);
    }
}

void refreshOverviewWindow() {
    if (HWND open = FindWindowW(kClassName, nullptr)) {
        SendMessageW(open, kRefreshMessage, 0, 0);
    }
}

}  // namespace zepa::win32
