// Market letters of the position file, the market codes of stock keys, and market names.
#pragma once

#include <cstdint>
#include <string_view>

namespace zepa {

inline constexpr int32_t kMarketScale = 100000000;  // StockKey = market * this + code
inline constexpr int32_t kStockCodeModulus = 100000;

// T 1, O 2, N 3, K 8, G 9 in either case; any other letter 0.
int marketCodeOf(char letter);

// The inverse: a market code's letter (T, O, N, K, G; I for 0, the index market), or 0 for a
// code without one.
char marketLetterOf(int32_t marketCode);

// The name the chart shows for a market code, UTF-8: codes 4..7 (and any code without a
// letter) are four spaces.
std::string_view marketNameOf(int marketCode);

}  // namespace zepa
