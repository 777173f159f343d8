#include "import/field_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zepa {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view t) {
    for (char c : t) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return !t.empty();
}

bool isAlnum(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Reads 1..maxDigits digits at text[pos]; advances pos.
bool readDigits(std::string_view text, size_t& pos, size_t minDigits, size_t maxDigits, int& out) {
    size_t start = pos;
    int v = 0;
    while (pos < text.size() && isDigit(text[pos]) && pos - start < maxDigits) {
        v = v * 10 + (text[pos] - '0');
        ++pos;
    }
    out = v;
    return pos - start >= minDigits && (pos == text.size() || !isDigit(text[pos]));
}

bool validCalendarDate(int y, int m, int d) {
    if (y < 1970 || y > 2225 || m < 1 || m > 12 || d < 1) {
        return false;
    }
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

}  // namespace

bool isMissingValue(std::string_view t) {
    return t.empty() || t == "-" || t == "--" || t == "---" || t == "null" || t == "NULL";
}

int32_t parseDate(std::string_view t) {
    // A time of day after the date (2024-01-04 00:00:00, 2024-01-04T00:00:00) says nothing more.
    for (size_t i = 8; i < t.size(); ++i) {
        if (t[i] == ' ' || t[i] == 'T') {
            t = t.substr(0, i);
            break;
        }
    }
    int y = 0, m = 0, d = 0;
    if (t.size() == 8 && allDigits(t)) {
        y = (t[0] - '0') * 1000 + (t[1] - '0') * 100 + (t[2] - '0') * 10 + (t[3] - '0');
        m = (t[4] - '0') * 10 + (t[5] - '0');
        d = (t[6] - '0') * 10 + (t[7] - '0');
    } else {
        size_t pos = 0;
        if (!readDigits(t, pos, 4, 4, y) || pos >= t.size() || (t[pos] != '-' && t[pos] != '/')) {
            return 0;
        }
        const char separator = t[pos++];
        if (!readDigits(t, pos, 1, 2, m) || pos >= t.size() || t[pos] != separator) {
            return 0;
        }
        ++pos;
        if (!readDigits(t, pos, 1, 2, d) || pos != t.size()) {
            return 0;
        }
    }
    return validCalendarDate(y, m, d) ? y * 10000 + m * 100 + d : 0;
}

NumberResult parseWholeNumber(std::string_view t, int64_t limit, int64_t& value, bool& rounded) {
    value = 0;
    rounded = false;
    size_t pos = 0;
    bool negative = false;
    if (pos < t.size() && (t[pos] == '+' || t[pos] == '-')) {
        negative = t[pos] == '-';
        ++pos;
    }
    // Up to 15 integer digits accumulate without overflow; more is too large for any field.
    int64_t whole = 0;
    int digits = 0;
    bool lastWasComma = false;
    for (; pos < t.size(); ++pos) {
        const char c = t[pos];
        if (isDigit(c)) {
            if (digits == 15) {
                return NumberResult::TooLarge;
            }
            whole = whole * 10 + (c - '0');
            ++digits;
            lastWasComma = false;
        } else if (c == ',' && digits > 0 && !lastWasComma) {
            lastWasComma = true;
        } else {
            break;
        }
    }
    if (lastWasComma) {
        return NumberResult::NotANumber;
    }
    bool roundUp = false;
    if (pos < t.size() && t[pos] == '.') {
        ++pos;
        const size_t first = pos;
        while (pos < t.size() && isDigit(t[pos])) {
            if (t[pos] != '0') {
                rounded = true;
            }
            ++pos;
        }
        roundUp = pos > first && t[first] >= '5';
        if (digits == 0 && pos == first) {
            return NumberResult::NotANumber;
        }
    } else if (digits == 0) {
        return NumberResult::NotANumber;
    }
    if (pos < t.size() && (t[pos] == 'e' || t[pos] == 'E')) {
        // Exponent notation (from a JSON writer): read it as a double.
        std::string copy(t);
        char* end = nullptr;
        const double v = std::strtod(copy.c_str(), &end);
        if (end != copy.c_str() + copy.size() || !std::isfinite(v) ||
            copy.find(',') != std::string::npos) {
            return NumberResult::NotANumber;
        }
        if (v < 0 && std::round(v) != 0) {
            return NumberResult::Negative;
        }
        const double r = std::round(std::fabs(v));
        if (r > static_cast<double>(limit)) {
            return NumberResult::TooLarge;
        }
        rounded = r != std::fabs(v);
        value = static_cast<int64_t>(r);
        return NumberResult::Ok;
    }
    if (pos != t.size()) {
        return NumberResult::NotANumber;
    }
    const int64_t v = whole + (roundUp ? 1 : 0);
    if (negative && v != 0) {
        return NumberResult::Negative;
    }
    if (v > limit) {
        return NumberResult::TooLarge;
    }
    value = v;
    return NumberResult::Ok;
}

bool parsePositiveDecimal(std::string_view t, double& value) {
    if (t.empty() || !(isDigit(t[0]) || t[0] == '.')) {
        return false;
    }
    const auto [stop, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    return ec == std::errc() && stop == t.data() + t.size() && std::isfinite(value) && value > 0;
}

CodeResult parseStockCode(std::string_view t, int32_t& code) {
    code = 0;
    const bool allDigits =
        !t.empty() && t.find_first_not_of("0123456789") == std::string_view::npos;
    if (!allDigits || (t.size() != 4 && !(t.size() == 5 && t[4] == '0'))) {
        return CodeResult::Other;
    }
    int32_t v = 0;
    for (size_t i = 0; i < 4; ++i) {
        v = v * 10 + (t[i] - '0');
    }
    if (v == 0) {
        return CodeResult::Other;  // key 0 would end the stock table
    }
    code = v;
    return CodeResult::Ok;
}

std::string codeTextOfFileName(std::string_view name) {
    if (name.empty() || !isDigit(name[0])) {
        return {};
    }
    size_t end = 0;
    while (end < name.size() && isAlnum(name[end])) {
        ++end;
    }
    std::string_view run = name.substr(0, end);
    // 7203daily.csv: the digits alone; 130A.csv: the whole four-character code.
    size_t digits = run.find_first_not_of("0123456789");
    if (digits != std::string_view::npos && run.size() > 5) {
        run = run.substr(0, digits);
    }
    return std::string(run);
}

int32_t adjustmentOfFactor(double factor) {
    if (factor == 1.0) {
        return 0;
    }
    const double percent = std::round(factor * 100.0);
    if (!(percent >= 1.0 && percent <= 65535.0)) {
        return -1;
    }
    return static_cast<int32_t>(percent);
}

}  // namespace zepa
