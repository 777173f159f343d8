#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>

#include "marketdata/binary_file.h"

namespace zepa {
namespace {

// Larger files are read through the handle: a view of them would take much address space.
constexpr int64_t kMaxMappedBytes = int64_t{2} << 30;

HANDLE asHandle(intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

}  // namespace

bool BinaryFile::open(const std::string& path) {
    close();
    // Shared with writers, since another program may be updating the price files; anything but
    // a file on disk (a folder, a pipe, a device) counts as a file that cannot be opened.
    const std::filesystem::path native(path);
    HANDLE h = CreateFileW(native.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(h);
        return false;
    }
    handle_ = reinterpret_cast<intptr_t>(h);
    position_ = 0;
    return true;
}

void BinaryFile::close() {
    if (view_ != nullptr) {
        UnmapViewOfFile(view_);
        view_ = nullptr;
        viewSize_ = 0;
    }
    if (handle_ != -1) {
        CloseHandle(asHandle(handle_));
        handle_ = -1;
    }
}

bool BinaryFile::seek(int64_t offset) {
    if (handle_ == -1 || offset < 0) {
        return false;
    }
    position_ = offset;
    return true;
}

bool BinaryFile::mapWhole() {
    if (view_ != nullptr) {
        return true;
    }
    LARGE_INTEGER size{};
    if (handle_ == -1 || !GetFileSizeEx(asHandle(handle_), &size) || size.QuadPart <= 0 ||
        size.QuadPart > kMaxMappedBytes) {
        return false;
    }
    HANDLE mapping = CreateFileMappingW(asHandle(handle_), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) {
        return false;
    }
    // The view keeps the mapping alive; while it exists Windows refuses to cut the file short.
    void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    CloseHandle(mapping);
    if (view == nullptr) {
        return false;
    }
    view_ = static_cast<const unsigned char*>(view);
    viewSize_ = size.QuadPart;
    return true;
}

size_t BinaryFile::readZeroFilled(void* buffer, size_t size) {
    char* out = static_cast<char*>(buffer);
    size_t got = 0;
    if (view_ != nullptr) {
        if (position_ < viewSize_) {
            got = static_cast<size_t>(
                std::min<uint64_t>(size, static_cast<uint64_t>(viewSize_ - position_)));
            std::memcpy(out, view_ + position_, got);
        }
        position_ += static_cast<int64_t>(got);
        if (got < size) {
            std::memset(out + got, 0, size - got);
        }
        return got;
    }
    while (handle_ != -1 && got < size) {
        // Past the largest offset there is nothing to read (and no overflow to risk).
        if (got > static_cast<uint64_t>(std::numeric_limits<int64_t>::max() - position_)) {
            break;
        }
        const uint64_t at = static_cast<uint64_t>(position_) + got;
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
        where.OffsetHigh = static_cast<DWORD>(at >> 32);
        const size_t want = size - got;
        const DWORD chunk = want > 0x40000000u ? 0x40000000u : static_cast<DWORD>(want);
        DWORD n = 0;
        if (!ReadFile(asHandle(handle_), out + got, chunk, &n, &where) || n == 0) {
            break;
        }
        got += n;
    }
    position_ += static_cast<int64_t>(got);
    if (got < size) {
        std::memset(out + got, 0, size - got);
    }
    return got;
}

}  // namespace zepa
