// One throwaway installation folder per process for the targets that read files: created on
// first use, removed when the process ends. Each input rewrites the files it needs.
#pragma once

#include <string>
#include <string_view>

#include "marketdata/installation_paths.h"

namespace zepa::fuzz {

struct ScratchInstallation {
    std::string root;
    InstallationPaths paths;
};

// The process's installation; ZEPAWIN/DATA exists and holds no price file.
const ScratchInstallation& scratchInstallation();
// Removes every file of the data folder.
void clearDataFolder(const ScratchInstallation& s);
// Writes the bytes as the whole file; false when it cannot.
bool writeWholeFile(const std::string& path, std::string_view bytes);

}  // namespace zepa::fuzz
