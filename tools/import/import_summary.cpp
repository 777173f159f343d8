#include "tools/import/import_summary.h"

#include "tools/common/json_writer.h"

namespace zepa {
namespace {

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
