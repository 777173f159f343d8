// The screen: every pair of the universe through the filters, counted in a funnel, the
// survivors ranked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "screen/screen_market.h"
#include "screen/screen_options.h"

namespace zepa {

struct ScreenPair {
    int32_t a = 0;  // the regressed stock, an index into the market's stocks
    int32_t b = 0;
    double correlation = 0.0;
    std::optional<double> correlationShort;
    double ssd = 0.0;
    double beta = 0.0;
    std::optional<double> adfT;
    std::optional<double> p;
    std::optional<double> q;
    std::optional<double> halfLife;
    std::optional<double> z;
    double crossings = 0.0;  // per 250 dates
};

struct FunnelStage {
    std::string stage;
    int64_t pairs = 0;
};

struct ScreenResult {
    int32_t universe = 0;             // stocks
    std::vector<FunnelStage> funnel;  // pairs formed, then after each filter
    std::vector<ScreenPair> pairs;    // the best `top`, best first
};

enum class ScreenOutcome { Done, OutOfMemory, Cancelled };

// Screens the options.days rows ending at options.endRow (the market's last row by default); z
// needs options.ratioPeriod rows (none where the market has fewer). Cancelled, with an empty
// result, once options.cancel is set.
ScreenOutcome runScreen(const ScreenMarket& market, const ScreenOptions& options,
                        ScreenResult& result);

// True when pair x ranks before pair y by `column`: the better value first (missing ones last),
// then the lower p, the higher correlation, and the codes.
bool ranksBefore(const ScreenMarket& market, ScreenColumn column, const ScreenPair& x,
                 const ScreenPair& y);

}  // namespace zepa
