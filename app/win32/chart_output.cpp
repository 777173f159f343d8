#include "chart_output.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "app/print_size.h"
#include "dialogs.h"
#include "settings/input_dialog_logic.h"

namespace zepa::win32 {
namespace {

constexpr wchar_t kDocumentName[] = L"ChartPrint";

// The chart area clamped to the picture; empty when nothing of it is there.
RECT captureRect(const BackBuffer& picture, const ChartRect& area) {
    const auto clamp = [](int32_t v, int limit) {
        return static_cast<LONG>(std::clamp<int64_t>(v, 0, limit));
    };
    return RECT{clamp(area.left, picture.width()), clamp(area.top, picture.height()),
                clamp(area.right, picture.width()), clamp(area.bottom, picture.height())};
}

void copyToClipboard(HWND owner, const BackBuffer& picture, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HDC copy = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr || copy == nullptr) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        if (copy != nullptr) {
            DeleteDC(copy);
        }
        return;
    }
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, w, h, picture.dc(), r.left, r.top, SRCCOPY);
    SelectObject(copy, old);
    DeleteDC(copy);
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        // The clipboard owns the bitmap once it took it.
        if (SetClipboardData(CF_BITMAP, bitmap) != nullptr) {
            bitmap = nullptr;
        }
        CloseClipboard();
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
}

// The status bar's note on the print, UTF-8; empty when there is none.
std::string print(HWND owner, HINSTANCE instance, AppContext& a, const BackBuffer& picture,
                  const RECT& r, int kind) {
    float scale = 100.0f;
    if (kind == kScaledPrint) {
        a.view.inputDialogMode = input_dialog::kPrintScaleMode;
        std::string text;
        a.view.keyCommand =
            runInputDialog(owner, instance, a, input_dialog::kPrintScaleMode, &text);
        if (!takeEnteredScale(a.settings, a.view.keyCommand, text, scale)) {
            return {};
        }
    }
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    if (!PrintDlgW(&pd) || pd.hDC == nullptr) {
        return {};
    }
    HDC screen = GetDC(nullptr);
    const int screenX = GetDeviceCaps(screen, LOGPIXELSX),
              screenY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    // The printable area, whose top-left is the printer DC's origin.
    const PagePlacement placed = placeOnPage(
        printedSize(r.right - r.left, r.bottom - r.top, GetDeviceCaps(pd.hDC, LOGPIXELSX),
                    GetDeviceCaps(pd.hDC, LOGPIXELSY), screenX, screenY, scale),
        GetDeviceCaps(pd.hDC, HORZRES), GetDeviceCaps(pd.hDC, VERTRES), scale);
    const PrintSize size = placed.size;
    bool printed = false;
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = kDocumentName;
    if (StartDocW(pd.hDC, &doc) > 0) {
        if (StartPage(pd.hDC) > 0) {
            if (size.width > 0 && size.height > 0) {
                SetStretchBltMode(pd.hDC, COLORONCOLOR);
                printed = StretchBlt(pd.hDC, placed.left, placed.top, size.width, size.height,
                                     picture.dc(), r.left, r.top, r.right - r.left,
                                     r.bottom - r.top, SRCCOPY) != 0;
            }
            printed = EndPage(pd.hDC) > 0 && printed;
        }
        printed = EndDoc(pd.hDC) > 0 && printed;
    }
    DeleteDC(pd.hDC);
    if (pd.hDevMode != nullptr) {
        GlobalFree(pd.hDevMode);
    }
    if (pd.hDevNames != nullptr) {
        GlobalFree(pd.hDevNames);
    }
    return printed ? printPlacementNote(placed, scale) : std::string();
}

}  // namespace

std::string outputChart(HWND owner, HINSTANCE instance, AppContext& a, const BackBuffer& picture,
                        int kind) {
    if (kind != kClipboardOutput && kind != kScreenSizePrint && kind != kScaledPrint) {
        return {};
    }
    const RECT r = captureRect(picture, a.view.chartArea);
    if (r.right <= r.left || r.bottom <= r.top) {
        return {};
    }
    if (kind == kClipboardOutput) {
        copyToClipboard(owner, picture, r);
        return {};
    }
    return print(owner, instance, a, picture, r, kind);
}

}  // namespace zepa::win32
