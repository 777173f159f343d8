// A position as the trader asks for it (codes, dates, quantities or an amount), checked
// against the price files and turned into the legs a line of the position file holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "marketdata/correction_list.h"
#include "marketdata/position_file.h"
#include "marketdata/price_database.h"

namespace zepa {

// Dates here are YYYYMMDD; the position file keeps YYMMDD for 1970..2069.
inline constexpr int32_t kFirstWritableDate = 19700101;
inline constexpr int32_t kLastWritableDate = 20691231;

int32_t yymmddOf(int32_t yyyymmdd);
// As the chart reads an entry date: 70 and above are 19YY, below 20YY; 0 stays 0.
int32_t yyyymmddOf(int32_t yymmdd);
// "YYYY-MM-DD" (or YYYYMMDD) of a real calendar day; false otherwise.
bool parseIsoDate(std::string_view text, int32_t& yyyymmdd);
std::string isoDate(int32_t yyyymmdd);

// The newest date of the price files, 0 when they hold none.
int32_t newestPriceDate(const MarketData& md);

struct StockRef {
    char marketLetter = 0;
    int32_t stockCode = 0;
};

// "7203": the market that lists it, 東証 first (then 大証, 名証, 店頭, 外国, the index as I);
// "T7203": that market. The message (UTF-8) says why when false.
bool resolveStockCode(MarketData& md, std::string_view text, StockRef& ref, std::string& message);

// "T7203"
std::string stockCodeText(char marketLetter, int32_t stockCode);

// One leg as the price files give it on its entry date.
struct LegQuote {
    bool ok = false;
    std::string message;     // UTF-8, when not ok
    PositionLeg leg;         // letter, code, short name from the price files, entry date
    std::string stockName;   // CP932, the price files' name
    int32_t entryDate = 0;   // YYYYMMDD of the entry bar
    int32_t entryClose = 0;  // its close, corrected as the chart shows it
    int32_t firstDate = 0;   // YYYYMMDD of the leg's first price
};

// The leg entered on `date` (YYYYMMDD; 0 the newest date): the first close on or after it, as
// the chart's entry bar. Refused before the leg's first price and after the newest date.
LegQuote quoteLeg(MarketData& md, const CorrectionList& corrections, StockRef ref, int32_t date);

// A positive whole number of shares that fits its column; the message says why not.
bool parseQuantity(std::string_view text, int32_t& quantity, std::string& message);
// A positive whole number of yen.
bool parseAmount(std::string_view text, int64_t& amount, std::string& message);
// amount ÷ entry close, rounded down to 100 shares, at least 100; 0 when the close is not
// positive.
int64_t quantityForAmount(int64_t amount, int32_t entryClose);

// What the add dialog and the command take. Texts as typed (UTF-8); an empty name takes the
// price files' short name.
struct PositionDraft {
    std::string buyCode;
    std::string sellCode;
    int32_t buyDate = 0;  // YYYYMMDD, 0 the newest date
    int32_t sellDate = 0;
    bool byAmount = false;
    std::string buyQuantity;
    std::string sellQuantity;
    std::string amount;
    std::string buyName;
    std::string sellName;
};

struct PositionDraftOutcome {
    bool ok = false;
    std::string message;  // UTF-8
    PositionRecord record;
    LegQuote buy;
    LegQuote sell;
};

PositionDraftOutcome makePosition(MarketData& md, const CorrectionList& corrections,
                                  const PositionDraft& draft);

// The draft that gives the position back: codes, dates, quantities and names.
PositionDraft draftOf(const PositionRecord& record);

}  // namespace zepa
