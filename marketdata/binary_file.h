// A read-only binary file with 64-bit offsets; closed when it goes out of scope.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
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
#ifdef _WIN32
    std::FILE* file_ = nullptr;
#else
    // A series reads two small pieces from each of many files: positioned reads on the bare
    // descriptor spare the stream buffer's allocation and its 4 KiB fills.
    int fd_ = -1;
    int64_t position_ = 0;
#endif
};

}  // namespace zepa
