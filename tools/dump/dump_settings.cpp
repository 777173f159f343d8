#include "tools/dump/dump_commands.h"

namespace zepa {

int dumpSettings(const DumpOptions&) {
    return printError(kExitFailure, "zepa_dump: settings are not available in this build");
}

}  // namespace zepa
