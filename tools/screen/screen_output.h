// zepa_screen's three outputs of one screen: the text table with its funnel, CSV and JSON.
#pragma once

#include <string>
#include <vector>

#include "screen/backtest_stats.h"

#include "screen/screen_market.h"
#include "screen/screen_run.h"

namespace zepa {

struct ScreenReport {
    const ScreenMarket& market;
    const ScreenResult& result;
    int sector = 0;           // the industry shown: 17, else 33
    bool hasListing = false;  // without listing data the sectors are null
    // With --backtest: each pair's statistics, in the pairs' order.
    const std::vector<BacktestStats>* backtest = nullptr;
    int32_t backtestStart = 0;  // YYYYMMDD: signals from this date to the end
};

std::string screenText(const ScreenReport& report);
std::string screenCsv(const ScreenReport& report);
std::string screenJson(const ScreenReport& report);

}  // namespace zepa
