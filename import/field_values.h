// Strict reading of the values of one price row: dates, prices with thousands separators and
// decimals, stock codes. Each returns a result kind; nothing throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zepa {

// Blanks, quotes left by the CSV layer are already gone; "", "-", "--", "---", "null" and "NULL"
// stand for a missing value.
bool isMissingValue(std::string_view text);

// YYYY-MM-DD, YYYY/MM/DD, YYYY/M/D or YYYYMMDD (a time of day after it is passed over), a
// real calendar date from 1970 to 2225.
// Returns YYYYMMDD, or 0 when the text is not such a date.
int32_t parseDate(std::string_view text);

enum class NumberResult { Ok, NotANumber, Negative, TooLarge };

// A non-negative decimal number with optional thousands separators (commas) and decimals,
// rounded half away from zero to a whole number not above `limit`. `rounded` is set when a
// non-zero fraction was dropped.
NumberResult parseWholeNumber(std::string_view text, int64_t limit, int64_t& value, bool& rounded);

// A positive decimal number (an adjustment factor or a split ratio); false for anything else.
bool parsePositiveDecimal(std::string_view text, double& value);

enum class CodeResult { Ok, Other };

// Four digits (not 0000), or five digits ending in 0 (72030 is 7203). Anything else, such as
// 130A, is a code the position file's numeric column cannot hold.
CodeResult parseStockCode(std::string_view text, int32_t& code);

// The leading code of a file name: 7203.csv, 7203.T.csv, 7203_daily.csv give "7203", 130A.csv
// gives "130A"; empty when the name does not start with a digit.
std::string codeTextOfFileName(std::string_view fileName);

// The factor as the stored percent: 0 when it is 1 (no adjustment), -1 when it cannot be
// stored (below 0.005 or above 655.35).
int32_t adjustmentOfFactor(double factor);

}  // namespace zepa
