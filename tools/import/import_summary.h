// The report of a run for people (text) and programs (--json).
#pragma once

#include <string>

#include "import/import_types.h"

namespace zepa {

// One line per file written, then the totals and what was skipped and why.
std::string summaryText(const ImportReport& report);
std::string summaryJson(const ImportReport& report, int exitStatus);

}  // namespace zepa
