#include "marketdata/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

namespace zepa {

bool BinaryFile::open(const std::string& path) {
    close();
    // Non-blocking so that a pipe named like a price file cannot hang the open; anything but a
    // regular file (a folder, a pipe, a device) counts as a file that cannot be opened.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    handle_ = fd;
    position_ = 0;
    return true;
}

void BinaryFile::close() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

bool BinaryFile::seek(int64_t offset) {
    if (handle_ < 0 || offset < 0 || offset > std::numeric_limits<off_t>::max()) {
        return false;
    }
    position_ = offset;
    return true;
}

size_t BinaryFile::readZeroFilled(void* buffer, size_t size) {
    char* out = static_cast<char*>(buffer);
    size_t got = 0;
    while (handle_ >= 0 && got < size) {
        // Past the largest offset there is nothing to read (and no overflow to risk).
        if (got > static_cast<uint64_t>(std::numeric_limits<off_t>::max() - position_)) {
            break;
        }
        const int64_t at = position_ + static_cast<int64_t>(got);
        const ssize_t n =
            ::pread(static_cast<int>(handle_), out + got, size - got, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    position_ += static_cast<int64_t>(got);  // got never passes the largest offset
    if (got < size) {
        std::memset(out + got, 0, size - got);
    }
    return got;
}

bool BinaryFile::mapWhole() {
    return false;
}

}  // namespace zepa
