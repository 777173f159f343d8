#include "positions/position_line.h"

#include <cstdio>

#include "base/codepage.h"

namespace zepa {
namespace {

std::string padded(std::string text, size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

std::string legColumns(const PositionLeg& leg) {
    char code[16];
    std::snprintf(code, sizeof code, "%c%d", leg.marketLetter[0], static_cast<int>(leg.stockCode));
    char date[16] = "";
    if (leg.entryDate != 0) {
        std::snprintf(date, sizeof date, "%06d", static_cast<int>(leg.entryDate));
    }
    return padded(code, 8) + " " + padded(writableShortName(leg.shortName), 9) + " " +
           padded(date, 9) + " " + padded(std::to_string(leg.quantity), 9);
}

bool sameLeg(const PositionLeg& a, const PositionLeg& b) {
    return a.marketLetter[0] == b.marketLetter[0] && a.stockCode == b.stockCode &&
           a.shortName == b.shortName && a.entryDate == b.entryDate && a.quantity == b.quantity;
}

}  // namespace

std::string writableShortName(std::string_view cp932) {
    std::string name;
    for (size_t k = 0; k < cp932.size();) {
        const auto c = static_cast<unsigned char>(cp932[k]);
        if (isCp932LeadByte(c)) {
            // A lead byte without its trail byte, or one that would not fit, ends the name.
            if (k + 1 >= cp932.size() || static_cast<unsigned char>(cp932[k + 1]) < 0x40 ||
                name.size() + 2 > kShortNameBytes) {
                break;
            }
            name.append(cp932.substr(k, 2));
            k += 2;
            continue;
        }
        ++k;
        if (c <= ' ' || c == 0x7F) {
            continue;
        }
        if (name.size() + 1 > kShortNameBytes) {
            break;
        }
        name.push_back(static_cast<char>(c));
    }
    return name;
}

std::string shownShortName(const std::string& cp932) {
    static const std::string kPad = "\u3000";
    std::string name = utf8FromCp932(cp932);
    while (name.ends_with(kPad)) {
        name.resize(name.size() - kPad.size());
    }
    return name;
}

PositionLeg legAsRead(const PositionLeg& leg) {
    PositionLeg read = leg;
    read.marketLetter[1] = '\0';
    read.shortName = writableShortName(leg.shortName);
    while (read.shortName.size() <= 4) {
        read.shortName += "\x81\x40";
    }
    return read;
}

PositionRecord recordAsRead(const PositionRecord& record) {
    return PositionRecord{legAsRead(record.buy), legAsRead(record.sell)};
}

bool legFitsLine(const PositionLeg& leg) {
    const auto letter = static_cast<unsigned char>(leg.marketLetter[0]);
    return letter > ' ' && letter < 0x7F && letter != '#' && leg.stockCode >= 0 &&
           leg.stockCode <= kMaxStockCode &&
           (leg.entryDate == 0 || (leg.entryDate > 100 && leg.entryDate <= 991231)) &&
           leg.quantity >= 0 && leg.quantity <= kMaxLineQuantity;
}

std::string formatPositionLine(const PositionRecord& record) {
    std::string line = legColumns(record.buy) + " " + legColumns(record.sell);
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

bool samePosition(const PositionRecord& a, const PositionRecord& b) {
    return sameLeg(a.buy, b.buy) && sameLeg(a.sell, b.sell);
}

}  // namespace zepa
