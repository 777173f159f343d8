#include "platform/http_get.h"

namespace zepa {

std::optional<int64_t> parseRetryAfter(std::string_view value) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
        value.remove_prefix(1);
    }
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r' ||
                              value.back() == '\n')) {
        value.remove_suffix(1);
    }
    if (value.empty() || value.size() > 9) {
        return std::nullopt;
    }
    int64_t seconds = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        seconds = seconds * 10 + (c - '0');
    }
    return seconds;
}

std::optional<int64_t> retryAfterOfHeaderLine(std::string_view line) {
    constexpr std::string_view kName = "retry-after:";
    if (line.size() < kName.size()) {
        return std::nullopt;
    }
    for (size_t i = 0; i < kName.size(); ++i) {
        char c = line[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != kName[i]) {
            return std::nullopt;
        }
    }
    return parseRetryAfter(line.substr(kName.size()));
}

}  // namespace zepa
