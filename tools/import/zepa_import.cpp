// zepa_import: turns the price files traders download (CSV, J-Quants JSON) into the viewer's
// price databases and keeps them up to date, from files or from the J-Quants API.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "import/import_run.h"
#include "import/jquants_key.h"
#include "import/jquants_update.h"
#include "positions/position_request.h"
#include "tools/import/import_args.h"
#include "tools/import/import_summary.h"

namespace {

// Set by Ctrl+C: the update stops before its next request and keeps every day before it.
volatile std::sig_atomic_t stopAsked = 0;

extern "C" void onInterrupt(int) {
    stopAsked = 1;
}

void printMessages(const zepa::ImportReport& report) {
    for (const std::string& w : report.warnings) {
        std::fprintf(stderr, "warning: %s\n", w.c_str());
    }
    for (const std::string& e : report.errors) {
        std::fprintf(stderr, "%s\n", e.c_str());
    }
    if (report.suppressedErrors > 0) {
        std::fprintf(stderr, "and %lld more errors\n",
                     static_cast<long long>(report.suppressedErrors));
    }
}

int runJQuants(const zepa::ImportOptions& options, const zepa::JQuantsArgs& args) {
    using namespace zepa;
    std::string key;
    std::string problem;
    if (findApiKey(args.keyFile, key, problem) != KeyResult::Found) {
        std::fprintf(stderr, "zepa_import: %s\n", problem.c_str());
        return kExitInputError;
    }
    JQuantsSettings settings;
    settings.apiBase = args.apiBase;
    settings.key = key;
    settings.requestsPerMinute = args.requestsPerMinute;
    JQuantsWorld world;
    world.nowMs = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    world.sleepMs = [](int64_t ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (stopAsked == 0 && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return stopAsked == 0;
    };
    world.stopRequested = [] { return stopAsked != 0; };
    world.note = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    JQuantsSession session(settings, world);

    JQuantsUpdateOptions update;
    update.import = options;
    update.from = args.from;
    update.to = args.to;
    update.today = tokyoDateOf(static_cast<int64_t>(std::time(nullptr)));
    std::signal(SIGINT, onInterrupt);
    JQuantsUpdateReport report;
    const int status = runJQuantsUpdate(
        update, session,
        [](const JQuantsProgress& p) {
            if (p.day != 0) {
                std::fprintf(stderr, "day %d of %d: %s\n", p.daysDone + 1, p.daysTotal,
                             isoDate(p.day).c_str());
            }
        },
        report);
    std::signal(SIGINT, SIG_DFL);
    for (const std::string& n : report.notes) {
        std::fprintf(stderr, "%s\n", n.c_str());
    }
    printMessages(report.import);
    if (options.json) {
        std::fputs(summaryJson(report.import, status).c_str(), stdout);
    } else {
        const std::string summary =
            updateSummaryText(report) + (report.daysWritten > 0 ? summaryText(report.import) : "");
        std::fputs(summary.c_str(), status == kExitImported ? stdout : stderr);
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zepa;
    std::vector<std::string> args(argv + 1, argv + argc);
    ImportOptions options;
    JQuantsArgs jquants;
    std::string problem;
    switch (parseImportArgs(args, options, jquants, problem)) {
        case ArgsResult::Help:
            std::fputs(kImportUsage, stdout);
            return kExitImported;
        case ArgsResult::Usage:
            std::fprintf(stderr, "zepa_import: %s\n%s", problem.c_str(), kImportUsage);
            return kExitUsage;
        case ArgsResult::Run:
            break;
    }
    if (jquants.enabled) {
        return runJQuants(options, jquants);
    }
    ImportReport report;
    const int status = runImport(options, report);
    printMessages(report);
    if (status != kExitImported) {
        std::fputs("zepa_import: nothing was written\n", stderr);
    }
    const std::string summary = options.json ? summaryJson(report, status) : summaryText(report);
    std::fputs(summary.c_str(), options.json || status == kExitImported ? stdout : stderr);
    return status;
}
