#include "base/file_bytes.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace zepa {

FileRead readFileBytes(const std::string& path, std::string& bytes, uint64_t limit) {
    bytes.clear();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!f) {
        return FileRead::CannotOpen;
    }
    // Room for the size the file has now; one that grows meanwhile is read on.
    std::error_code ec;
    const uintmax_t expected = std::filesystem::file_size(path, ec);
    if (!ec && expected <= limit && expected < (uintmax_t{1} << 40)) {
        bytes.reserve(static_cast<size_t>(expected));
    }
    char buffer[1 << 16];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0;) {
        if (bytes.size() + n > limit) {
            bytes.clear();
            return FileRead::TooLarge;
        }
        bytes.append(buffer, n);
    }
    if (std::ferror(f.get()) != 0) {
        bytes.clear();
        return FileRead::Failed;
    }
    return FileRead::Read;
}

}  // namespace zepa
