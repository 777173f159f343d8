// Putting a written file in place so that a reader, or a crash, sees the old file or the new
// one and never a torn one. Implemented per platform (durable_file_posix.cpp,
// durable_file_win32.cpp).
#pragma once

#include <string>

namespace zepa {

// Forces the file's written bytes to the disk.
bool flushFileToDisk(const std::string& path);

// Renames `from` over `to` in one step (replacing `to`), then makes the rename itself durable.
bool replaceFile(const std::string& from, const std::string& to);

}  // namespace zepa
