// --names FILE: the stock names for the price files and, when its header has them, the listing
// columns (industries, market section, size category, margin status) for ZEPAWIN/LISTING.CSV.
// Takes the data vendor's listed-info CSV and the exchange's list of listed stocks, CP932 or
// UTF-8.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "import/import_types.h"
#include "tools/listing_writer.h"

namespace zepa {

struct NamesFile {
    std::map<int32_t, std::string> names;  // CP932, cut to the price file's 12 bytes
    std::vector<ListingEntry> listing;     // UTF-8; kept only when listingFields is not 0
    ListingFields listingFields = 0;       // the listing columns the header names, Name aside
};

// False, with the error in the report, when the file cannot be used at all. Rows without a
// usable code are passed over; the first row of a code wins.
bool readNamesFile(const std::string& path, NamesFile& out, ImportReport& report);
// The same from bytes already in memory, `name` standing for the path in messages.
bool readNamesText(const std::string& name, std::string bytes, NamesFile& out,
                   ImportReport& report);

}  // namespace zepa
