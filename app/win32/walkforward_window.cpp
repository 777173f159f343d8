#include "walkforward_window.h"  // first: <windows.h> before the common controls

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "app/walkforward_plot.h"
#include "app/walkforward_table.h"
#include "back_buffer.h"
#include "platform/gdi_surface.h"
#include "report_list.h"
#include "table_output.h"
#include "wide_text.h"
#include "window_object.h"

namespace zepa::win32 {
namespace {

constexpr wchar_t kClassName[] = L"ZEPA_WALKFORWARD";
constexpr int kListId = 720;
constexpr int kMargin = 4;
constexpr int kLineHeight = 20;
constexpr int kColumnWidth = 84;

class WalkForwardWindow {
  public:
    explicit WalkForwardWindow(const WalkForwardJobOutcome& outcome)
        : out_(outcome.walk.out),
          in_(outcome.walk.in),
          firstDate_(outcome.walk.periods.empty() ? 0
                                                  : outcome.walk.periods.front().tradeFirstDate),
          summary_(walkForwardSummaryLine(outcome.walk)),
          table_(walkForwardTable(outcome.walk)),
          exported_(walkForwardTable(outcome.walk, true)),
          fileName_(walkForwardFileName(outcome.lastDate)),
          surface_(buffer_.dc()) {}

    void attach(HWND window) { window_ = window; }

    LRESULT handle(UINT message, WPARAM w, LPARAM l) {
        switch (message) {
            case WM_CREATE:
                createControls();
                return 0;
            case WM_SIZE:
                layout(LOWORD(l), HIWORD(l));
                return 0;
            case WM_PAINT: {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(window_, &ps);
                buffer_.show(dc, ps.rcPaint);
                EndPaint(window_, &ps);
                return 0;
            }
            case WM_ERASEBKGND:
                return 1;  // every pixel comes from the buffer
            case WM_SETFOCUS:
                SetFocus(list_);
                return 0;
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(l);
                if (header->idFrom == kListId && header->code == LVN_KEYDOWN) {
                    tableWindowKey(window_, reinterpret_cast<const NMLVKEYDOWN*>(l)->wVKey,
                                   exported_, fileName_);
                }
                return 0;
            }
            default:
                return DefWindowProcW(window_, message, w, l);
        }
    }

  private:
    HWND label(const std::string& text) {
        HWND h = CreateWindowExW(0, L"STATIC", wide(text).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT,
                                 0, 0, 0, 0, window_, nullptr, nullptr, nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
        return h;
    }

    void createControls() {
        summaryLabel_ = label(summary_);
        note_ = label(kWalkForwardSurvivorshipNote);
        list_ = createReportList(window_, kListId, LVS_SHOWSELALWAYS,
                                 static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
        std::vector<ReportColumn> columns;
        for (const std::string& title : table_.header) {
            columns.push_back({title, kColumnWidth, columns.size() >= 3});
        }
        setReportColumns(list_, columns);
        setReportRows(list_, table_.rows);
        fitReportColumns(list_);
    }

    // The two lines at the top, the picture over three fifths of the rest, the table below.
    void layout(int width, int height) {
        MoveWindow(summaryLabel_, kMargin, kMargin, width - 2 * kMargin, kLineHeight - 4, TRUE);
        MoveWindow(note_, kMargin, kMargin + kLineHeight, width - 2 * kMargin, kLineHeight - 4,
                   TRUE);
        const int top = kMargin + 2 * kLineHeight;
        const int rest = std::max(0, height - top);
        const int plotHeight = std::max(std::min(rest, 160), rest * 3 / 5);
        MoveWindow(list_, 0, top + plotHeight, width, std::max(0, rest - plotHeight), TRUE);
        if (width <= 0 || height <= 0 || !buffer_.resize(width, height)) {
            return;
        }
        buffer_.fill(GetSysColor(COLOR_BTNFACE));
        // The picture draws from (0, 0): the DC's origin moves to the plot's corner meanwhile.
        POINT previous{};
        SetViewportOrgEx(buffer_.dc(), 0, top, &previous);
        surface_.setRasterOp(RasterOp::CopyPen);
        surface_.selectDefaultPen();
        drawWalkForwardPlot(surface_, width, plotHeight, out_.curve, in_.curve, firstDate_);
        SetViewportOrgEx(buffer_.dc(), previous.x, previous.y, nullptr);
        InvalidateRect(window_, nullptr, FALSE);
    }

    HWND window_ = nullptr;
    WalkForwardSummary out_;
    WalkForwardSummary in_;
    int32_t firstDate_ = 0;
    std::string summary_;
    TextTable table_;
    TextTable exported_;  // what Ctrl+C and Ctrl+S take: numbers alone
    std::string fileName_;
    BackBuffer buffer_;
    GdiSurface surface_;  // over buffer_'s DC, which lives as long as the buffer
    HWND summaryLabel_ = nullptr;
    HWND note_ = nullptr;
    HWND list_ = nullptr;
};

}  // namespace

HWND openWalkForwardWindow(HWND owner, HINSTANCE instance, const WalkForwardJobOutcome& outcome) {
    if (HWND open = FindWindowW(kClassName, nullptr)) {
        DestroyWindow(open);
    }
    registerWindowClass(instance, kClassName, ownedWindowProcedure<WalkForwardWindow>,
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    HWND window = createOwnedWindow(
        std::make_unique<WalkForwardWindow>(outcome), instance, kClassName, wide(kWalkForwardTitle),
        WindowShape{.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, .width = 820, .height = 640},
        owner);
    if (window != nullptr) {
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
    }
    return window;
}

}  // namespace zepa::win32
