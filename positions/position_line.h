// One line of the position file as this program writes it: the columns the reader takes, each
// field padded with spaces to its column.
#pragma once

#include <string>
#include <string_view>

#include "marketdata/position_file.h"

namespace zepa {

inline constexpr int32_t kMaxStockCode = 99999;         // five digits after the market letter
inline constexpr int32_t kMaxLineQuantity = 999999999;  // nine columns
inline constexpr size_t kShortNameBytes = 6;            // what the reader keeps of a name

// The short name as it can be written: ASCII spaces and control bytes left out (the reader
// drops the spaces anyway), then cut to 6 bytes without splitting a double-byte character.
// CP932 in, CP932 out.
std::string writableShortName(std::string_view cp932);

// The short name as the trader reads it: UTF-8, without the full-width spaces that pad it.
std::string shownShortName(const std::string& cp932);

// The leg as the reader gives it back once written: the name cut as above and padded with
// full-width spaces to 5 or 6 bytes.
PositionLeg legAsRead(const PositionLeg& leg);
PositionRecord recordAsRead(const PositionRecord& record);

// True when the line can hold the leg: a printable market letter other than '#', a code of
// 0..99999, a date of 0 or 101..991231 and a quantity of 0..999999999.
bool legFitsLine(const PositionLeg& leg);

// The line without its line end. The leg must fit.
std::string formatPositionLine(const PositionRecord& record);

// Field by field, as the reader fills them.
bool samePosition(const PositionRecord& a, const PositionRecord& b);

}  // namespace zepa
