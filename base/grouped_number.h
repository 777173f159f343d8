// Whole numbers as people read money: thousands separated by commas.
#pragma once

#include <cstdint>
#include <string>

namespace zepa {

// "-1,234,567"; the whole int64 range, the most negative value included.
std::string groupedNumber(int64_t value);

}  // namespace zepa
