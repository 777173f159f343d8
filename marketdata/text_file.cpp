#include "marketdata/text_file.h"

#include <filesystem>
#include <system_error>

namespace zepa {

TextFile::~TextFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool TextFile::open(const std::string& path) {
    // Only a regular file: a folder of that name cannot be read, and a pipe would block.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return false;
    }
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
}

int TextFile::next() {
    if (ended_) {
        return EOF;
    }
    int c;
    if (pending_ != -1) {
        c = pending_;
        pending_ = -1;
    } else {
        c = std::fgetc(file_);
    }
    if (c == 0x1A || c == EOF) {
        ended_ = true;
        return EOF;
    }
    if (c == '\r') {
        int after = std::fgetc(file_);
        if (after == '\n') {
            return '\n';
        }
        if (after != EOF) {
            pending_ = after;
        }
    }
    return c;
}

bool TextFile::readLine(std::string& line) {
    line.clear();
    if (file_ == nullptr) {
        return false;
    }
    while (line.size() < kLineReadLimit) {
        int c = next();
        if (c == EOF) {
            break;
        }
        line.push_back(static_cast<char>(c));
        if (c == '\n') {
            break;
        }
    }
    return !line.empty();
}

}  // namespace zepa
