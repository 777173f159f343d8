// What the data folder already holds: the importer's own one-year files DBW.YYYY, read back
// through the viewer's reader, and the other price files beside them.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/dbw_writer.h"

namespace zepa {

struct DataFolderSurvey {
    bool exists = false;
    int databaseEntries = 0;               // entries the viewer's DBW.* pattern matches
    std::map<int, std::string> yearFiles;  // year -> file name (DBW.YYYY in any case)
    std::vector<std::string> problems;     // refusals, as messages
};

// Lists the folder and checks every price file that will not be rewritten: none may hold a
// date of the years about to be written (the viewer would show those dates twice).
DataFolderSurvey surveyDataFolder(const std::string& dataDirectory, const std::set<int>& years);

// Every date (YYYYMMDD) that the folder's price files hold, ascending, each once; files that do
// not read are passed over (the import names them).
std::vector<int32_t> storedDates(const std::string& dataDirectory);

// The year of a name "DBW.YYYY" (four digits, 1970..2225, any case), else 0.
int yearOfFileName(const std::string& name);

// One year file in memory: every stock by key, every date, a record per stock and date.
struct YearData {
    std::vector<int32_t> dates;  // YYYYMMDD, ascending
    std::vector<int32_t> keys;   // ascending
    std::vector<std::string> names;
    std::vector<DbwRecord> records;  // keys.size() x dates.size(), stock after stock
    DbwRecord& at(size_t stock, size_t date) { return records[stock * dates.size() + date]; }
};

// Reads DATA/<name> through the viewer's reader. False, with the reason, when it cannot be read
// or does not look like a file of that one year (dates out of order or of another year,
// a stock listed twice).
bool readYearFile(const std::string& path, int year, YearData& out, std::string& problem);

}  // namespace zepa
