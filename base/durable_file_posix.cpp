#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "base/durable_file.h"

namespace zepa {
namespace {

bool syncPath(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

}  // namespace

bool flushFileToDisk(const std::string& path) {
    return syncPath(path, O_RDONLY);
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    // The new directory entry must reach the disk too, or a crash could bring the old one back.
    const std::string folder = std::filesystem::path(to).parent_path().string();
    syncPath(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY);
    return true;
}

}  // namespace zepa
