// The report list views of the table windows (決済済み, 検証, ペア検索): columns and rows of
// UTF-8 text, replaced whole.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/table_text.h"

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

}  // namespace zepa::win32
