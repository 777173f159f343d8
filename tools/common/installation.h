// Loads an installation the way the viewer does at start-up: the position-file check, the
// price databases, the correction list and the position file.
#pragma once

#include <string>

#include "marketdata/correction_list.h"
#include "marketdata/installation_paths.h"
#include "marketdata/position_file.h"
#include "marketdata/price_database.h"

namespace zepa {

struct Installation {
    InstallationPaths paths;
    MarketData md;
    CorrectionList corrections;
    PositionTable positions;
};

enum class LoadOutcome {
    Loaded,
    PositionFileMissing,  // the viewer shows its message and ends
    DataError,            // md.dataError says which
};

LoadOutcome loadInstallation(const std::string& root, Installation& installation);

}  // namespace zepa
