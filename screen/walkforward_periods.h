// The periods of a walk-forward: each formation end with the window of dates the screen chooses
// on and the dates after it that the chosen pairs are traded on.
#pragma once

#include <cstdint>
#include <vector>

namespace zepa {

inline constexpr int32_t kMinTradeDays = 5;
inline constexpr int32_t kMaxTradeDays = 1500;
inline constexpr int32_t kMinStep = 1;
inline constexpr int32_t kMaxStep = 1500;

// Rows of the dates the plan was made on.
struct WalkForwardPeriod {
    int32_t formationEnd = 0;  // e_k: the window is the W rows ending here
    int32_t tradeFirst = 0;    // e_k + 1
    int32_t tradeLast = 0;     // e_k + H, or the last date when that comes first
    bool isShort = false;      // cut by the last date: fewer than H trading dates
};

enum class WalkForwardPlanning {
    Planned,
    TooFewDates,  // fewer than W + 1 dates
    NoPeriod,     // the first formation end is not before the last date
};

// The periods over `dates` (oldest first, the last is the walk's last date): e_0 is the first
// row dated on or after fromDate (0: any) that has `window` rows up to it, then every `step`
// rows while before the last row.
WalkForwardPlanning planWalkForward(const std::vector<int32_t>& dates, int32_t window,
                                    int32_t tradeDays, int32_t step, int32_t fromDate,
                                    std::vector<WalkForwardPeriod>& periods);

}  // namespace zepa
