#include "import/import_run.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <new>
#include <set>
#include <system_error>

#include "base/codepage.h"
#include "base/durable_file.h"
#include "import/csv_reader.h"
#include "import/data_folder.h"
#include "import/field_values.h"
#include "import/json_reader.h"
#include "import/names_file.h"
#include "import/position_template.h"
#include "import/text_input.h"
#include "import/year_merge.h"
#include "marketdata/installation_paths.h"
#include "marketdata/listing_file.h"
#include "marketdata/market_code.h"
#include "marketdata/price_database.h"
#include "positions/position_request.h"
#include "tools/dbw_writer.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;

void addError(ImportReport& report, const std::string& message) {
    if (report.errors.size() < kMaxReportedErrors) {
        report.errors.push_back(message);
    } else {
        ++report.suppressedErrors;
    }
}

// `text` holds the input's bytes; it is the caller's buffer, kept between inputs so that its
// memory is reused.
void readInputText(const std::string& name, uint32_t index, const ImportOptions& o,
                   RowCollector& rows, std::string& text) {
    SourceFile file;
    file.displayName = name;
    file.index = index;
    if (o.code) {
        file.fileCode = o.code;
        file.fileCodeText = std::to_string(*o.code);
    } else {
        file.fileCodeText = codeTextOfFileName(fs::path(name).filename().string());
        int32_t code = 0;
        if (parseStockCode(file.fileCodeText, code) == CodeResult::Ok) {
            file.fileCode = code;
        }
    }
    bool cp932 = false;
    if (decodeText(text, cp932) != TextResult::Ok) {
        rows.fileError(file, 0, "UTF-16 text; save it as UTF-8 or Shift-JIS (CP932)");
        return;
    }
    if (looksLikeJson(text)) {
        readJsonPrices(text, file, rows);
    } else {
        readCsvPrices(text, file, rows);
    }
}

void readInput(const std::string& path, uint32_t index, const ImportOptions& o, RowCollector& rows,
               std::string& text) {
    if (!readWholeFile(path, text)) {
        SourceFile file;
        file.displayName = path;
        file.index = index;
        rows.fileError(file, 0, "cannot be read");
        return;
    }
    readInputText(path, index, o, rows, text);
}

// The name of input `index` in messages: the files first, then the texts.
const std::string& sourceName(const ImportOptions& o, uint32_t index) {
    return index < o.files.size() ? o.files[index] : o.texts[index - o.files.size()].name;
}

bool sameValues(const PriceRow& a, const PriceRow& b) {
    return a.open == b.open && a.high == b.high && a.low == b.low && a.close == b.close &&
           a.volume == b.volume && a.adjustment == b.adjustment;
}

// Orders the rows by year, stock and date, rows of the same stock and date in the order they
// were read (file, then line). A counting sort by year and stock keeps the read order within
// each stock, where dates of per-day files already ascend; only runs out of order are sorted.
void sortRows(std::vector<PriceRow>& rows) {
    std::vector<int> years;
    for (const PriceRow& r : rows) {
        if (years.empty() || years.back() != r.date / 10000) {
            years.push_back(r.date / 10000);
        }
    }
    std::sort(years.begin(), years.end());
    years.erase(std::unique(years.begin(), years.end()), years.end());
    auto bucketOf = [&](const PriceRow& r) {
        const size_t y = static_cast<size_t>(
            std::lower_bound(years.begin(), years.end(), r.date / 10000) - years.begin());
        return y * kStockCodeModulus + static_cast<size_t>(r.code);
    };
    std::vector<uint32_t> start(years.size() * kStockCodeModulus + 1, 0);
    for (const PriceRow& r : rows) {
        ++start[bucketOf(r) + 1];
    }
    for (size_t b = 1; b < start.size(); ++b) {
        start[b] += start[b - 1];
    }
    std::vector<PriceRow> sorted(rows.size());
    std::vector<uint32_t> next(start.begin(), start.end() - 1);
    for (const PriceRow& r : rows) {
        sorted[next[bucketOf(r)]++] = r;
    }
    rows = std::move(sorted);
    const auto byDate = [](const PriceRow& a, const PriceRow& b) { return a.date < b.date; };
    for (size_t b = 0; b + 1 < start.size(); ++b) {
        const auto first = rows.begin() + start[b];
        const auto last = rows.begin() + start[b + 1];
        if (last - first > 1 && !std::is_sorted(first, last, byDate)) {
            std::stable_sort(first, last, byDate);
        }
    }
}

// Sorts, and keeps one row per stock and date.
void sortAndDeduplicate(std::vector<PriceRow>& rows, const ImportOptions& o, bool skipBad,
                        ImportReport& report) {
    sortRows(rows);
    size_t kept = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (kept > 0 && rows[kept - 1].code == rows[i].code &&
            rows[kept - 1].date == rows[i].date) {
            const PriceRow& first = rows[kept - 1];
            const PriceRow& again = rows[i];
            if (sameValues(first, again)) {
                ++report.total.duplicates;
                continue;
            }
            const std::string what =
                sourceName(o, again.source) + ":" + std::to_string(again.line) + ": " +
                std::to_string(again.code) + " on " + isoDate(again.date) +
                " is given again with other values (first at " + sourceName(o, first.source) + ":" +
                std::to_string(first.line) + ")";
            if (skipBad) {
                ++report.total.skippedBad;
                if (report.warnings.size() < kMaxReportedErrors) {
                    report.warnings.push_back(what + " (row skipped)");
                }
            } else {
                addError(report, what);
            }
            continue;
        }
        rows[kept++] = rows[i];
    }
    rows.resize(kept);
}

