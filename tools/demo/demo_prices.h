// Daily prices of the demo stocks as correlated random walks, and their price files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tools/dbw_writer.h"
#include "tools/demo/demo_calendar.h"
#include "tools/demo/demo_universe.h"

namespace zepa {

struct DemoMarket {
    std::vector<CivilDay> days;
    std::span<const DemoStock> stocks;
    // [stock][day] as stored: prices in the stock's unit, low 0 on a day without a trade
    // (and before the listing).
    std::vector<std::vector<DbwRecord>> records;
};

DemoMarket simulateMarket(std::span<const DemoStock> stocks, std::vector<CivilDay> days,
                          uint64_t seed);

// The close in yen of the last trade on or before the day; 0 before the first trade.
int64_t closeInYen(const DemoMarket& market, int stock, size_t day);

struct NamedPriceFile {
    std::string name;  // DBW.<year>: names sort in date order
    DbwFile file;
};

// One file per calendar year. A stock is listed from the file of the year it came to the
// market; the current year's file keeps empty date slots for the rest of the year.
std::vector<NamedPriceFile> yearlyPriceFiles(const DemoMarket& market);

}  // namespace zepa
