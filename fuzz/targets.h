// The fuzz targets: each takes one input and returns 0. The fuzzers call them through
// LLVMFuzzerTestOneInput; the regression test replays the committed inputs through them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zepa::fuzz {

// One to three price files, then every listed stock's series and absent keys.
int priceDatabaseTarget(const uint8_t* data, size_t size);
// The position file, read and shown as selector items.
int positionFileTarget(const uint8_t* data, size_t size);
// The position writer: a file and one edit of it; what is kept and what reads back.
int positionWriterTarget(const uint8_t* data, size_t size);
// The correction list and the factor of listed and absent keys.
int correctionListTarget(const uint8_t* data, size_t size);
// The tip file and the line picked at a few clock values.
int tipLineTarget(const uint8_t* data, size_t size);
// Stored settings texts, then a viewer session over a fixed installation with them.
int settingsTarget(const uint8_t* data, size_t size);
// A price file of arbitrary series and a session that paints them and lists them in both data
// windows.
int viewerSessionTarget(const uint8_t* data, size_t size);
// Any bytes as a price file for the importer (named 7203.csv; 7203.json), read and merged
// without writing, strictly and skipping bad rows.
int importCsvTarget(const uint8_t* data, size_t size);
int importJsonTarget(const uint8_t* data, size_t size);
// Any bytes as the listing file, read, written and read back; and as a names file for the
// importer's listing columns.
int listingFileTarget(const uint8_t* data, size_t size);

struct FuzzTarget {
    std::string_view name;
    int (*run)(const uint8_t*, size_t);
};
inline constexpr FuzzTarget kFuzzTargets[] = {
    {"price_database", priceDatabaseTarget},
    {"position_file", positionFileTarget},
    {"position_writer", positionWriterTarget},
    {"correction_list", correctionListTarget},
    {"tip_line", tipLineTarget},
    {"settings", settingsTarget},
    {"viewer_session", viewerSessionTarget},
    {"import_csv", importCsvTarget},
    {"import_json", importJsonTarget},
    {"listing_file", listingFileTarget},
};

}  // namespace zepa::fuzz
