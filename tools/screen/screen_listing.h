// The listing data a screen's universe rules read, as zepa_screen and zepa_walkforward both read
// it: a malformed file is only fatal when an industry or lending option needs it.
#pragma once

#include <optional>
#include <string>

#include "marketdata/installation_paths.h"
#include "marketdata/listing_file.h"
#include "screen/screen_options.h"

namespace zepa {

// Reads the listing file into `listing` (empty when it is missing or may be ignored), warning
// on stderr as `tool`. nullopt to go on; otherwise the exit status, the reason printed.
std::optional<int> readScreenListing(const char* tool, const InstallationPaths& paths,
                                     const ScreenOptions& options, ListingTable& listing,
                                     bool& hasListing);

}  // namespace zepa
