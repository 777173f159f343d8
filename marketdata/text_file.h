// Hand-edited text files, read as Windows reads them in text mode: CR LF ends a line like
// LF, Ctrl+Z ends the file, and each read takes at most 199 characters, so a longer line
// comes back in pieces.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace zepa {

inline constexpr size_t kLineReadLimit = 199;

class TextFile {
  public:
    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    bool open(const std::string& path);
    // Reads the next piece of at most kLineReadLimit characters, as fgets with a 200-byte
    // buffer: the line feed is kept when it fits. False at the end of the file.
    bool readLine(std::string& line);

  private:
    int next();
    std::FILE* file_ = nullptr;
    int pending_ = -1;  // one character of look-ahead after a CR
    bool ended_ = false;
};

}  // namespace zepa
