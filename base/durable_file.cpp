#include <cstdio>

#include "base/durable_file.h"

namespace zepa {
namespace {

// Writes the bytes, closes the file and forces them to the disk.
bool fillAndFlush(std::FILE* f, const std::string& path, std::string_view bytes) {
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written && flushFileToDisk(path);
}

}  // namespace

bool writeFileFlushed(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    return f != nullptr && fillAndFlush(f, path, bytes);
}

bool writeFileDurably(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".tmp";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (f == nullptr) {
        return false;  // nothing was created, so nothing is removed
    }
    if (!fillAndFlush(f, temporary, bytes) || !replaceFile(temporary, path)) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace zepa
