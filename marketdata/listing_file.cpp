#include "marketdata/listing_file.h"

#include <algorithm>

namespace zepa {

ListingRead readListingFile(const std::string&, ListingTable& out, std::string&) {
    out = ListingTable{};
    return ListingRead::Absent;
}

const ListingEntry* findListing(const ListingTable& table, int32_t stockCode) {
    const auto it =
        std::lower_bound(table.entries.begin(), table.entries.end(), stockCode,
                         [](const ListingEntry& e, int32_t code) { return e.stockCode < code; });
    return it != table.entries.end() && it->stockCode == stockCode ? &*it : nullptr;
}

}  // namespace zepa
