// Every held position at the newest date of the price files, the morning's check in one table:
// the chart's profit and its change from the date before, the margin deadline, what margin
// interest and 貸株料 have cost so far, the ratio chart's figures and what the stored rule says
// now. Read from each leg's stored days, not from the chart's series, so that a thousand
// positions take a moment; every figure comes from the same functions the chart and the
// backtest use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "marketdata/correction_list.h"
#include "marketdata/position_file.h"
#include "marketdata/price_database.h"

namespace zepa {

struct OverviewSettings {
    int32_t ratioPeriod = 25;  // the ratio chart's
    // The stored rule's z levels and yearly rates (fractions: 0.028 is 2.8 %).
    double exit = 0.0;
    double stop = 3.5;
    double buyRate = 0.028;
    double borrowRate = 0.0115;
    int32_t deadlineDays = 20;  // 残日数 at or below this calls "期日"
};

// The signals a position's row names, as bits.
inline constexpr unsigned kSignalTakeProfit = 1;  // "利確"
inline constexpr unsigned kSignalStop = 2;        // "損切"
inline constexpr unsigned kSignalDeadline = 4;    // "期日"

struct OverviewRow {
    PositionRecord record;
    int32_t line = 0;                  // in the position file, from 1
    std::string problem;               // UTF-8: why the row has no figures; empty when they formed
    std::optional<int64_t> profit;     // yen, the chart's at the newest date
    std::optional<int64_t> dayChange;  // since the date before
    std::optional<double> profitRate;  // profit / (buy + sell entry value), a fraction
    std::optional<int32_t> daysHeld;   // calendar days from the later entry
    std::optional<int32_t> deadline;   // YYYYMMDD, the earlier entry's margin deadline
    std::optional<int32_t> daysLeft;   // calendar days to the deadline, negative when past
    std::optional<double> carry;       // margin interest + 貸株料 so far, yen, unrounded
    std::optional<int64_t> net;        // profit - carry, rounded once
    std::optional<double> z;           // the ratio chart's figures at the newest date
    std::optional<double> correlation;
    std::optional<double> halfLife;
    unsigned signals = 0;
};

struct OverviewTotals {
    int64_t profit = 0;
    int64_t dayChange = 0;
    double carry = 0.0;
    int64_t net = 0;
    int counted = 0;  // rows in the sums
    int leftOut = 0;  // rows with a problem
    int takeProfit = 0;
    int stop = 0;
    int deadline = 0;
};

struct PositionOverview {
    int32_t newestDate = 0;         // YYYYMMDD, 0 when the price files hold no date
    std::vector<OverviewRow> rows;  // in position file order
    OverviewTotals totals;
};

enum class OverviewResult {
    Ok,
    DataError,  // fatal: md.dataError says which
};

// The rows of the table's positions. A data error leaves `out` empty.
OverviewResult computePositionOverview(MarketData& md, const CorrectionList& corrections,
                                       const PositionTable& positions,
                                       const OverviewSettings& settings, PositionOverview& out);

// The margin deadline of an entry on `entryDate` (YYYYMMDD): the same day six months later, the
// month's last day where that month is shorter, moved back to the last trading date on or
// before it: the calendar's dates (YYYYMMDD, oldest first) while they reach it, weekdays
// beyond. 0 for an entry date that is no date.
int32_t marginDeadline(int32_t entryDate, const std::vector<int32_t>& tradingDates);

// The signals' texts in their order ("利確", "損切", "期日"), and joined by "・".
std::vector<std::string> signalTexts(unsigned signals);
std::string signalsText(unsigned signals);

// The status bar's line after a load: "合図: 利確 2・期日 1 — 建玉一覧 (Ctrl+L)"; empty when no
// position calls for anything.
std::string overviewStatusText(const OverviewTotals& totals);

inline constexpr const char* kNoPriceSinceEntry = "建てた日以後の価格がありません";

}  // namespace zepa
