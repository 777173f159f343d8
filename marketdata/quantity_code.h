// The 16-bit code for a count with about four significant digits.
#pragma once

#include <cstdint>

namespace zepa {

// The value is computed modulo 2^32: from code 56,148 up it wraps to negative numbers.
int32_t decodeQuantity(uint16_t code);

}  // namespace zepa
