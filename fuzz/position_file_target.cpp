// The hand-edited position file: any bytes, any line lengths, CP932 cut anywhere.
#include "app/frame_handlers.h"
#include "fuzz/scratch_installation.h"
#include "fuzz/targets.h"
#include "marketdata/position_file.h"

namespace zepa::fuzz {

int positionFileTarget(const uint8_t* data, size_t size) {
    const ScratchInstallation& s = scratchInstallation();
    writeWholeFile(s.paths.positionFile, {reinterpret_cast<const char*>(data), size});
    PositionTable table;
    bool missing = false;
    const int count = readPositionFile(s.paths.positionFile, table, &missing);
    if (count < 0 || count > kMaxPositions || count > static_cast<int>(table.records.size())) {
        __builtin_trap();
    }
    for (int i = 0; i < count; ++i) {
        positionItemText(table.records[static_cast<size_t>(i)]);
    }
    return 0;
}

}  // namespace zepa::fuzz
