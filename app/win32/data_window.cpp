#include "data_window.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>

#include "app/frame_handlers.h"
#include "back_buffer.h"
#include "chart/primitives.h"
#include "datawindow/data_table.h"
#include "datawindow/table_export.h"
#include "platform/gdi_surface.h"
#include "resource_ids.h"
#include "table_output.h"
#include "wide_text.h"
#include "window_object.h"

namespace zepa::win32 {
namespace {

constexpr wchar_t kClassName[] = L"CHILDWND";
constexpr int kSmallestHeight = 60;
constexpr int kWheelRows = 3;

DataKey dataKeyOf(WPARAM key) {
    switch (key) {
        case VK_RETURN:
            return DataKey::Enter;
        case VK_ESCAPE:
            return DataKey::Escape;
        case VK_UP:
            return DataKey::Up;
        case VK_DOWN:
            return DataKey::Down;
        case VK_PRIOR:
            return DataKey::PageUp;
        case VK_NEXT:
            return DataKey::PageDown;
        case VK_LEFT:
            return DataKey::Left;
        case VK_RIGHT:
            return DataKey::Right;
        case VK_HOME:
            return DataKey::Home;
        case VK_END:
            return DataKey::End;
        case 'T':
            return DataKey::T;
        case 'B':
            return DataKey::B;
        default:
            return DataKey::Other;
    }
}

ScrollAction scrollActionOf(WORD code) {
    switch (code) {
        case SB_LINEUP:
            return ScrollAction::LineBack;
        case SB_LINEDOWN:
            return ScrollAction::LineForward;
        case SB_PAGEUP:
            return ScrollAction::PageBack;
        case SB_PAGEDOWN:
            return ScrollAction::PageForward;
        case SB_TOP:
            return ScrollAction::Start;
        case SB_BOTTOM:
            return ScrollAction::End;
        default:
            return ScrollAction::Thumb;
    }
}

class DataWindow {
  public:
    DataWindow(HWND frame, AppContext& a, int kind) : frame_(frame), a_(a), surface_(buffer_.dc()) {
        state_.kind = kind == kStockDataKind ? kStockDataKind : kSpreadDataKind;
        state_.rowCount = dataRowCount(chartContext(a_));
        state_.columnCount = dataColumnCount(chartContext(a_), state_.kind);
        selectFontSlot(surface_, fonts_, kDataFontSlot, kChartFontFace, kDataFontHeight);
        const FontSlot& slot = fonts_.slots[kDataFontSlot];
        layoutDataColumns(state_, slot.charWidth, slot.lineHeight, fonts_.lastTextHeight);
    }
    ~DataWindow() { releaseFontSlots(surface_, fonts_); }

    void attach(HWND window) { window_ = window; }

    DataWindowRect placement() { return dataWindowPlacement(*a_.store, state_); }

    LRESULT handle(UINT message, WPARAM w, LPARAM l) {
        switch (message) {
            case WM_SIZE:
                clientResized();
                recordPlacement();
                return 0;
            case WM_MOVE:
                recordPlacement();
                return 0;
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT: {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(window_, &ps);
                buffer_.show(dc, ps.rcPaint);
                EndPaint(window_, &ps);
                return 0;
            }
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                // Every key is the window's, also with Alt held; only the listed ones act.
                if (message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
                    (w == 'C' || w == 'S')) {
                    if (w == 'C') {
                        copyTable();
                    } else {
                        saveTable();
                    }
                    return 0;
                }
                if (dataWindowKey(state_, dataKeyOf(w), GetKeyState(VK_SHIFT) < 0)) {
                    DestroyWindow(window_);
                } else {
                    syncScrollBars();
                    repaintPage();
                }
                return 0;
            case WM_VSCROLL:
            case WM_HSCROLL: {
                const WORD code = LOWORD(w);
                if (code == SB_ENDSCROLL) {
                    return 0;
                }
                SCROLLINFO si{};
                si.cbSize = sizeof si;
                si.fMask = SIF_TRACKPOS;
                GetScrollInfo(window_, message == WM_VSCROLL ? SB_VERT : SB_HORZ, &si);
                const int32_t moved =
                    message == WM_VSCROLL
                        ? scrollDataRows(state_, scrollActionOf(code), si.nTrackPos)
                        : scrollDataColumns(state_, scrollActionOf(code), si.nTrackPos);
                if (moved != 0) {
                    syncScrollBars();
                    repaintPage();
                }
                return 0;
            }
            case WM_MOUSEWHEEL: {
                // Fine-stepping wheels and touchpads add up to whole notches.
                const int notches = wheelNotches(wheelRest_, GET_WHEEL_DELTA_WPARAM(w));
                for (int n = 0; n < std::abs(notches) * kWheelRows; ++n) {
                    scrollDataRows(
                        state_, notches > 0 ? ScrollAction::LineBack : ScrollAction::LineForward);
                }
                syncScrollBars();
                repaintPage();
                return 0;
            }
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                DestroyWindow(window_);
                return 0;
            case WM_DESTROY:
                EnableWindow(frame_, TRUE);
                SetActiveWindow(frame_);
                return 0;
            default:
                return DefWindowProcW(window_, message, w, l);
        }
    }

