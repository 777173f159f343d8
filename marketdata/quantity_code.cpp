#include "marketdata/quantity_code.h"

namespace zepa {

int64_t quantityOfCode(uint16_t code) {
    if (code < 10000) {
        return code;
    }
    // Band k (1..7) covers codes 1000 + 9000k .. 9999 + 9000k, value (code - 9000k) * 10^k.
    uint32_t band = (static_cast<uint32_t>(code) - 1000) / 9000;
    if (band > 7) {
        band = 7;
    }
    const int64_t mantissa = code - 9000 * int64_t{band};
    static constexpr int64_t kScale[8] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    return mantissa * kScale[band];
}

int32_t decodeQuantity(uint16_t code) {
    return static_cast<int32_t>(static_cast<uint32_t>(quantityOfCode(code)));
}

}  // namespace zepa
