// A whole viewer session on the scratch installation, driven by the input: start-up with the
// given store, window creation and paint, then keys, commands, mouse events, timers and
// repaints until the input runs out or the window is gone, then shutdown.
#pragma once

#include "fuzz/fuzz_input.h"
#include "settings/value_store.h"

namespace zepa::fuzz {

// Returns the number of paints that drew a chart, -1 when start-up ended before the window
// (missing file, data error).
int runViewerSession(FuzzInput& in, ValueStore& store);

}  // namespace zepa::fuzz