  private:
    // Ctrl+C: every row with its header on the clipboard, with the line ends Windows programs
    // expect.
    void copyTable() { copyTextToClipboard(window_, dataTableTsv(chartContext(a_), state_.kind)); }

    // Ctrl+S: the same rows into a CSV file the user names, in the documents folder at first.
    void saveTable() {
        const ChartContext c = chartContext(a_);
        saveCsvAs(window_, dataTableFileName(c.position, state_.kind),
                  dataTableCsv(c, state_.kind));
    }

    void clientResized() {
        RECT client{};
        GetClientRect(window_, &client);
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(window_, &wp);
        resizeDataWindow(state_, client.bottom,
                         wp.rcNormalPosition.right - wp.rcNormalPosition.left);
        syncScrollBars();
        repaintPage();
    }

    void syncScrollBars() {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
        // A range of 0..0 hides the bar.
        si.nMax =
            state_.topRowMax > 0 ? state_.topRowMax + std::max(1, dataRowsPerPage(state_)) - 1 : 0;
        si.nPage =
            state_.topRowMax > 0 ? static_cast<UINT>(std::max(1, dataRowsPerPage(state_))) : 0;
        si.nPos = state_.topRow;
        SetScrollInfo(window_, SB_VERT, &si, TRUE);
        si.nMax = state_.leftCharMax > 0 ? state_.leftCharMax + kDataHorizontalPage - 1 : 0;
        si.nPage = state_.leftCharMax > 0 ? kDataHorizontalPage : 0;
        si.nPos = state_.leftChar;
        SetScrollInfo(window_, SB_HORZ, &si, TRUE);
    }

    void repaintPage() {
        RECT client{};
        GetClientRect(window_, &client);
        if (client.right <= 0 || client.bottom <= 0 ||
            !buffer_.resize(client.right, client.bottom)) {
            return;
        }
        buffer_.fill(GetSysColor(COLOR_WINDOW));
        surface_.setRasterOp(RasterOp::CopyPen);
        surface_.selectDefaultPen();
        paintDataWindow(surface_, fonts_, chartContext(a_), state_, client.bottom);
        InvalidateRect(window_, nullptr, FALSE);
    }

    void recordPlacement() {
        if (!IsWindowVisible(window_)) {
            return;
        }
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(window_, &wp);
        const RECT& r = wp.rcNormalPosition;
        storeDataWindowPlacement(*a_.store, state_.kind,
                                 DataWindowRect{r.left, r.top, r.right - r.left, r.bottom - r.top});
    }

    HWND frame_;
    HWND window_ = nullptr;
    AppContext& a_;
    DataWindowState state_;
    int wheelRest_ = 0;
    BackBuffer buffer_;
    GdiSurface surface_;
    FontSlotTable fonts_;
};

}  // namespace

void openDataWindow(HWND frame, HINSTANCE instance, AppContext& a, int kind) {
    registerWindowClass(instance, kClassName, ownedWindowProcedure<DataWindow>, nullptr,
                        CS_DBLCLKS);
    auto window = std::make_unique<DataWindow>(frame, a, kind);
    const DataWindowRect r = window->placement();
    const int tallest = std::max(kSmallestHeight, GetSystemMetrics(SM_CYMAXIMIZED));
    HWND handle = createOwnedWindow(
        std::move(window), instance, kClassName, wide(dataWindowTitle(kind)),
        WindowShape{
            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL,
            r.left, r.top, r.width, std::clamp(r.height, kSmallestHeight, tallest)},
        frame);
    if (handle == nullptr) {
        return;
    }
    EnableWindow(frame, FALSE);
    ShowWindow(handle, SW_SHOW);
    SetFocus(handle);
}

}  // namespace zepa::win32
