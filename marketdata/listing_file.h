// The listing data kept beside the position file (ZEPAWIN/LISTING.CSV): per stock its
// industries, market section, size category and margin status, as the exchange's and the data
// vendor's listed-info files give them. Written by zepa_import --names; read by the pair screen.
// UTF-8 without BOM, CSV (a cell holding a comma or a quote is quoted, quotes doubled), the
// header line
//   Code,Name,Sector17Code,Sector17CodeName,Sector33Code,Sector33CodeName,MarketCode,ScaleCategory,MarginCode
// then one stock a line ordered by code, the code as its 4 digits; a cell may be empty where
// the source had nothing.
// Reading is lenient where nothing is lost: a UTF-8 BOM, CR LF line ends and blank lines pass,
// columns the reader does not know are ignored, and a header without one of the columns above
// (Code aside) reads that column as empty everywhere. Everything else that is not as written
// refuses the whole file with its line: a screen on half a listing would silently drop pairs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zepa {

inline constexpr const char* kListingFileName = "LISTING.CSV";
inline constexpr const char* kListingHeader =
    "Code,Name,Sector17Code,Sector17CodeName,Sector33Code,Sector33CodeName,MarketCode,"
    "ScaleCategory,MarginCode";

// Bounds on what the reader accepts (and the writer keeps to): a cell of at most 256 bytes
// without control characters, a line of at most 64 KiB, a file of at most 16 MiB.
inline constexpr size_t kMaxListingCell = 256;
inline constexpr size_t kMaxListingLine = 64 * 1024;
inline constexpr uint64_t kMaxListingFileBytes = 16 * 1024 * 1024;

// MarginCode as the listed-info files give it.
inline constexpr int32_t kMarginUnknown = 0;
inline constexpr int32_t kMarginCredit = 1;    // 信用
inline constexpr int32_t kMarginLendable = 2;  // 貸借
inline constexpr int32_t kMarginOther = 3;

struct ListingEntry {
    int32_t stockCode = 0;     // 4-digit code as the price files key it
    std::string name;          // UTF-8
    std::string sector17Code;  // "" where unknown
    std::string sector17Name;
    std::string sector33Code;
    std::string sector33Name;
    std::string marketCode;     // the vendor's market section code
    std::string scaleCategory;  // 規模区分
    int32_t marginCode = kMarginUnknown;

    bool operator==(const ListingEntry&) const = default;
};

struct ListingTable {
    std::vector<ListingEntry> entries;  // sorted by stockCode, one per code
    // Whether any entry has the column filled: a screen option that needs a column refuses to
    // run without it.
    bool hasSector17 = false;
    bool hasSector33 = false;
    bool hasMargin = false;
};

enum class ListingRead {
    Read,
    Absent,     // no file: an installation without listing data
    Malformed,  // error names the file and the line
};

// Reads <zepawin>/LISTING.CSV. Bad lines are refused with the file and line in `error`; nothing
// in a hostile file can make it crash or allocate without bound.
ListingRead readListingFile(const std::string& path, ListingTable& out, std::string& error);

// Sets the table's has* flags from its entries.
void markListingColumns(ListingTable& table);

// The entry of a code, or nullptr.
const ListingEntry* findListing(const ListingTable& table, int32_t stockCode);

}  // namespace zepa
