// One year's file from what it held and the imported rows: a row for a stock and date already
// present replaces it, everything else stays.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "import/data_folder.h"
#include "import/import_types.h"
#include "tools/dbw_writer.h"

namespace zepa {

// `rows` are the year's rows, sorted by code and date, one per stock and date. `nameOf(code)`
// gives a new CP932 name, or an empty one to keep the stored name. Counts rows added and
// replaced into `counts`.
YearData mergeYear(YearData existing, std::span<const PriceRow> rows, int marketCode,
                   const std::function<std::string(int32_t)>& nameOf, RowCounts& counts);

// Sets the adjustment of the stock's record on the date; false when the year holds no trade of
// the stock on that date.
bool applySplit(YearData& year, int32_t key, int32_t date, uint16_t adjustment);

DbwFile toDbwFile(const YearData& year);

}  // namespace zepa
