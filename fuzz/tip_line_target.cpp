// The tip file: comment lines, blank lines, long lines, no line at all.
#include <string>

#include "app/startup.h"
#include "fuzz/scratch_installation.h"
#include "fuzz/targets.h"

namespace zepa::fuzz {

int tipLineTarget(const uint8_t* data, size_t size) {
    const ScratchInstallation& s = scratchInstallation();
    writeWholeFile(s.paths.tipFile, {reinterpret_cast<const char*>(data), size});
    for (int64_t seconds : {int64_t{0}, int64_t{1700000000}, int64_t{-1}, INT64_MAX}) {
        std::string status;
        pickTipLine(s.paths.tipFile, seconds, status);
    }
    return 0;
}

}  // namespace zepa::fuzz
