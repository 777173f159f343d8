// The answers of the J-Quants API (second version) judged before anything is kept: a page of
// daily bars, the trading calendar, the listing (turned into a names text the importer reads)
// and the message of an error answer. Every answer is hostile input.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zepa {

struct JQuantsPage {
    size_t rows = 0;
    std::optional<std::string> paginationKey;
};

// An object with a "data" array of objects and, when more follows, a "pagination_key" string.
// `date` (YYYYMMDD, 0 for any): every row must be of that day. False, with the reason.
bool readJQuantsPage(std::string_view body, int32_t date, JQuantsPage& page, std::string& problem);

// The calendar's trading days in order: HolDiv "1" (a trading day) and "2" (a half day);
// "0" and "3" (a holiday, with derivatives trading on "3") are not. False, with the reason.
bool readTradingDays(const std::vector<std::string>& bodies, std::vector<int32_t>& days,
                     std::string& problem);

// The listing's rows as a CSV text with the header names the names file reader knows: code,
// name, industries, market, size category and margin code. False, with the reason.
bool listingNamesText(const std::vector<std::string>& bodies, std::string& csv,
                      std::string& problem);

// The "message" of an error answer, printable and cut to 200 bytes; empty when there is none.
std::string answerMessage(std::string_view body);

}  // namespace zepa
