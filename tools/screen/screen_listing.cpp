#include "tools/screen/screen_listing.h"

#include <cstdio>

#include "tools/common/tool_exit.h"

namespace zepa {

std::optional<int> readScreenListing(const char* tool, const InstallationPaths& paths,
                                     const ScreenOptions& options, ListingTable& listing,
                                     bool& hasListing) {
    std::string listingError;
    const std::string listingPath = paths.zepawin + "/" + kListingFileName;
    const ListingRead listingRead = readListingFile(listingPath, listing, listingError);
    hasListing = listingRead == ListingRead::Read;
    if (listingRead == ListingRead::Malformed) {
        // Only the industry and lending options need the file; without them the screen runs on.
        if (options.sector != 0 || options.borrowable) {
            std::fprintf(stderr, "%s: %s\n", tool, listingError.c_str());
            return kExitRefused;
        }
        std::fprintf(stderr, "%s: warning: %s; screening without listing data\n", tool,
                     listingError.c_str());
        listing = ListingTable{};
    }
    const bool sectorMissing = (options.sector == 17 && !listing.hasSector17) ||
                               (options.sector == 33 && !listing.hasSector33);
    if (sectorMissing || (options.borrowable && !listing.hasMargin)) {
        std::fprintf(
            stderr,
            "%s: %s needs the listing data's %s column in %s: import the "
            "listed-info file with zepa_import --names FILE\n",
            tool, sectorMissing ? "--sector" : "--borrowable",
            sectorMissing ? (options.sector == 17 ? "Sector17Code" : "Sector33Code") : "MarginCode",
            listingPath.c_str());
        return kExitUsageError;
    }
    return std::nullopt;
}

}  // namespace zepa
