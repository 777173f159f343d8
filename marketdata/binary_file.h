// A read-only binary file with 64-bit offsets; closed when it goes out of scope.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zepa {

class BinaryFile {
  public:
    BinaryFile() = default;
    ~BinaryFile() { close(); }
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Fails for a directory, as opening one does on Windows.
    bool open(const std::string& path);
    void close();
    bool seek(int64_t offset);
    // Reads up to size bytes and fills whatever could not be read with zeros.
    // Returns the number of bytes actually read.
    size_t readZeroFilled(void* buffer, size_t size);
    // From here on, reads copy from a read-only view of the whole file as it is now, for a file
    // kept open for many reads: on Windows each read of a handle is a call into the system, a
    // copy from a view is none. False, reads staying as they were, where the file cannot be
    // mapped (empty, over 2 GB, no memory) and on POSIX, whose positioned reads cost no more.
    bool mapWhole();

  private:
    // A series reads two small pieces from each of many files: positioned reads on the bare
    // descriptor (POSIX) or handle (Windows) spare a stream buffer's allocation and its fills.
    // The platform halves are binary_file_posix.cpp and binary_file_win32.cpp.
    intptr_t handle_ = -1;
    int64_t position_ = 0;
    // mapWhole's view, viewSize_ bytes; only the Windows half maps.
    [[maybe_unused]] const unsigned char* view_ = nullptr;
    [[maybe_unused]] int64_t viewSize_ = 0;
};

}  // namespace zepa
