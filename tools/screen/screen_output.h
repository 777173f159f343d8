// zepa_screen's three outputs of one screen: the text table with its funnel, CSV and JSON.
#pragma once

#include <string>

#include "screen/screen_market.h"
#include "screen/screen_run.h"

namespace zepa {

struct ScreenReport {
    const ScreenMarket& market;
    const ScreenResult& result;
    int sector = 0;           // the industry shown: 17, else 33
    bool hasListing = false;  // without listing data the sectors are null
};

std::string screenText(const ScreenReport& report);
std::string screenCsv(const ScreenReport& report);
std::string screenJson(const ScreenReport& report);

}  // namespace zepa
