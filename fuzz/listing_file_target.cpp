// The listing file: any bytes read as ZEPAWIN/LISTING.CSV, and what reads is written and read
// back the same; the same bytes as the importer's names file, merged without writing.
#include <filesystem>

#include "fuzz/scratch_installation.h"
#include "fuzz/targets.h"
#include "import/import_run.h"
#include "marketdata/listing_file.h"
#include "tools/listing_writer.h"

namespace zepa::fuzz {

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
    // The round trip below checks order, codes and cells; the flags it does not compare.
    ListingTable flags = table;
    markListingColumns(flags);
    ListingTable again;
    if (!writeListingFile(listing, table) ||
        readListingFile(listing, again, error) != ListingRead::Read ||
        again.entries != table.entries || flags.hasMargin != table.hasMargin ||
        flags.hasSector17 != table.hasSector17 || flags.hasSector33 != table.hasSector33) {
        __builtin_trap();
    }
    return 0;
}

}  // namespace zepa::fuzz
