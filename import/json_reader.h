// The daily quotes of the J-Quants API as JSON: an array of objects under "daily_quotes" (the
// first version of the API) or "data" (the second), or a bare array, each object one row with
// the same field names as the CSV headers.
#pragma once

#include <string_view>

#include "import/row_collector.h"

namespace zepa {

// True when the text looks like JSON (its first non-blank character opens an object or array).
bool looksLikeJson(std::string_view text);

// Reads every row object of the text (UTF-8) into the collector.
void readJsonPrices(std::string_view text, SourceFile& file, RowCollector& rows);

}  // namespace zepa
