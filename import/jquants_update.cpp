#include "import/jquants_update.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <utility>

#include "import/data_folder.h"
#include "import/field_values.h"
#include "import/import_run.h"
#include "import/jquants_pages.h"
#include "marketdata/installation_paths.h"
#include "positions/position_request.h"

namespace zepa {
namespace {

struct FetchedDay {
    int32_t date = 0;
    std::vector<InputText> pages;
};

std::string compactDate(int32_t date) {
    return std::to_string(date);
}

int32_t addDays(int32_t date, int days) {
    using namespace std::chrono;
    const year_month_day ymd{year(date / 10000), month(static_cast<unsigned>(date / 100 % 100)),
                             day(static_cast<unsigned>(date % 100))};
    const year_month_day next{sys_days(ymd) + std::chrono::days(days)};
    return static_cast<int32_t>(int(next.year()) * 10000 + unsigned(next.month()) * 100 +
                                unsigned(next.day()));
}

void addCounts(RowCounts& into, const RowCounts& c) {
    into.added += c.added;
    into.replaced += c.replaced;
    into.pricesRounded += c.pricesRounded;
    into.volumesCapped += c.volumesCapped;
    into.skippedNoPrices += c.skippedNoPrices;
    into.skippedCode += c.skippedCode;
    into.skippedBad += c.skippedBad;
    into.duplicates += c.duplicates;
}

// One batch's report added to the run's: per year file the counts summed, the sizes of the last.
void accumulate(ImportReport& total, const ImportReport& batch) {
    for (const WrittenFile& f : batch.files) {
        auto it = std::find_if(total.files.begin(), total.files.end(),
                               [&](const WrittenFile& t) { return t.year == f.year; });
        if (it == total.files.end()) {
            total.files.push_back(f);
            continue;
        }
        it->stocks = f.stocks;
        it->dates = f.dates;
        addCounts(it->counts, f.counts);
    }
    std::sort(total.files.begin(), total.files.end(),
              [](const WrittenFile& a, const WrittenFile& b) { return a.year < b.year; });
    addCounts(total.total, batch.total);
    total.rowsRead += batch.rowsRead;
    for (const auto& [code, rows] : batch.skippedCodes) {
        total.skippedCodes[code] += rows;
    }
    for (const std::string& w : batch.warnings) {
        if (total.warnings.size() < kMaxReportedErrors) {
            total.warnings.push_back(w);
        }
    }
    total.positionTemplateWritten |= batch.positionTemplateWritten;
    if (batch.listingWritten) {
        total.listingWritten = true;
        total.listingStocks = batch.listingStocks;
        total.listingGiven = batch.listingGiven;
    }
}

class Writer {
  public:
    Writer(const JQuantsUpdateOptions& o, const std::string& names, JQuantsUpdateReport& report)
        : options_(o), names_(names), report_(report) {}

    // Writes the days fetched so far; false when the importer refused one (its errors are in
    // the report, the days before it written).
    bool flush(std::vector<FetchedDay>& days) {
        if (days.empty()) {
            return true;
        }
        if (write(days.begin(), days.end(), false)) {
            days.clear();
            return true;
        }
        // One day refused the batch: write the days before it, one by one.
        for (auto it = days.begin(); it != days.end(); ++it) {
            if (!write(it, it + 1, true)) {
                return false;
            }
        }
        return false;  // not reached: the batch failed, so one day fails
    }

  private:
    bool write(std::vector<FetchedDay>::iterator first, std::vector<FetchedDay>::iterator last,
               bool keepErrors) {
        ImportOptions o = options_.import;
        o.files.clear();
        o.namesFile.clear();
        o.texts.clear();
        for (auto it = first; it != last; ++it) {
            o.texts.insert(o.texts.end(), it->pages.begin(), it->pages.end());
        }
        o.namesText = InputText{"GET /equities/master", names_};
        ImportReport batch;
        if (runImport(o, batch) != kExitImported) {
            if (keepErrors || last - first == 1) {
                for (const std::string& e : batch.errors) {
                    report_.import.errors.push_back(e);
                }
                report_.import.suppressedErrors += batch.suppressedErrors;
            }
            return false;
        }
        accumulate(report_.import, batch);
        report_.daysWritten += static_cast<int>(last - first);
        report_.lastDayWritten = (last - 1)->date;
        return true;
    }

