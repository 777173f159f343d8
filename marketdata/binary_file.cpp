#include "marketdata/binary_file.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace zepa {

bool BinaryFile::open(const std::string& path) {
    close();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return false;
    }
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
}

void BinaryFile::close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

bool BinaryFile::seek(int64_t offset) {
    if (file_ == nullptr || offset < 0) {
        return false;
    }
#ifdef _WIN32
    return _fseeki64(file_, offset, SEEK_SET) == 0;
#else
    return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

size_t BinaryFile::readZeroFilled(void* buffer, size_t size) {
    size_t got = file_ != nullptr ? std::fread(buffer, 1, size, file_) : 0;
    if (got < size) {
        std::memset(static_cast<char*>(buffer) + got, 0, size - got);
    }
    return got;
}

}  // namespace zepa
