// What the Win32 table windows share: Ctrl+C puts a tab-separated table on the clipboard,
// Ctrl+S saves a CSV file the user names.
#pragma once

#include <windows.h>

#include <string>

#include "positions/closed_trades_table.h"

namespace zepa::win32 {

// The UTF-8 text with CR LF line ends as Unicode text on the clipboard.
void copyTextToClipboard(HWND owner, const std::string& utf8);

// Asks for a file name (proposed, in the documents folder at first) and writes the CSV there
// whole; says so when it cannot.
void saveCsvAs(HWND owner, const std::string& proposedUtf8, const std::string& csv);

// A table window's keys on its list: Ctrl+C copies `table`, Ctrl+S saves it as `csvName`, Esc
// closes `window`.
void tableWindowKey(HWND window, WORD virtualKey, const TextTable& table,
                    const std::string& csvName);

}  // namespace zepa::win32
