// The report of a run for people: the command prints it, the viewer shows it.
#pragma once

#include <string>

#include "import/import_types.h"

namespace zepa {

// What was skipped and why, in one line ("none" when nothing was).
std::string skippedText(const RowCounts& counts);

// One line per file written, then the totals and what was skipped and why.
std::string summaryText(const ImportReport& report);

}  // namespace zepa
