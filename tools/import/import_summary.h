// The report of a run for programs (--json); for people, import/import_summary.h.
#pragma once

#include <string>

#include "import/import_summary.h"

namespace zepa {

std::string summaryJson(const ImportReport& report, int exitStatus);

}  // namespace zepa
