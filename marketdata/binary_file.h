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
    std::FILE* file_ = nullptr;
};

}  // namespace zepa
