// 株価更新 and 株価取り込み… as the viewer runs them: the J-Quants update or an import of chosen
// files on a thread of their own (BackgroundJob), with progress a window polls, a cancel flag,
// and the summary it shows afterwards (UTF-8). Whether the prices must be reloaded is part of
// the outcome.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "app/price_update/price_update_settings.h"
#include "import/import_types.h"
#include "import/jquants_session.h"
#include "import/jquants_update.h"

namespace zepa {

struct PriceJobProgress {
    std::atomic<int> done{0};   // days fetched (update) or 0/1 (import)
    std::atomic<int> total{0};  // 0 while unknown: the bar runs without a scale
    std::atomic<int32_t> day{0};
    std::atomic<bool> cancel{false};
};

struct PriceJobOutcome {
    int status = kExitInputError;
    bool reload = false;  // something was written
    std::string summary;  // UTF-8, for the summary box
};

struct PriceUpdateRequest {
    std::string root;  // holds ZEPAWIN/
    std::string key;
    PriceUpdateSettings settings;
    int32_t today = 0;  // in Tokyo
    // The network and the waits; the real ones unless a test gives its own.
    JQuantsWorld world;
    bool realWaits = true;
};

// The whole update on the calling thread; a set cancel flag stops it before its next request.
PriceJobOutcome runPriceUpdate(const PriceUpdateRequest& request, PriceJobProgress& progress);

struct PriceImportRequest {
    std::string root;
    std::vector<std::string> files;  // broker CSV, J-Quants CSV or JSON
    std::string namesFile;           // optional
};

PriceJobOutcome runPriceImport(const PriceImportRequest& request, PriceJobProgress& progress);

// The summaries: what was added, replaced and skipped, or why nothing (more) was written.
std::string priceUpdateSummary(const JQuantsUpdateReport& report, int status);
std::string priceImportSummary(const ImportReport& report, int status);

}  // namespace zepa
