#include "import/import_summary.h"

#include <cstdio>

namespace zepa {

std::string skippedText(const RowCounts& c) {
    std::string out;
    auto part = [&](int64_t n, const char* why) {
        if (n > 0) {
            out += (out.empty() ? "" : ", ") + std::to_string(n) + " " + why;
        }
    };
    part(c.skippedNoPrices, "without prices");
    part(c.skippedCode, "with unusable codes");
    part(c.skippedBad, "bad");
    part(c.duplicates, "given twice");
    return out.empty() ? "none" : out;
}

std::string summaryText(const ImportReport& r) {
    std::string out;
    char line[512];
    for (const WrittenFile& f : r.files) {
        std::snprintf(line, sizeof line,
                      "%s %s: %d stocks, %d dates, %lld rows added, %lld replaced, %lld prices "
                      "rounded, skipped: %s\n",
                      r.dryRun ? "would write" : (f.existed ? "updated" : "wrote"), f.name.c_str(),
                      f.stocks, f.dates, static_cast<long long>(f.counts.added),
                      static_cast<long long>(f.counts.replaced),
                      static_cast<long long>(f.counts.pricesRounded),
                      skippedText(f.counts).c_str());
        out += line;
    }
    std::snprintf(line, sizeof line,
                  "%lld rows read: %lld added, %lld replaced, %lld prices rounded, %lld volumes "
                  "capped, skipped: %s\n",
                  static_cast<long long>(r.rowsRead), static_cast<long long>(r.total.added),
                  static_cast<long long>(r.total.replaced),
                  static_cast<long long>(r.total.pricesRounded),
                  static_cast<long long>(r.total.volumesCapped), skippedText(r.total).c_str());
    out += line;
    if (!r.skippedCodes.empty()) {
        out += "codes skipped:";
        for (const auto& [code, rows] : r.skippedCodes) {
            out += " " + (code.empty() ? std::string("(none)") : code) + " (" +
                   std::to_string(rows) + ")";
        }
        out += "\n";
    }
    if (r.listingWritten) {
        std::snprintf(line, sizeof line,
                      "%s ZEPAWIN/LISTING.CSV: %lld stocks, %lld of them from the names file\n",
                      r.dryRun ? "would write" : "wrote", static_cast<long long>(r.listingStocks),
                      static_cast<long long>(r.listingGiven));
        out += line;
    }
    if (r.positionTemplateWritten) {
        out += "wrote a position file template ZEPAWIN/ZEPA_SPW.DAT\n";
    }
    return out;
}

}  // namespace zepa
