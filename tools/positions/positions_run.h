// What zepa_positions does once its command line is read: the same core calls as the viewer's
// dialogs, with text or JSON for scripts.
#pragma once

#include <string>

#include "positions/position_overview.h"
#include "tools/positions/positions_args.h"

namespace zepa {

inline constexpr int kPositionsOk = 0;
inline constexpr int kPositionsRefused = 1;
inline constexpr int kPositionsUsageError = 2;

// The exit code; what goes to standard output and standard error (UTF-8). `overview` holds the
// settings list's figures are formed with (the viewer's stored ones in the command).
int runPositions(const PositionsArgs& args, std::string& out, std::string& err,
                 const OverviewSettings& overview = {});

}  // namespace zepa
