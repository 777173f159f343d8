// The command line of zepa_import, read into options without running anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "import/import_types.h"

namespace zepa {

enum class ArgsResult { Run, Help, Usage };

// --jquants and its options: the update from the J-Quants API instead of files.
struct JQuantsArgs {
    bool enabled = false;
    int32_t from = 0;  // YYYYMMDD, 0 when not given
    int32_t to = 0;
    std::string keyFile;
    int requestsPerMinute = 5;
    std::string apiBase = "https://api.jquants.com/v2";
};

extern const char* const kImportUsage;

// On Usage, `problem` says what is wrong (one line).
ArgsResult parseImportArgs(const std::vector<std::string>& args, ImportOptions& options,
                           JQuantsArgs& jquants, std::string& problem);
// The same, refusing --jquants.
ArgsResult parseImportArgs(const std::vector<std::string>& args, ImportOptions& options,
                           std::string& problem);

}  // namespace zepa
