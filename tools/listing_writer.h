// Writes the listing file (ZEPAWIN/LISTING.CSV, marketdata/listing_file.h) and merges new
// listing data into what it holds: the importer's --names and the demo generator both write it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "marketdata/listing_file.h"

namespace zepa {

// The columns a source of listing data gives, as bits.
enum class ListingField : uint32_t {
    Name = 1u << 0,
    Sector17Code = 1u << 1,
    Sector17Name = 1u << 2,
    Sector33Code = 1u << 3,
    Sector33Name = 1u << 4,
    MarketCode = 1u << 5,
    ScaleCategory = 1u << 6,
    MarginCode = 1u << 7,
};
using ListingFields = uint32_t;
inline constexpr ListingFields kAllListingFields = 0xFF;

constexpr ListingFields operator|(ListingField a, ListingField b) {
    return static_cast<ListingFields>(a) | static_cast<ListingFields>(b);
}
constexpr bool hasField(ListingFields fields, ListingField f) {
    return (fields & static_cast<ListingFields>(f)) != 0;
}

// Brings `fresh` (one entry per code, any order) into the table. A stock's value of a column in
// `given` replaces the stored one unless it is empty (a source without the value does not erase
// it); the columns not in `given` keep their stored values; stocks only in the table stay.
void mergeListing(ListingTable& table, const std::vector<ListingEntry>& fresh, ListingFields given);

// The file's bytes. Cells are cut to what the reader takes (kMaxListingCell bytes at a character
// boundary, control characters as blanks; text that is not UTF-8 is left out).
std::string listingFileText(const ListingTable& table);

// The text written durably (base/durable_file.h).
bool writeListingFile(const std::string& path, const ListingTable& table);

}  // namespace zepa
