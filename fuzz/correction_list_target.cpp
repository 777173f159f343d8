// The correction list: numbers of any size, junk, long lines, more entries than it holds.
#include "fuzz/scratch_installation.h"
#include "fuzz/targets.h"
#include "marketdata/correction_list.h"

namespace zepa::fuzz {

int correctionListTarget(const uint8_t* data, size_t size) {
    const ScratchInstallation& s = scratchInstallation();
    writeWholeFile(s.paths.correctionFile, {reinterpret_cast<const char*>(data), size});
    CorrectionList list;
    loadCorrectionList(s.paths.correctionFile, list);
    if (list.correctionCount < 0 || list.correctionCount > kMaxCorrections) {
        __builtin_trap();
    }
    for (int i = 0; i < list.correctionCount; ++i) {
        // A listed code is corrected on every market.
        const int32_t code = list.entries[i];
        if (code >= 0 && code < 100000 && correctionFactorOf(list, 100000000 + code) != 100) {
            __builtin_trap();
        }
    }
    for (StockKey key : {0, -1, INT32_MIN, INT32_MAX, 100001301}) {
        correctionFactorOf(list, key);
    }
    return 0;
}

}  // namespace zepa::fuzz
