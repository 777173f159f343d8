// The 16-bit code for a count with about four significant digits.
#pragma once

#include <cstdint>

namespace zepa {

// The count a code stands for, in full (up to 9,999 x 10^7).
int64_t quantityOfCode(uint16_t code);

// The count as the viewer reads it, modulo 2^32: from code 56,148 up it wraps to negative
// numbers.
int32_t decodeQuantity(uint16_t code);

}  // namespace zepa
