// 32-bit arithmetic that wraps modulo 2^32 as the stored formats define it, without the
// undefined behaviour of signed overflow.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace zepa {

constexpr int32_t wrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

constexpr int32_t wrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

constexpr int32_t wrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Truncation toward zero; out-of-range values and NaN give INT32_MIN, the value the x86
// conversion instruction produces, instead of undefined behaviour.
inline int32_t truncToInt32(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(v);
}

}  // namespace zepa
