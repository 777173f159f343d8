// The status bar's text while the chart cursor is on: the values of the slot under the line,
// formatted as the data windows show them.
#pragma once

#include <cstdint>
#include <string>

#include "chart/chart_context.h"

namespace zepa {

// " <date>   買 終値 <close>   売 終値 <close>   さや <spread>   利益 <profit>" (CP932), each value
// as its data-window cell without the padding, "--" where the cell has none, and "   Z <z>"
// after them while the lower pane shows the ratio chart. A slot outside the series gives a single
// blank.
std::string cursorReadout(const ChartContext& c, int32_t slot);

}  // namespace zepa
