// The report list views of the table windows (決済済み, 検証, ペア検索): columns and rows of
// UTF-8 text, replaced whole.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/table_text.h"
#include "positions/closed_trades_table.h"

namespace zepa::win32 {

struct ReportColumn {
    std::string title;
    int width = 90;
    bool right = false;  // figures line up on the right
};

// A report list with full-row selection and grid lines; `font` null keeps the control's own.
HWND createReportList(HWND parent, int id, DWORD style, HFONT font);

// The columns, replacing those there were (and the rows with them).
void setReportColumns(HWND list, const std::vector<ReportColumn>& columns);

// The rows, replacing those there were, drawn once at the end.
void setReportRows(HWND list, const TextRows& rows);

// Each column as wide as its widest cell or its header, so that neither is cut to "…".
void fitReportColumns(HWND list);

// A table in the list: a column per header, `columnWidth` wide and on the right where `right`
// says; each cell as `shown` makes it read on the screen (grouped figures), the table itself
// staying as it is for the clipboard and the file. Null `shown`: the cells as they are.
using ShownCell = std::function<std::string(const std::string& cell, size_t column)>;
void showReportTable(HWND list, const TextTable& table, int columnWidth,
                     const std::function<bool(size_t column)>& right, const ShownCell& shown);

// The messages of a window that is one report list: it fills the client area (WM_SIZE) and
// takes the focus (WM_SETFOCUS). True when `message` was one of them and is handled.
bool reportHostMessage(HWND list, UINT message, LPARAM l);

}  // namespace zepa::win32
