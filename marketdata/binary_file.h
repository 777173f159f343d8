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

  private:
    // A series reads two small pieces from each of many files: positioned reads on the bare
    // descriptor (POSIX) or handle (Windows) spare a stream buffer's allocation and its fills.
    // The platform halves are binary_file_posix.cpp and binary_file_win32.cpp.
    intptr_t handle_ = -1;
    int64_t position_ = 0;
};

}  // namespace zepa