void removeTemporaries(const std::vector<std::string>& paths) {
    for (const std::string& p : paths) {
        std::error_code ec;
        fs::remove(p, ec);
    }
}

// The names file's listing columns merged into the stored listing file. False, with the error
// reported, when the stored file cannot be read: it is not written over.
bool mergeStoredListing(const std::string& path, const NamesFile& names, ListingTable& listing,
                        ImportReport& report) {
    std::string problem;
    if (readListingFile(path, listing, problem) == ListingRead::Malformed) {
        addError(report, problem + " (mend or remove the listing file to import listing data)");
        return false;
    }
    mergeListing(listing, names.listing,
                 names.listingFields | static_cast<ListingFields>(ListingField::Name));
    report.listingGiven = static_cast<int64_t>(names.listing.size());
    report.listingStocks = static_cast<int64_t>(listing.entries.size());
    return true;
}

// Writes the listing under its temporary name beside the final one, to be renamed with the
// price files.
bool stageListing(const std::string& finalPath, const ListingTable& listing,
                  std::vector<std::string>& temporaries, std::vector<std::string>& finals,
                  ImportReport& report) {
    const std::string temporary = finalPath + ".tmp";
    temporaries.push_back(temporary);
    if (!writeFileFlushed(temporary, listingFileText(listing))) {
        addError(report, temporary + ": cannot be written (disk full? no permission?)");
        return false;
    }
    finals.push_back(finalPath);
    return true;
}

