#include "app/price_update/price_update_job.h"

#include <chrono>
#include <thread>

#include "import/data_folder.h"
#include "import/import_run.h"
#include "import/import_summary.h"
#include "import/jquants_update.h"
#include "marketdata/installation_paths.h"
#include "positions/position_request.h"

namespace zepa {
namespace {

std::string countsLine(const RowCounts& c) {
    const int64_t skipped = c.skippedNoPrices + c.skippedCode + c.skippedBad + c.duplicates;
    return "追加 " + std::to_string(c.added) + " 行、置き換え " + std::to_string(c.replaced) +
           " 行、スキップ " + std::to_string(skipped) + " 行\n";
}

std::string errorLines(const ImportReport& r) {
    std::string out;
    for (const std::string& e : r.errors) {
        out += e + "\n";
    }
    if (r.suppressedErrors > 0) {
        out += "ほか " + std::to_string(r.suppressedErrors) + " 件\n";
    }
    return out;
}

}  // namespace

std::string priceUpdateSummary(const JQuantsUpdateReport& r, int status) {
    std::string out;
    if (r.daysWritten > 0) {
        out += "株価更新: " + std::to_string(r.daysWritten) + " 日分を取り込みました（" +
               isoDate(r.lastDayWritten) + " まで）\n" + countsLine(r.import.total);
    } else if (status == kExitImported) {
        out += "株価更新: 新しい株価はありません";
        out += r.to != 0 ? "（" + isoDate(r.to) + " まで取り込み済み）\n" : "\n";
    }
    for (const std::string& n : r.notes) {
        out += n + "\n";
    }
    if (status != kExitImported) {
        out += r.stopped ? "中止しました。" : "株価更新を続けられませんでした。";
        out += r.lastDayWritten != 0 ? isoDate(r.lastDayWritten) + " までの株価は保存済みです。\n"
                                     : "株価は書き込んでいません。\n";
        if (!r.stopped) {
            out += errorLines(r.import);
        }
    }
    if (r.daysWritten > 0) {
        out += "\n" + summaryText(r.import);
    }
    return out;
}

std::string priceImportSummary(const ImportReport& r, int status) {
    if (status != kExitImported) {
        return "取り込めませんでした（何も書き込んでいません）:\n" + errorLines(r);
    }
    return "株価取り込み: " + countsLine(r.total) + "\n" + summaryText(r);
}

PriceJobOutcome runPriceUpdate(const PriceUpdateRequest& request, PriceJobProgress& progress) {
    JQuantsSettings settings;
    settings.apiBase = request.settings.apiBase;
    settings.key = request.key;
    settings.requestsPerMinute = request.settings.requestsPerMinute;
    JQuantsWorld world = request.world;
    const auto givenStop = world.stopRequested;
    world.stopRequested = [&progress, givenStop] {
        return progress.cancel.load() || (givenStop && givenStop());
    };
    if (request.realWaits) {
        world.nowMs = [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
        world.sleepMs = [&progress](int64_t ms) {
            const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
            while (!progress.cancel && std::chrono::steady_clock::now() < end) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            return !progress.cancel;
        };
    }
    JQuantsSession session(settings, world);
    JQuantsUpdateOptions options;
    options.import.root = request.root;
    options.today = request.today;
    // A first fill starts at the settings' day; later updates after the newest stored date.
    if (storedDates(makeInstallationPaths(request.root).dataDirectory).empty()) {
        options.from = firstFillDay(request.settings, request.today);
    }
    JQuantsUpdateReport report;
    const int status = runJQuantsUpdate(
        options, session,
        [&progress](const JQuantsProgress& p) {
            progress.done = p.daysDone;
            progress.total = p.daysTotal;
            progress.day = p.day;
        },
        report);
    PriceJobOutcome outcome;
    outcome.status = status;
    outcome.reload = report.daysWritten > 0 && !report.import.dryRun;
    outcome.summary = priceUpdateSummary(report, status);
    return outcome;
}

PriceJobOutcome runPriceImport(const PriceImportRequest& request, PriceJobProgress& progress) {
    progress.total = 1;
    ImportOptions options;
    options.root = request.root;
    options.files = request.files;
    options.namesFile = request.namesFile;
    ImportReport report;
    PriceJobOutcome outcome;
    outcome.status = runImport(options, report);
    progress.done = 1;
    outcome.reload = outcome.status == kExitImported;
    outcome.summary = priceImportSummary(report, outcome.status);
    return outcome;
}

}  // namespace zepa
