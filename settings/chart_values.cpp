#include "settings/chart_values.h"

#include "base/parse_int.h"

namespace zepa {
namespace {

bool isUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool isScanSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string queryChartValue(ValueStore& store, std::string_view subkey,
                            std::string_view valueName) {
    std::string text;
    if (!store.readValue(subkey, valueName, text)) {
        return {};
    }
    if (size_t nul = text.find('\0'); nul != std::string::npos) {
        text.resize(nul);
    }
    if (text.size() > kValueTextLimit) {
        // Back up to the start of a character that the cut would split (at most three
        // continuation bytes), so the kept text stays valid UTF-8.
        size_t cut = kValueTextLimit;
        while (cut > kValueTextLimit - 3 && isUtf8Continuation(text[cut])) {
            --cut;
        }
        text.resize(cut);
    }
    return text;
}

void storeChartValue(ValueStore& store, std::string_view subkey, std::string_view valueName,
                     std::string_view text) {
    // A store that cannot be written keeps the values it had; nothing is reported.
    (void)store.writeValue(subkey, valueName, text);
}

SettingFields splitSettingFields(std::string_view text) {
    SettingFields fields;
    int index = 0;
    for (char c : text) {
        if (c == '\0' || c == '\n' || c == '\r') {
            break;
        }
        if (c == ',') {
            if (++index == kSettingFieldCount) {
                break;
            }
            continue;
        }
        if (c == '"') {
            continue;
        }
        if (fields[index].size() < kSettingFieldLimit) {
            fields[index].push_back(c);
        }
    }
    return fields;
}

int32_t settingFieldValue(const SettingFields& fields, int index) {
    if (index < 0 || index >= kSettingFieldCount) {
        return 0;
    }
    return parseInt(fields[index]);
}

int scanIntegerFields(std::string_view text, std::span<int32_t> out) {
    size_t pos = 0;
    int converted = 0;
    for (int32_t& target : out) {
        if (converted > 0) {
            if (pos >= text.size() || text[pos] != ',') {
                break;
            }
            ++pos;
        }
        while (pos < text.size() && isScanSpace(text[pos])) {
            ++pos;
        }
        size_t digits = pos;
        if (digits < text.size() && (text[digits] == '+' || text[digits] == '-')) {
            ++digits;
        }
        size_t end = digits;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
            ++end;
        }
        if (end == digits) {
            break;
        }
        target = parseInt(text.substr(pos, end - pos));
        pos = end;
        ++converted;
    }
    return converted;
}

}  // namespace zepa
