#include "tools/import/text_input.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/codepage.h"

namespace zepa {

bool readWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!f) {
        return false;
    }
    // One read into a buffer of the file's size; a file that grows meanwhile is read on.
    std::error_code ec;
    const uintmax_t expected = std::filesystem::file_size(path, ec);
    if (!ec && expected > 0 && expected < (uintmax_t{1} << 40)) {
        bytes.resize(static_cast<size_t>(expected));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f.get()));
    }
    char buffer[1 << 16];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0;) {
        bytes.append(buffer, n);
    }
    return std::ferror(f.get()) == 0;
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
