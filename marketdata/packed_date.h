// Dates as the price files store them.
#pragma once

#include <cstdint>

namespace zepa {

// Three bytes: year minus 1970, month (0 marks an unused slot), day.
struct PackedDate {
    uint8_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
};

// YYYYMMDD, the form in which dates are compared.
constexpr int32_t dateValue(PackedDate d) {
    return 19700000 + 10000 * d.year + 100 * d.month + d.day;
}

// The calendar year of a packed date.
constexpr int calendarYear(PackedDate d) {
    return 1970 + d.year;
}

}  // namespace zepa
