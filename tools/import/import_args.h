// The command line of zepa_import, read into options without running anything.
#pragma once

#include <string>
#include <vector>

#include "import/import_types.h"

namespace zepa {

enum class ArgsResult { Run, Help, Usage };

extern const char* const kImportUsage;

// On Usage, `problem` says what is wrong (one line).
ArgsResult parseImportArgs(const std::vector<std::string>& args, ImportOptions& options,
                           std::string& problem);

}  // namespace zepa
