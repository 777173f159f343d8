#include "base/parse_int.h"

namespace zepa {

int32_t parseInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{1} << 31) {
            value = int64_t{1} << 31;
        }
    }
    value = negative ? -value : value;
    if (value > INT32_MAX) {
        value = INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

std::optional<int32_t> parseDigits(std::string_view digits) {
    // Enough digits for every value a dialog takes, few enough that the sum cannot overflow.
    constexpr size_t kMostDigits = 6;
    if (digits.empty() || digits.size() > kMostDigits) {
        return std::nullopt;
    }
    int32_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace zepa
