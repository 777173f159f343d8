// The J-Quants update: every trading day after the newest stored date (or from a given date)
// up to today in Tokyo, one request per day with its pages, the listing once per run, written
// through the importer batch by batch, so that a stop or a failure keeps every day before it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "import/import_types.h"
#include "import/jquants_session.h"

namespace zepa {

struct JQuantsUpdateOptions {
    ImportOptions import;  // root, market, skipBadRows, dryRun; files and names are not read
    int32_t from = 0;      // YYYYMMDD; 0: the day after the newest stored date
    int32_t to = 0;        // YYYYMMDD; 0: today
    int32_t today = 0;     // in Tokyo (tokyoDateOf)
    int daysPerBatch = 10;
};

struct JQuantsProgress {
    int daysDone = 0;
    int daysTotal = 0;
    int32_t day = 0;  // the day being fetched, 0 at the end
};

struct JQuantsUpdateReport {
    ImportReport import;  // the batches written, summed; the errors of the run
    int32_t from = 0;     // the range asked for, once known
    int32_t to = 0;
    int daysTotal = 0;  // trading days in the range
    int daysWritten = 0;
    int32_t lastDayWritten = 0;
    bool stopped = false;
    std::vector<std::string> notes;  // for the user, not errors
};

// kExitImported, or kExitInputError with the reason in report.import.errors (also when
// stopped before the end).
int runJQuantsUpdate(const JQuantsUpdateOptions& options, JQuantsSession& session,
                     const std::function<void(const JQuantsProgress&)>& progress,
                     JQuantsUpdateReport& report);

// The calendar date in Tokyo (UTC+9, no summer time) of a moment, as YYYYMMDD.
int32_t tokyoDateOf(int64_t unixSeconds);

// The first lines of the update's summary: the range and the days written; the importer's
// summary follows them.
std::string updateSummaryText(const JQuantsUpdateReport& report);

}  // namespace zepa
