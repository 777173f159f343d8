// The demo market's listing data (ZEPAWIN/LISTING.CSV): industries by sector, margin status,
// market section and size, as a vendor's listed-info file would give them.
#pragma once

#include <span>

#include "marketdata/listing_file.h"
#include "tools/demo/demo_universe.h"

namespace zepa {

// Every stock but the index. Stocks of the first section trade on margin both ways (貸借);
// the others and the new listing only on the buy side (信用).
ListingTable demoListing(std::span<const DemoStock> stocks);

}  // namespace zepa
