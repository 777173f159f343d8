// Reading a whole file that a user or another program wrote, with a bound on its size so that
// a hostile file cannot take all the memory.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

namespace zepa {

enum class FileRead {
    Read,
    CannotOpen,  // missing, or not readable
    TooLarge,    // more than the limit; nothing is kept
    Failed,      // a read error midway
};

// The whole file into `bytes` (emptied first; left empty unless Read).
FileRead readFileBytes(const std::string& path, std::string& bytes,
                       uint64_t limit = std::numeric_limits<uint64_t>::max());

}  // namespace zepa
