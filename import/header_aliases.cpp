#include "import/header_aliases.h"

namespace zepa {
namespace {

struct Alias {
    std::string_view name;  // ASCII in lower case, or UTF-8
    Column column;
};

constexpr Alias kAliases[] = {
    {"date", Column::Date},
    {"日付", Column::Date},
    {"データ日付", Column::Date},
    {"年月日", Column::Date},
    {"open", Column::Open},
    {"始値", Column::Open},
    {"o", Column::Open},
    {"high", Column::High},
    {"高値", Column::High},
    {"h", Column::High},
    {"low", Column::Low},
    {"安値", Column::Low},
    {"l", Column::Low},
    {"close", Column::Close},
    {"終値", Column::Close},
    {"c", Column::Close},
    {"volume", Column::Volume},
    {"出来高", Column::Volume},
    {"vo", Column::Volume},
    {"code", Column::Code},
    {"コード", Column::Code},
    {"銘柄コード", Column::Code},
    {"companyname", Column::Name},
    {"name", Column::Name},
    {"銘柄名", Column::Name},
    {"adjustmentfactor", Column::Factor},
    {"adjfactor", Column::Factor},
};

struct ListingAlias {
    std::string_view name;
    ListingField field;
};

constexpr ListingAlias kListingAliases[] = {
    {"sector17code", ListingField::Sector17Code},
    {"17業種コード", ListingField::Sector17Code},
    {"sector17codename", ListingField::Sector17Name},
    {"17業種区分", ListingField::Sector17Name},
    {"sector33code", ListingField::Sector33Code},
    {"33業種コード", ListingField::Sector33Code},
    {"sector33codename", ListingField::Sector33Name},
    {"33業種区分", ListingField::Sector33Name},
    {"marketcode", ListingField::MarketCode},
    {"scalecategory", ListingField::ScaleCategory},
    {"規模区分", ListingField::ScaleCategory},
    {"margincode", ListingField::MarginCode},
};

bool equalsFolded(std::string_view text, std::string_view lowerAlias) {
    if (text.size() != lowerAlias.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != lowerAlias[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string_view trimField(std::string_view t) {
    constexpr std::string_view kWideSpace = "\xE3\x80\x80";
    for (bool changed = true; changed && !t.empty();) {
        changed = false;
        if (t.front() == ' ' || t.front() == '\t' || t.front() == '"') {
            t.remove_prefix(1);
            changed = true;
        } else if (t.substr(0, 3) == kWideSpace) {
            t.remove_prefix(3);
            changed = true;
        }
        if (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '"')) {
            t.remove_suffix(1);
            changed = true;
        } else if (t.size() >= 3 && t.substr(t.size() - 3) == kWideSpace) {
            t.remove_suffix(3);
            changed = true;
        }
    }
    return t;
}

std::optional<Column> columnOfHeader(std::string_view header) {
    const std::string_view name = trimField(header);
    for (const Alias& a : kAliases) {
        if (equalsFolded(name, a.name)) {
            return a.column;
        }
    }
    return std::nullopt;
}

std::optional<ListingField> listingFieldOfHeader(std::string_view header) {
    const std::string_view name = trimField(header);
    for (const ListingAlias& a : kListingAliases) {
        if (equalsFolded(name, a.name)) {
            return a.field;
        }
    }
    return std::nullopt;
}

}  // namespace zepa
