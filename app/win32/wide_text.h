// Texts at the edge of the Win32 shell: the window APIs take UTF-16, the program holds UTF-8
// (message texts) and CP932 (file contents).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/codepage.h"

namespace zepa::win32 {

inline std::wstring wide(std::string_view utf8) {
    return wideFromUtf8(utf8);
}

inline std::wstring wideFromCp932(std::string_view cp932) {
    const std::u16string text = utf16FromCp932(cp932);
    return std::wstring(text.begin(), text.end());
}

inline std::string utf8(std::wstring_view text) {
    std::string out;
    if (text.empty()) {
        return out;
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    if (n > 0) {
        out.resize(static_cast<size_t>(n));
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                            nullptr, nullptr);
    }
    return out;
}

// A window's or control's text, UTF-8.
inline std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return utf8(text);
}

}  // namespace zepa::win32
