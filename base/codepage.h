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

}  // namespace zepa
