// Conversion between the CP932 (Shift-JIS) bytes of the data files and Unicode.
// Text stays CP932 inside the core; it is converted only where it leaves for the screen,
// a message box or a tool's output.
#pragma once

#include <string>
#include <string_view>

namespace zepa {

// Invalid bytes and a lead byte cut off at the end each become one U+FFFD.
std::string utf8FromCp932(std::string_view cp932);
std::u16string utf16FromCp932(std::string_view cp932);

// Characters CP932 cannot hold become '?'; invalid UTF-8 bytes are dropped.
std::string cp932FromUtf8(std::string_view utf8);

#ifdef _WIN32
// UTF-8 as the wide (UTF-16) text the Windows APIs take.
std::wstring wideFromUtf8(std::string_view utf8);
#endif

// A lead byte of a CP932 double-byte character.
inline bool isCp932LeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The longest start of the text within `maxBytes` that cuts no double-byte character in two
// (a lead byte without its trail byte at the end is left out too).
inline std::string cutCp932(std::string_view cp932, size_t maxBytes) {
    size_t end = 0;
    while (end < cp932.size()) {
        const size_t width = isCp932LeadByte(static_cast<unsigned char>(cp932[end])) ? 2 : 1;
        if (end + width > maxBytes || end + width > cp932.size()) {
            break;
        }
        end += width;
    }
    return std::string(cp932.substr(0, end));
}

}  // namespace zepa
