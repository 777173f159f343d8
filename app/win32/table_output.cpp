#include "table_output.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "datawindow/table_export.h"
#include "wide_text.h"

namespace zepa::win32 {

void copyTextToClipboard(HWND owner, const std::string& utf8) {
    std::wstring text;
    for (const wchar_t c : wide(utf8)) {
        if (c == L'\n') {
            text += L'\r';
        }
        text += c;
    }
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        return;
    }
    if (void* to = GlobalLock(memory)) {
        std::memcpy(to, text.c_str(), bytes);
        GlobalUnlock(memory);
    }
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);  // still ours when the clipboard refused it
    }
    CloseClipboard();
}

void saveCsvAs(HWND owner, const std::string& proposedUtf8, const std::string& csv) {
    std::array<wchar_t, 32768> path{};
    const std::wstring proposed = wide(proposedUtf8);
    std::copy_n(proposed.begin(), std::min(proposed.size(), path.size() - 1), path.begin());
    std::array<wchar_t, MAX_PATH> documents{};
    const bool haveDocuments =
        SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents.data()));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = L"CSV (*.csv)\0*.csv\0";
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrInitialDir = haveDocuments ? documents.data() : nullptr;
    ofn.lpstrTitle = L"CSV ファイルに保存";
    ofn.lpstrDefExt = L"csv";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn) || path[0] == L'\0') {
        return;
    }
    if (!saveFileReplacing(utf8(path.data()), csv)) {
        const std::wstring message =
            L"ファイルに保存できませんでした\n" + std::wstring(path.data());
        MessageBoxW(owner, message.c_str(), L"保存エラー", MB_OK | MB_ICONEXCLAMATION);
    }
}

void tableWindowKey(HWND window, WORD virtualKey, const TextTable& table,
                    const std::string& csvName) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (ctrl && virtualKey == 'C') {
        copyTextToClipboard(window, textTableTsv(table));
    } else if (ctrl && virtualKey == 'S') {
        saveCsvAs(window, csvName, textTableCsv(table));
    } else if (virtualKey == VK_ESCAPE) {
        DestroyWindow(window);
    }
}

}  // namespace zepa::win32
