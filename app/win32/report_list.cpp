#include "report_list.h"  // first: <windows.h> before the common controls

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "wide_text.h"

namespace zepa::win32 {

HWND createReportList(HWND parent, int id, DWORD style, HFONT font) {
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | style, 0,
                                0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                nullptr, nullptr);
    if (font != nullptr) {
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    return list;
}

void setReportColumns(HWND list, const std::vector<ReportColumn>& columns) {
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0) != FALSE) {
    }
    for (size_t c = 0; c < columns.size(); ++c) {
        std::wstring title = wide(columns[c].title);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = columns[c].right ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = columns[c].width;
        column.pszText = title.data();
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
}

void setReportRows(HWND list, const TextRows& rows) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            std::wstring text = wide(rows[r][c]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.iSubItem = static_cast<int>(c);
            item.pszText = text.data();
            SendMessageW(list, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, r,
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace zepa::win32

namespace zepa::win32 {

namespace {

// The widest of the texts in the control's own font, in pixels.
int widestText(HWND control, const std::vector<std::wstring>& texts) {
    HDC dc = GetDC(control);
    if (dc == nullptr) {
        return 0;
    }
    auto* font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    int widest = 0;
    for (const std::wstring& t : texts) {
        SIZE size{};
        if (GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &size)) {
            widest = std::max(widest, static_cast<int>(size.cx));
        }
    }
    if (previous != nullptr) {
        SelectObject(dc, previous);
    }
    ReleaseDC(control, dc);
    return widest;
}

std::wstring columnText(HWND list, int row, int column) {
    std::wstring text(512, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto n = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<size_t>(n));
    return text;
}

}  // namespace

void fitReportColumns(HWND list) {
    // Measured here rather than by the list's own autosize, which some window systems do with
    // another font than the one drawn (CJK headers then end in "…").
    constexpr int kPadding = 16;
    HWND header = ListView_GetHeader(list);
    const int columns = header != nullptr ? Header_GetItemCount(header) : 0;
    const int rows = ListView_GetItemCount(list);
    for (int c = 0; c < columns; ++c) {
        std::wstring title(256, L'\0');
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = title.data();
        column.cchTextMax = static_cast<int>(title.size());
        SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(c),
                     reinterpret_cast<LPARAM>(&column));
        title.resize(wcslen(title.c_str()));
        std::vector<std::wstring> cells;
        for (int r = 0; r < rows; ++r) {
            cells.push_back(columnText(list, r, c));
        }
        const int width = std::max(widestText(header, {title}), widestText(list, cells)) + kPadding;
        ListView_SetColumnWidth(list, c, width);
    }
}

void showReportTable(HWND list, const TextTable& table, int columnWidth,
                     const std::function<bool(size_t column)>& right, const ShownCell& shown) {
    std::vector<ReportColumn> columns;
    for (size_t c = 0; c < table.header.size(); ++c) {
        columns.push_back({table.header[c], columnWidth, right(c)});
    }
    setReportColumns(list, columns);
    if (!shown) {
        setReportRows(list, table.rows);
        return;
    }
    TextRows rows = table.rows;
    for (std::vector<std::string>& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            row[c] = shown(row[c], c);
        }
    }
    setReportRows(list, rows);
}

bool reportHostMessage(HWND list, UINT message, LPARAM l) {
    if (list == nullptr) {
        return false;
    }
    switch (message) {
        case WM_SIZE:
            MoveWindow(list, 0, 0, LOWORD(l), HIWORD(l), TRUE);
            return true;
        case WM_SETFOCUS:
            SetFocus(list);
            return true;
        default:
            return false;
    }
}

}  // namespace zepa::win32
