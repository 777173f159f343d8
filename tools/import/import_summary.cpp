#include "tools/import/import_summary.h"

#include <cstdio>

#include "tools/common/json_writer.h"

namespace zepa {
namespace {

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

void countsJson(JsonWriter& w, const RowCounts& c) {
    w.key("rowsAdded").value(c.added);
    w.key("rowsReplaced").value(c.replaced);
    w.key("pricesRounded").value(c.pricesRounded);
    w.key("volumesCapped").value(c.volumesCapped);
    w.key("skipped").beginObject();
    w.key("noPrices").value(c.skippedNoPrices);
    w.key("unusableCode").value(c.skippedCode);
    w.key("badRow").value(c.skippedBad);
    w.key("duplicate").value(c.duplicates);
    w.endObject();
}

}  // namespace

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

std::string summaryJson(const ImportReport& r, int exitStatus) {
    JsonWriter w;
    w.beginObject();
    w.key("exitStatus").value(exitStatus);
    w.key("dryRun").value(r.dryRun);
    w.key("files").beginArray();
    for (const WrittenFile& f : r.files) {
        w.newline().beginObject();
        w.key("name").value(f.name);
        w.key("existed").value(f.existed);
        w.key("stocks").value(f.stocks);
        w.key("dates").value(f.dates);
        countsJson(w, f.counts);
        w.endObject();
    }
    w.endArray();
    w.key("rowsRead").value(r.rowsRead);
    countsJson(w, r.total);
    w.key("skippedCodes").beginObject();
    for (const auto& [code, rows] : r.skippedCodes) {
        w.key(code).value(rows);
    }
    w.endObject();
    w.key("positionTemplateWritten").value(r.positionTemplateWritten);
    w.key("listing");
    if (r.listingWritten) {
        w.beginObject();
        w.key("stocks").value(r.listingStocks);
        w.key("fromNamesFile").value(r.listingGiven);
        w.endObject();
    } else {
        w.null();
    }
    w.key("errors").beginArray();
    for (const std::string& e : r.errors) {
        w.value(e);
    }
    w.endArray();
    w.key("moreErrors").value(r.suppressedErrors);
    w.key("warnings").beginArray();
    for (const std::string& e : r.warnings) {
        w.value(e);
    }
    w.endArray();
    w.endObject();
    return w.text() + "\n";
}

}  // namespace zepa
