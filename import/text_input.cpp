#include "import/text_input.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/codepage.h"
#include "base/file_bytes.h"

namespace zepa {

bool readWholeFile(const std::string& path, std::string& bytes) {
    return readFileBytes(path, bytes) == FileRead::Read;
}

TextResult decodeText(std::string& text, bool& wasCp932) {
    wasCp932 = false;
    if (text.size() >= 2 &&
        ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF'))) {
        return TextResult::Utf16;
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.erase(0, 3);
    }
    if (!isValidUtf8(text)) {
        text = utf8FromCp932(text);
        wasCp932 = true;
    }
    return TextResult::Ok;
}

}  // namespace zepa
