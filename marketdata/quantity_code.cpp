#include "marketdata/quantity_code.h"

namespace zepa {

int32_t decodeQuantity(uint16_t code) {
    if (code < 10000) {
        return code;
    }
    // Band k (1..7) covers codes 1000 + 9000k .. 9999 + 9000k, value (code - 9000k) * 10^k.
    uint32_t band = (static_cast<uint32_t>(code) - 1000) / 9000;
    if (band > 7) {
        band = 7;
    }
    uint32_t mantissa = code - 9000 * band;
    static constexpr uint32_t kScale[8] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    return static_cast<int32_t>(mantissa * kScale[band]);
}

}  // namespace zepa
