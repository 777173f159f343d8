// Reading an input file whole and bringing its text to UTF-8: a UTF-8 byte-order mark is
// dropped, and text that is not valid UTF-8 is taken as CP932 (Shift-JIS).
#pragma once

#include <string>

#include "base/utf8.h"

namespace zepa {

enum class TextResult { Ok, CannotRead, Utf16 };

// The whole file; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& bytes);

// Converts in place; `wasCp932` tells which encoding the file had.
TextResult decodeText(std::string& text, bool& wasCp932);

}  // namespace zepa