int importChecked(const ImportOptions& o, ImportReport& report, const ImportHooks& hooks) {
    const InstallationPaths paths = makeInstallationPaths(o.root);
    const int marketCode = marketCodeOf(o.market);

    NamesFile namesFile;
    if (!o.namesFile.empty() && !readNamesFile(o.namesFile, namesFile, report)) {
        return kExitInputError;
    }
    if (o.namesText && !readNamesText(o.namesText->name, o.namesText->text, namesFile, report)) {
        return kExitInputError;
    }
    const std::map<int32_t, std::string>& listNames = namesFile.names;
    const bool withListing = namesFile.listingFields != 0;
    const std::string listingPath = (fs::path(paths.zepawin) / kListingFileName).string();
    ListingTable listing;
    if (withListing && !mergeStoredListing(listingPath, namesFile, listing, report)) {
        return kExitInputError;
    }
    // Every successful end: the listing is written (or would be) only then.
    const auto imported = [&] {
        report.listingWritten = withListing;
        return kExitImported;
    };
    if (o.files.empty() && o.texts.empty() && !withListing) {
        addError(report, (o.namesText ? o.namesText->name : o.namesFile) +
                             ": no listing columns (Sector33Code/33業種コード, MarginCode...) and "
                             "no price file to import");
        return kExitInputError;
    }
    RowCollector collector(report, o.skipBadRows);
    uintmax_t inputBytes = 0;
    for (const std::string& path : o.files) {
        std::error_code sizeError;
        const uintmax_t size = fs::file_size(path, sizeError);
        inputBytes += sizeError ? 0 : size;
    }
    for (const InputText& t : o.texts) {
        inputBytes += t.text.size();
    }
    collector.expectInputBytes(inputBytes);
    std::string text;
    for (size_t i = 0; i < o.files.size(); ++i) {
        readInput(o.files[i], static_cast<uint32_t>(i), o, collector, text);
    }
    for (size_t i = 0; i < o.texts.size(); ++i) {
        text = o.texts[i].text;
        readInputText(o.texts[i].name, static_cast<uint32_t>(o.files.size() + i), o, collector,
                      text);
    }
    text = std::string();
    if (!report.errors.empty()) {
        return kExitInputError;
    }
    std::vector<PriceRow>& rows = collector.rows();
    sortAndDeduplicate(rows, o, o.skipBadRows, report);
    if (!report.errors.empty()) {
        return kExitInputError;
    }

    std::set<int> years;
    for (const PriceRow& r : rows) {
        years.insert(r.date / 10000);
    }
    for (const SplitOption& s : o.splits) {
        years.insert(s.date / 10000);
    }
    if (years.empty()) {
        // No prices to store (the report says what was skipped); the listing alone, if given.
        if (!withListing || o.dryRun) {
            return imported();
        }
        std::error_code ec;
        fs::create_directories(paths.zepawin, ec);
        std::vector<std::string> temporaries, finals;
        if (!stageListing(listingPath, listing, temporaries, finals, report)) {
            removeTemporaries(temporaries);
            return kExitInputError;
        }
        if (!replaceFile(temporaries[0], finals[0])) {
            addError(report,
                     finals[0] + ": cannot be replaced; the new data is left in " + temporaries[0]);
            return kExitInputError;
        }
        return imported();
    }

    const DataFolderSurvey survey = surveyDataFolder(paths.dataDirectory, years);
    for (const std::string& problem : survey.problems) {
        addError(report, problem);
    }
    int newFiles = 0;
    for (int y : years) {
        newFiles += survey.yearFiles.contains(y) ? 0 : 1;
    }
    if (survey.databaseEntries + newFiles > kMaxPriceDatabases) {
        addError(report, "DATA/ would hold " + std::to_string(survey.databaseEntries + newFiles) +
                             " price files; the viewer reads at most 100");
    }
    std::error_code ec;
    if (!survey.exists && fs::exists(paths.dataDirectory, ec)) {
        addError(report, paths.dataDirectory + " is not a folder");
    }
    if (!report.errors.empty()) {
        return kExitInputError;
    }
    if (!o.dryRun && !survey.exists) {
        fs::create_directories(paths.dataDirectory, ec);
        if (ec) {
            addError(report, paths.dataDirectory + ": cannot be created (" + ec.message() + ")");
            return kExitInputError;
        }
    }

    const std::map<int32_t, std::string>& columnNames = collector.names();
    auto nameOf = [&](int32_t code) -> std::string {
        if (auto it = listNames.find(code); it != listNames.end()) {
            return it->second;
        }
        if (auto it = columnNames.find(code); it != columnNames.end()) {
            return it->second;
        }
        return {};
    };

    std::vector<std::string> temporaries;
    std::vector<std::string> finals;
    auto begin = rows.begin();
    for (int y : years) {
        auto end =
            std::find_if(begin, rows.end(), [y](const PriceRow& r) { return r.date / 10000 != y; });
        WrittenFile written;
        written.year = y;
        written.counts = collector.yearCounts()[y];
        const auto existing = survey.yearFiles.find(y);
        written.existed = existing != survey.yearFiles.end();
        written.name = written.existed ? existing->second : "DBW." + std::to_string(y);
        YearData stored;
        std::string problem;
        const std::string finalPath = (fs::path(paths.dataDirectory) / written.name).string();
        if (written.existed && !readYearFile(finalPath, y, stored, problem)) {
            addError(report, "DATA/" + written.name + " " + problem);
            removeTemporaries(temporaries);
            return kExitInputError;
        }
        YearData merged = mergeYear(
            std::move(stored), std::span<const PriceRow>(&*begin, static_cast<size_t>(end - begin)),
            marketCode, nameOf, written.counts);
        begin = end;
        for (const SplitOption& s : o.splits) {
            if (s.date / 10000 == y &&
                !applySplit(merged, marketCode * kMarketScale + s.code, s.date, s.adjustment)) {
                addError(report, "--split " + s.text + ": no price of " + std::to_string(s.code) +
                                     " on " + isoDate(s.date) + " to mark");
            }
        }
        if (merged.keys.size() > 65535) {
            addError(report, written.name + ": more than 65,535 stocks in one year");
        }
        if (!report.errors.empty()) {
            removeTemporaries(temporaries);
            return kExitInputError;
        }
        written.stocks = static_cast<int>(merged.keys.size());
        written.dates = static_cast<int>(merged.dates.size());
        report.total.added += written.counts.added;
        report.total.replaced += written.counts.replaced;
        if (!o.dryRun) {
            const std::string temporary =
                (fs::path(paths.dataDirectory) / temporaryNameOf(y)).string();
            temporaries.push_back(temporary);
            const DbwFile file = toDbwFile(merged);
            merged = YearData{};
            if (!writePriceDatabase(temporary, file) || !flushFileToDisk(temporary)) {
                addError(report, temporary + ": cannot be written (disk full? no permission?)");
                removeTemporaries(temporaries);
                return kExitInputError;
            }
            finals.push_back(finalPath);
        }
        report.files.push_back(written);
    }
    if (o.dryRun) {
        return imported();
    }
    if (withListing && !stageListing(listingPath, listing, temporaries, finals, report)) {
        removeTemporaries(temporaries);
        return kExitInputError;
    }
    if (hooks.beforeRename) {
        hooks.beforeRename();
    }
    for (size_t i = 0; i < temporaries.size(); ++i) {
        if (!replaceFile(temporaries[i], finals[i])) {
            addError(report,
                     finals[i] + ": cannot be replaced; the new data is left in " + temporaries[i]);
            return kExitInputError;
        }
    }
    report.positionTemplateWritten = writePositionTemplate(paths.positionFile);
    return imported();
}

}  // namespace

std::string temporaryNameOf(int year) {
    return "zepa_import-" + std::to_string(year) + ".tmp";
}

int runImport(const ImportOptions& options, ImportReport& report, const ImportHooks& hooks) {
    report = ImportReport{};
    report.dryRun = options.dryRun;
    try {
        return importChecked(options, report, hooks);
    } catch (const std::bad_alloc&) {
        addError(report, "out of memory");
        return kExitInputError;
    }
}

}  // namespace zepa
