// Why a screen's market did not load, in the words zepa_screen and zepa_walkforward refuse with.
#pragma once

#include <string>

#include "marketdata/price_database.h"
#include "screen/screen_load.h"

namespace zepa {

// The reason for any outcome but Loaded; `tooFew` is the tool's own for TooFewDates, as each
// needs a different count of dates.
std::string screenLoadRefusal(ScreenLoad outcome, const MarketData& md, const std::string& tooFew);

}  // namespace zepa
