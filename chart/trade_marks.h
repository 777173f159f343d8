// Marks of simulated trades on the ratio chart: where a trade was entered and left. The chart
// knows only slots and kinds; whoever ran the trades maps them onto the series on show.
#pragma once

#include <cstdint>
#include <vector>

namespace zepa {

enum class TradeMarkKind {
    EntryUp,     // ▲ the chart's buy leg bought (the ratio expected to rise): buy-leg colour
    EntryDown,   // ▼ the chart's buy leg sold: sell-leg colour
    ExitTarget,  // a short bar
    ExitStop,    // the bar crossed by a vertical one
    ExitTime,    // the bar between two end ticks
};

struct TradeMark {
    int32_t slot = 0;  // date slot of the series on show
    TradeMarkKind kind = TradeMarkKind::EntryUp;
    bool buyColor = true;  // an exit takes its entry's colour
};

using TradeMarks = std::vector<TradeMark>;

// Half the width of an exit bar and the height of an entry triangle, in pixels.
inline constexpr int32_t kTradeMarkHalf = 4;

}  // namespace zepa
