// A generated market for the screen's benchmarks: stocks in 33 industries whose daily returns
// share a market factor and an industry factor, and the process's peak resident memory.
#pragma once

#include "screen/screen_market.h"

namespace zepa {

struct GeneratedMarketShape {
    int stocks = 4000;
    int dates = 250;
    // Of a day's return variance (1.5% a day), the market's share is 0.3: the correlation
    // within an industry is near 0.3 + industryShare, across industries near 0.3.
    double industryShare = 0.3;
    double ownShare = 0.4;
    // The first close of stock `s`.
    double (*firstClose)(int s) = [](int) { return 1000.0; };
};

// Codes 1300 on, market code 1, industry s % 33 in sector33, turnover 1e8, unrounded closes on
// the dates 20200101 + d, the window every date. The same shape gives the same market.
ScreenMarket generatedMarket(const GeneratedMarketShape& shape);

// The process's peak resident memory in MB, and a way to start measuring it anew (Linux).
double peakResidentMB();
void resetPeakResident();

}  // namespace zepa
