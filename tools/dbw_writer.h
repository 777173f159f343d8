// Writes price database files (DBW.*) from stocks and dates held in memory: the fixtures of
// the tests, the demo installation and the benchmarks all come from here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "marketdata/packed_date.h"

namespace zepa {

struct DbwRecord {
    int32_t open = 0;
    int32_t high = 0;
    int32_t low = 0;  // 0: no trade on this date
    int32_t close = 0;
    int64_t volume = 0;  // stored as the nearest QuantityCode
    uint16_t adjustment = 0;
};

struct DbwStock {
    int32_t key = 0;   // market * 100,000,000 + code; 0 ends the valid stocks
    std::string name;  // CP932 bytes, cut or padded with spaces to 12
    // One record per date slot. Fewer records leave the rest of the block zero; no records
    // leave the whole block unwritten (a hole in a sparse file).
    std::vector<DbwRecord> records;
};

struct DbwFile {
    std::vector<PackedDate> dates;  // month 0 ends the valid dates
    std::vector<DbwStock> stocks;
    int unusedStockSlots = 0;  // extra slots after the stocks, key 0
    int unusedDateSlots = 0;   // extra slots after the dates, month 0
    // For damaged files: header values that differ from what is written, and a cut.
    std::optional<uint16_t> headerStockSlots;
    std::optional<uint16_t> headerDateSlots;
    std::optional<uint64_t> truncateAt;
};

// The code whose value is nearest to the count (the lower code on a tie).
uint16_t encodeQuantity(int64_t value);

// False when the file cannot be written.
bool writePriceDatabase(const std::string& path, const DbwFile& file);

}  // namespace zepa
