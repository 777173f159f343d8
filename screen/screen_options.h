// What a screen is asked for: the window, the universe rules, the filters and the ranking.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace zepa {

enum class ScreenColumn {
    P,
    Q,
    AdfT,
    Ssd,
    HalfLife,
    Correlation,
    CorrelationShort,
    Crossings,
    Z,
};

// The column's name in the output and in --sort; nullopt for a name that is none.
std::string_view screenColumnName(ScreenColumn column);
std::optional<ScreenColumn> screenColumnNamed(std::string_view name);

inline constexpr int32_t kMinWindow = 20;
inline constexpr int32_t kMaxWindow = 1500;
inline constexpr int32_t kMinRatioPeriod = 5;
inline constexpr int32_t kMaxRatioPeriod = 250;
inline constexpr int32_t kMinShortDays = 10;

struct ScreenOptions {
    int32_t days = 250;        // W
    int32_t shortDays = 75;    // S
    int32_t ratioPeriod = 25;  // N of the ratio chart's z
    // Universe.
    std::optional<double> minTurnover;
    std::optional<double> minPrice;
    std::vector<int32_t> codes;    // only these, when not empty
    std::vector<int32_t> exclude;  // never these
    // Pairs.
    int sector = 0;  // 0, 17 or 33: pairs of one industry only
    bool borrowable = false;
    // Filters; an empty one is off.
    std::optional<double> minCorrelation;
    std::optional<double> minShortCorrelation;
    std::optional<double> maxP;
    std::optional<double> maxQ;
    std::optional<double> minHalfLife;
    std::optional<double> maxHalfLife;
    std::optional<double> minAbsZ;
    // Ranking.
    ScreenColumn sort = ScreenColumn::P;
    int32_t top = 100;
    int threads = 0;  // 0: one per core
    // The end date as a row of the market, for a caller that screens one loaded market at many
    // end dates; -1: the market's last row.
    int32_t endRow = -1;
    // For a caller on another thread (the viewer's window): set, the screen stops at its next
    // tile and returns Cancelled; `tilesDone` counts the finished tiles out of `tileCount`.
    const std::atomic<bool>* cancel = nullptr;
    std::atomic<int64_t>* tilesDone = nullptr;
    std::atomic<int64_t>* tileCount = nullptr;
};

// Fills the filters left empty with the defaults: correlation >= 0.7, short correlation >= 0.5,
// p <= 0.05, half-life from 1 to 60.
void applyDefaultFilters(ScreenOptions& options);

}  // namespace zepa
