// Integer reading for the stored texts and hand-edited files.
#pragma once

#include <cstdint>
#include <string_view>

namespace zepa {

// The C library's atoi without its undefined behaviour: leading white space, an optional
// sign, then digits; the value saturates instead of overflowing.
int32_t parseInt(std::string_view text);

}  // namespace zepa
