#include "app/last_position.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <system_error>

#include "settings/chart_values.h"

namespace zepa {

namespace {

constexpr size_t kFields = 9;

struct LegKey {
    char letter = '\0';
    int32_t code = 0;
    int32_t entryDate = 0;
    int32_t quantity = 0;
    bool operator==(const LegKey&) const = default;
};

LegKey keyOf(const PositionLeg& leg) {
    return LegKey{leg.marketLetter[0], leg.stockCode, leg.entryDate, leg.quantity};
}

std::string legText(const PositionLeg& leg) {
    const char letter = leg.marketLetter[0];
    // Only a printable ASCII letter goes in; anything else could not be told from the commas.
    std::string text = letter > ' ' && letter < 0x7F && letter != ',' ? std::string(1, letter) : "";
    return text + "," + std::to_string(leg.stockCode) + "," + std::to_string(leg.entryDate) + "," +
           std::to_string(leg.quantity);
}

bool readInt(std::string_view field, int32_t& out) {
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), out);
    return ec == std::errc() && end == field.data() + field.size() && !field.empty();
}

bool readLeg(const std::array<std::string_view, kFields>& f, size_t first, LegKey& leg) {
    if (f[first].size() > 1) {
        return false;
    }
    leg.letter = f[first].empty() ? '\0' : f[first][0];
    return readInt(f[first + 1], leg.code) && readInt(f[first + 2], leg.entryDate) &&
           readInt(f[first + 3], leg.quantity);
}

}  // namespace

std::string formatLastPosition(int32_t index, const PositionRecord& position) {
    return std::to_string(index) + "," + legText(position.buy) + "," + legText(position.sell);
}

int32_t findLastPosition(std::string_view stored, const PositionTable& table) {
    std::array<std::string_view, kFields> f;
    size_t count = 0;
    for (size_t start = 0;;) {
        if (count == kFields) {
            return -1;  // more fields than the value has
        }
        const size_t comma = stored.find(',', start);
        f[count++] = stored.substr(start, comma == std::string_view::npos ? comma : comma - start);
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    int32_t index = 0;
    LegKey buy, sell;
    if (count != kFields || !readInt(f[0], index) || !readLeg(f, 1, buy) || !readLeg(f, 5, sell)) {
        return -1;
    }
    const int32_t positions =
        std::min(table.positionCount, static_cast<int32_t>(table.records.size()));
    const auto matches = [&](int32_t i) {
        const PositionRecord& r = table.records[static_cast<size_t>(i)];
        return keyOf(r.buy) == buy && keyOf(r.sell) == sell;
    };
    if (index >= 0 && index < positions && matches(index)) {
        return index;
    }
    for (int32_t i = 0; i < positions; ++i) {
        if (matches(i)) {
            return i;
        }
    }
    return -1;
}

void rememberShownPosition(AppContext& a) {
    const int32_t current = a.view.currentPosition;
    if (a.store == nullptr || current < 0 || current >= a.positions.positionCount ||
        current >= static_cast<int32_t>(a.positions.records.size())) {
        return;
    }
    storeChartValue(*a.store, kChartSubkey, kLastPositionValue,
                    formatLastPosition(current, a.positions.records[static_cast<size_t>(current)]));
}

int32_t shownPositionAtStart(const AppContext& a) {
    if (a.store == nullptr) {
        return 0;
    }
    const int32_t found =
        findLastPosition(queryChartValue(*a.store, kChartSubkey, kLastPositionValue), a.positions);
    return found < 0 ? 0 : found;
}

}  // namespace zepa
