// zepa_import: turns the price files traders download (CSV, J-Quants JSON) into the viewer's
// price databases and keeps them up to date.
#include <cstdio>
#include <string>
#include <vector>

#include "import/import_run.h"
#include "tools/import/import_args.h"
#include "tools/import/import_summary.h"

int main(int argc, char** argv) {
    using namespace zepa;
    std::vector<std::string> args(argv + 1, argv + argc);
    ImportOptions options;
    std::string problem;
    switch (parseImportArgs(args, options, problem)) {
        case ArgsResult::Help:
            std::fputs(kImportUsage, stdout);
            return kExitImported;
        case ArgsResult::Usage:
            std::fprintf(stderr, "zepa_import: %s\n%s", problem.c_str(), kImportUsage);
            return kExitUsage;
        case ArgsResult::Run:
            break;
    }
    ImportReport report;
    const int status = runImport(options, report);
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
    if (status != kExitImported) {
        std::fputs("zepa_import: nothing was written\n", stderr);
    }
    const std::string summary = options.json ? summaryJson(report, status) : summaryText(report);
    std::fputs(summary.c_str(), options.json || status == kExitImported ? stdout : stderr);
    return status;
}
