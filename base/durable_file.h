// Putting a written file in place so that a reader, or a crash, sees the old file or the new
// one and never a torn one. The two system steps are implemented per platform
// (durable_file_posix.cpp, durable_file_win32.cpp), the writes over them in durable_file.cpp.
#pragma once

#include <string>
#include <string_view>

namespace zepa {

// Forces the file's written bytes to the disk.
bool flushFileToDisk(const std::string& path);

// Renames `from` over `to` in one step (replacing `to`), then makes the rename itself durable.
bool replaceFile(const std::string& from, const std::string& to);

// Writes the bytes to the file and forces them to the disk; the caller renames it into place.
bool writeFileFlushed(const std::string& path, std::string_view bytes);

// The whole durable write: the bytes to <path>.tmp, flushed, renamed over the path. When a step
// fails the path keeps its old bytes and the temporary file is removed.
bool writeFileDurably(const std::string& path, std::string_view bytes);

}  // namespace zepa
