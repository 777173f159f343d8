// The text files of the demo installation, as CP932 bytes with CR LF line ends.
#pragma once

#include <cstdint>
#include <string>

#include "tools/demo/demo_prices.h"

namespace zepa {

// Same-sector pairs entered on days inside the data, both legs of about equal value.
std::string demoPositionFile(const DemoMarket& market, uint64_t seed);

// The stocks whose prices are stored in units of 100 yen.
std::string demoCorrectionFile(const DemoMarket& market);

std::string demoTipFile();

}  // namespace zepa
