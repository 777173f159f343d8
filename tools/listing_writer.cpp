#include "tools/listing_writer.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "base/durable_file.h"
#include "base/utf8.h"

namespace zepa {
namespace {

void take(std::string& stored, const std::string& fresh, ListingFields given, ListingField f) {
    if (hasField(given, f) && !fresh.empty()) {
        stored = fresh;
    }
}

void appendCell(std::string& out, std::string_view text) {
    std::string cell(isValidUtf8(text) ? cutUtf8(text, kMaxListingCell) : std::string_view());
    for (char& c : cell) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    if (cell.find_first_of(",\"") == std::string::npos) {
        out += cell;
        return;
    }
    out += '"';
    for (char c : cell) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

}  // namespace

void mergeListing(ListingTable& table, const std::vector<ListingEntry>& fresh,
                  ListingFields given) {
    std::map<int32_t, ListingEntry> merged;
    for (ListingEntry& e : table.entries) {
        merged.emplace(e.stockCode, std::move(e));
    }
    for (const ListingEntry& f : fresh) {
        if (f.stockCode < 1 || f.stockCode > 9999) {
            continue;
        }
        ListingEntry& e = merged[f.stockCode];
        e.stockCode = f.stockCode;
        take(e.name, f.name, given, ListingField::Name);
        take(e.sector17Code, f.sector17Code, given, ListingField::Sector17Code);
        take(e.sector17Name, f.sector17Name, given, ListingField::Sector17Name);
        take(e.sector33Code, f.sector33Code, given, ListingField::Sector33Code);
        take(e.sector33Name, f.sector33Name, given, ListingField::Sector33Name);
        take(e.marketCode, f.marketCode, given, ListingField::MarketCode);
        take(e.scaleCategory, f.scaleCategory, given, ListingField::ScaleCategory);
        if (hasField(given, ListingField::MarginCode) && f.marginCode != kMarginUnknown) {
            e.marginCode = f.marginCode;
        }
    }
    table.entries.clear();
    for (auto& [code, e] : merged) {
        table.entries.push_back(std::move(e));
    }
    markListingColumns(table);
}

std::string listingFileText(const ListingTable& table) {
    std::string out = std::string(kListingHeader) + "\n";
    for (const ListingEntry& e : table.entries) {
        if (e.stockCode < 1 || e.stockCode > 9999) {
            continue;
        }
        char code[8];
        std::snprintf(code, sizeof code, "%04d", static_cast<int>(e.stockCode));
        out += code;
        for (const std::string* text : {&e.name, &e.sector17Code, &e.sector17Name, &e.sector33Code,
                                        &e.sector33Name, &e.marketCode, &e.scaleCategory}) {
            out += ',';
            appendCell(out, *text);
        }
        out += ',';
        if (e.marginCode >= kMarginCredit && e.marginCode <= kMarginOther) {
            out += static_cast<char>('0' + e.marginCode);
        }
        out += '\n';
    }
    return out;
}

bool writeListingFile(const std::string& path, const ListingTable& table) {
    return writeFileDurably(path, listingFileText(table));
}

}  // namespace zepa