    const JQuantsUpdateOptions& options_;
    const std::string& names_;
    JQuantsUpdateReport& report_;
};

int fail(JQuantsUpdateReport& report, const std::string& problem) {
    report.import.errors.push_back(problem);
    return kExitInputError;
}

}  // namespace

int32_t tokyoDateOf(int64_t unixSeconds) {
    using namespace std::chrono;
    const sys_days day = floor<days>(sys_seconds(seconds(unixSeconds + 9 * 3600)));
    const year_month_day ymd{day};
    return static_cast<int32_t>(int(ymd.year()) * 10000 + unsigned(ymd.month()) * 100 +
                                unsigned(ymd.day()));
}

int runJQuantsUpdate(const JQuantsUpdateOptions& options, JQuantsSession& session,
                     const std::function<void(const JQuantsProgress&)>& progress,
                     JQuantsUpdateReport& report) {
    report = JQuantsUpdateReport{};
    report.import.dryRun = options.import.dryRun;
    const int32_t to = options.to != 0 ? options.to : options.today;
    const InstallationPaths paths = makeInstallationPaths(options.import.root);
    // The newest stored date within the range: a rerun continues after it.
    const std::vector<int32_t> stored = storedDates(paths.dataDirectory);
    int32_t newest = 0;
    for (const int32_t d : stored) {
        if (d >= options.from && d <= to) {
            newest = d;
        }
    }
    int32_t from = options.from;
    if (newest != 0) {
        from = addDays(newest, 1);
    } else if (from == 0) {
        return fail(report,
                    "the installation holds no prices yet: give --from DATE for the first fill");
    }
    report.from = from;
    report.to = to;
    if (from > to) {
        return kExitImported;  // up to date
    }

    const auto anyPage = [](int32_t date) {
        return [date](const std::string& body, std::optional<std::string>& next,
                      std::string& problem) {
            JQuantsPage page;
            if (!readJQuantsPage(body, date, page, problem)) {
                return false;
            }
            next = page.paginationKey;
            return true;
        };
    };
    std::vector<std::string> bodies;
    std::string problem;
    const auto fetched = [&](FetchResult r) {
        if (r == FetchResult::Stopped) {
            report.stopped = true;
            return fail(report, "stopped before any day was fetched");
        }
        return fail(report, problem);
    };
    FetchResult r = session.getPages("/markets/calendar",
                                     "from=" + compactDate(from) + "&to=" + compactDate(to),
                                     anyPage(0), bodies, problem);
    if (r != FetchResult::Ok) {
        return fetched(r);
    }
    std::vector<int32_t> days;
    if (!readTradingDays(bodies, days, problem)) {
        return fail(report, "GET /markets/calendar: " + session.withoutKey(problem));
    }
    days.erase(
        std::remove_if(days.begin(), days.end(), [&](int32_t d) { return d < from || d > to; }),
        days.end());
    report.daysTotal = static_cast<int>(days.size());
    if (days.empty()) {
        return kExitImported;
    }
    r = session.getPages("/equities/master", "", anyPage(0), bodies, problem);
    if (r != FetchResult::Ok) {
        return fetched(r);
    }
    std::string names;
    if (!listingNamesText(bodies, names, problem)) {
        return fail(report, "GET /equities/master: " + session.withoutKey(problem));
    }

    Writer writer(options, names, report);
    std::vector<FetchedDay> pending;
    const int perBatch = std::max(1, options.daysPerBatch);
    for (size_t i = 0; i < days.size(); ++i) {
        const int32_t day = days[i];
        if (progress) {
            progress({static_cast<int>(i), report.daysTotal, day});
        }
        if (session.stopRequested()) {
            report.stopped = true;
            break;
        }
        const std::string query = "date=" + compactDate(day);
        r = session.getPages("/equities/bars/daily", query, anyPage(day), bodies, problem);
        if (r == FetchResult::Stopped) {
            report.stopped = true;
            break;
        }
        if (r != FetchResult::Ok) {
            writer.flush(pending);
            return fail(report, problem + " (nothing of " + isoDate(day) + " was written)");
        }
        size_t rows = 0;
        for (const std::string& body : bodies) {
            JQuantsPage page;
            readJQuantsPage(body, day, page, problem);
            rows += page.rows;
        }
        if (rows == 0) {
            if (!writer.flush(pending)) {
                return kExitInputError;
            }
            if (day == options.today) {
                report.notes.push_back(isoDate(day) +
                                       ": no prices yet (they are published after the close)");
                break;
            }
            return fail(report, "GET /equities/bars/daily?" + query +
                                    ": no rows, though the "
                                    "calendar gives " +
                                    isoDate(day) +
                                    " as a trading day (the free plan serves no prices of the last "
                                    "12 weeks: give an earlier --to)");
        }
        FetchedDay fetchedDay;
        fetchedDay.date = day;
        for (size_t p = 0; p < bodies.size(); ++p) {
            fetchedDay.pages.push_back(InputText{
                "GET /equities/bars/daily?" + query + " (page " + std::to_string(p + 1) + ")",
                std::move(bodies[p])});
        }
        pending.push_back(std::move(fetchedDay));
        if (static_cast<int>(pending.size()) >= perBatch && !writer.flush(pending)) {
            return kExitInputError;
        }
    }
    if (!writer.flush(pending)) {
        return kExitInputError;
    }
    if (progress) {
        progress({report.daysWritten, report.daysTotal, 0});
    }
    if (report.stopped) {
        return fail(report,
                    "stopped: " +
                        (report.lastDayWritten != 0
                             ? "the days through " + isoDate(report.lastDayWritten) + " are kept"
                             : std::string("no day was written")) +
                        "; run again to continue");
    }
    return kExitImported;
}

std::string updateSummaryText(const JQuantsUpdateReport& r) {
    if (r.from == 0) {
        return {};
    }
    if (r.from > r.to) {
        return "up to date through " + isoDate(r.to) + "\n";
    }
    if (r.daysTotal == 0) {
        return "up to date: no trading day from " + isoDate(r.from) + " to " + isoDate(r.to) + "\n";
    }
    return std::to_string(r.daysWritten) + " of " + std::to_string(r.daysTotal) +
           " trading days from " + isoDate(r.from) + " to " + isoDate(r.to) +
           (r.import.dryRun ? " checked" : " written") +
           (r.lastDayWritten != 0 ? " (through " + isoDate(r.lastDayWritten) + ")" : "") + "\n";
}

}  // namespace zepa
