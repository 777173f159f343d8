// The importer's readers: any bytes as a CSV or JSON price file, imported without writing into
// the scratch installation, strictly and then skipping bad rows.
#include "fuzz/scratch_installation.h"
#include "fuzz/targets.h"
#include "import/import_run.h"

namespace zepa::fuzz {
namespace {

int importTarget(const uint8_t* data, size_t size, const char* fileName) {
    const ScratchInstallation& s = scratchInstallation();
    const std::string path = s.root + "/" + fileName;
    writeWholeFile(path, {reinterpret_cast<const char*>(data), size});
    ImportOptions options;
    options.root = s.root;
    options.files = {path};
    options.dryRun = true;
    ImportReport strict;
    const int strictStatus = runImport(options, strict);
    options.skipBadRows = true;
    ImportReport lenient;
    const int lenientStatus = runImport(options, lenient);
    if (strict.errors.size() > kMaxReportedErrors || lenient.errors.size() > kMaxReportedErrors) {
        __builtin_trap();
    }
    // What passes strictly passes the same way when bad rows may be skipped.
    if (strictStatus == kExitImported &&
        (lenientStatus != kExitImported || lenient.total.added != strict.total.added ||
         lenient.files.size() != strict.files.size())) {
        __builtin_trap();
    }
    for (const WrittenFile& f : lenient.files) {
        // A year has at most 366 dates, and every stock in it had a row.
        if (f.dates < 1 || f.dates > 366 || f.stocks < 1 || f.stocks > lenient.rowsRead) {
            __builtin_trap();
        }
    }
    return 0;
}

}  // namespace

int importCsvTarget(const uint8_t* data, size_t size) {
    return importTarget(data, size, "7203.csv");
}

int importJsonTarget(const uint8_t* data, size_t size) {
    return importTarget(data, size, "7203.json");
}

}  // namespace zepa::fuzz
