// One bar of a leg on the shared date axis.
#pragma once

#include <cstdint>

#include "marketdata/packed_date.h"

namespace zepa {

// Prices are multiplied by the leg's correction factor; volume never is.
struct DayBar {
    PackedDate date;
    int32_t open = 0;
    int32_t high = 0;
    int32_t low = 0;
    int32_t close = 0;
    int32_t volume = 0;
    int32_t gain = 0;     // per share since the entry bar; 0 before it
    int32_t average = 0;  // moving average of the close, or the close when none exists
    // Split adjustment percent as the price file records it on the ex-date (weekly bars: their
    // week's); 0 where none.
    int32_t adjustment = 0;
};

}  // namespace zepa
