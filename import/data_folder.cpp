#include "import/data_folder.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

#include "base/little_endian.h"
#include "marketdata/price_database.h"
#include "marketdata/quantity_code.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;

bool loadTables(const std::string& path, MarketData& md) {
    md.set = PriceDatabaseSet{};
    md.set.fileCount = 1;
    md.set.files.resize(1);
    md.set.files[0].path = path;
    return loadPriceDatabases(md) == DataError::None;
}

}  // namespace

int yearOfFileName(const std::string& name) {
    if (name.size() != 8 || !matchesDatabasePattern(name)) {
        return 0;
    }
    int year = 0;
    for (size_t i = 4; i < 8; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return 0;
        }
        year = year * 10 + (name[i] - '0');
    }
    return year >= 1970 && year <= 2225 ? year : 0;
}

DataFolderSurvey surveyDataFolder(const std::string& dataDirectory, const std::set<int>& years) {
    DataFolderSurvey survey;
    std::error_code ec;
    survey.exists = fs::is_directory(dataDirectory, ec);
    if (!survey.exists) {
        return survey;
    }
    std::vector<std::string> names;
    for (fs::directory_iterator it(dataDirectory, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (matchesDatabasePattern(name)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    survey.databaseEntries = static_cast<int>(names.size());
    for (const std::string& name : names) {
        const int year = yearOfFileName(name);
        if (year != 0 && years.contains(year)) {
            if (survey.yearFiles.contains(year)) {
                survey.problems.push_back("DATA/" + survey.yearFiles[year] + " and DATA/" + name +
                                          " both hold the year " + std::to_string(year) +
                                          ": keep one of them");
            }
            survey.yearFiles[year] = name;
            continue;
        }
        if (year != 0) {
            survey.yearFiles.emplace(year, name);
        }
        // Another updater's file, or one of another year: it must not hold the dates about to
        // be written.
        MarketData md;
        if (!loadTables((fs::path(dataDirectory) / name).string(), md)) {
            survey.problems.push_back("DATA/" + name +
                                      " cannot be read (the viewer would stop on it too)");
            continue;
        }
        std::set<int> overlap;
        for (PackedDate d : md.set.files[0].dates) {
            if (years.contains(calendarYear(d))) {
                overlap.insert(calendarYear(d));
            }
        }
        for (int y : overlap) {
            survey.problems.push_back("DATA/" + name + " already holds dates of " +
                                      std::to_string(y) +
                                      ": the viewer would show them twice (move that file out of "
                                      "DATA/ to import " +
                                      std::to_string(y) + " here)");
        }
    }
    return survey;
}

std::vector<int32_t> storedDates(const std::string& dataDirectory) {
    std::vector<int32_t> dates;
    std::error_code ec;
    for (fs::directory_iterator it(dataDirectory, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        if (!matchesDatabasePattern(it->path().filename().string())) {
            continue;
        }
        MarketData md;
        if (loadTables(it->path().string(), md)) {
            for (PackedDate d : md.set.files[0].dates) {
                dates.push_back(dateValue(d));
            }
        }
    }
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    return dates;
}

bool readYearFile(const std::string& path, int year, YearData& out, std::string& problem) {
    MarketData md;
    if (!loadTables(path, md)) {
        problem = "cannot be read";
        return false;
    }
    const PriceDatabase& db = md.set.files[0];
    out = YearData{};
    for (PackedDate d : db.dates) {
        const int32_t v = dateValue(d);
        if (calendarYear(d) != year || (!out.dates.empty() && v <= out.dates.back())) {
            problem = "holds dates out of order or of another year than " + std::to_string(year) +
                      " (not a file of this importer?)";
            return false;
        }
        out.dates.push_back(v);
    }
    std::vector<int32_t> sorted(db.keys.begin(), db.keys.end());
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
        problem = "lists a stock twice (not a file of this importer?)";
        return false;
    }
    try {
        out.keys = std::move(sorted);
        out.names.resize(out.keys.size());
        out.records.resize(out.keys.size() * out.dates.size());
        for (size_t slot = 0; slot < db.keys.size(); ++slot) {
            if (readPriceBlock(md, db, static_cast<int32_t>(slot)) != DataError::None) {
                problem = "cannot be read";
                return false;
            }
            const size_t k = static_cast<size_t>(
                std::lower_bound(out.keys.begin(), out.keys.end(), db.keys[slot]) -
                out.keys.begin());
            out.names[k] = std::string(md.set.stockName, kStockNameSize);
            for (size_t d = 0; d < out.dates.size(); ++d) {
                const unsigned char* r = &md.blockBuffer[d * kPriceRecordSize];
                DbwRecord& rec = out.at(k, d);
                rec.low = readI32(r + 4);
                rec.open = static_cast<int32_t>(int64_t{rec.low} + readU16(r + 0));
                rec.high = static_cast<int32_t>(int64_t{rec.low} + readU16(r + 2));
                rec.close = static_cast<int32_t>(int64_t{rec.low} + readU16(r + 8));
                // In full, so that writing it again gives the same code.
                rec.volume = quantityOfCode(readU16(r + 10));
                rec.adjustment = readU16(r + 18);
            }
        }
    } catch (const std::bad_alloc&) {
        problem = "is too large to read";
        return false;
    }
    return true;
}

}  // namespace zepa
