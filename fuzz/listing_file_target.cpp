// The listing file: any bytes read as ZEPAWIN/LISTING.CSV, and what reads is written and read
// back the same; the same bytes as the importer's names file, merged without writing.
#include <filesystem>

#include "fuzz/scratch_installation.h"
#include "fuzz/targets.h"
#include "marketdata/listing_file.h"
#include "tools/import/import_run.h"
#include "tools/listing_writer.h"

namespace zepa::fuzz {
namespace {

void checkTable(const ListingTable& t) {
    ListingTable flags = t;
    markListingColumns(flags);
    if (flags.hasMargin != t.hasMargin || flags.hasSector17 != t.hasSector17 ||
        flags.hasSector33 != t.hasSector33 || t.entries.size() > 9999) {
        __builtin_trap();
    }
    for (size_t i = 0; i < t.entries.size(); ++i) {
        const ListingEntry& e = t.entries[i];
        if (e.stockCode < 1 || e.stockCode > 9999 || e.marginCode < 0 || e.marginCode > 3 ||
            (i > 0 && e.stockCode <= t.entries[i - 1].stockCode) ||
            e.name.size() > kMaxListingCell) {
            __builtin_trap();
        }
    }
}

}  // namespace

int listingFileTarget(const uint8_t* data, size_t size) {
    const ScratchInstallation& s = scratchInstallation();
    const std::string listing = s.paths.zepawin + "/" + kListingFileName;
    const std::string names = s.root + "/names.csv";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::filesystem::remove(listing);
    writeWholeFile(names, bytes);
    ImportOptions options;
    options.root = s.root;
    options.namesFile = names;
    options.dryRun = true;
    ImportReport report;
    if (runImport(options, report) == kExitImported &&
        (!report.listingWritten || report.listingStocks > 9999 ||
         report.listingStocks != report.listingGiven)) {
        __builtin_trap();
    }

    writeWholeFile(listing, bytes);
    ListingTable table;
    std::string error;
    const ListingRead read = readListingFile(listing, table, error);
    if (read != ListingRead::Read) {
        if (read != ListingRead::Malformed || !error.starts_with(listing) ||
            !table.entries.empty()) {
            __builtin_trap();
        }
        return 0;
    }
    checkTable(table);
    ListingTable again;
    if (!writeListingFile(listing, table) ||
        readListingFile(listing, again, error) != ListingRead::Read ||
        again.entries != table.entries) {
        __builtin_trap();
    }
    return 0;
}

}  // namespace zepa::fuzz
