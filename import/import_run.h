// The whole import: read every input, check it, merge it into the year files and put them in
// place, or write nothing at all.
#pragma once

#include <functional>

#include "import/import_types.h"

namespace zepa {

struct ImportHooks {
    // Runs once every new year file is written and flushed under its temporary name, before
    // the first rename: where a crash would hurt most.
    std::function<void()> beforeRename;
};

// The exit status: kExitImported or kExitInputError. The report holds the messages and, unless
// nothing could be written, what was written.
int runImport(const ImportOptions& options, ImportReport& report, const ImportHooks& hooks = {});

// The name the temporary file of a year gets in the data folder: not matched by DBW.*.
std::string temporaryNameOf(int year);

}  // namespace zepa
