#include "base/grouped_number.h"

namespace zepa {

std::string groupedNumber(int64_t value) {
    const uint64_t magnitude =
        value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    for (size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, ",");
    }
    return value < 0 ? "-" + digits : digits;
}

}  // namespace zepa
