// Integer reading for the stored texts and hand-edited files.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zepa {

// The C library's atoi without its undefined behaviour: leading white space, an optional
// sign, then digits; the value saturates instead of overflowing.
int32_t parseInt(std::string_view text);

// Strict reading of what a dialog stores as typed: 1 to 6 decimal digits and nothing else (no
// sign, no blanks) give their value; anything else none.
std::optional<int32_t> parseDigits(std::string_view digits);

}  // namespace zepa
