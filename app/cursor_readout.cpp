#include "app/cursor_readout.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "base/codepage.h"
#include "datawindow/data_table.h"

namespace zepa {
namespace {

std::string_view withoutPadding(std::string_view cell) {
    const size_t first = cell.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return cell.substr(first, cell.find_last_not_of(' ') - first + 1);
}

// The ratio chart's z of the slot as its data-window column shows it, "--" where there is none.
std::string zText(const ChartContext& c, int32_t slot) {
    if (c.ratio == nullptr || slot < 0 || slot >= std::ssize(c.ratio->slots) ||
        !c.ratio->slots[static_cast<size_t>(slot)].hasZ) {
        return "--";
    }
    char cell[32];
    std::snprintf(cell, sizeof cell, "%+.2f", c.ratio->slots[static_cast<size_t>(slot)].z);
    return cell;
}

}  // namespace

std::string cursorReadout(const ChartContext& c, int32_t slot) {
    static const std::string kBuyClose = cp932FromUtf8("買 終値 ");
    static const std::string kSellClose = cp932FromUtf8("売 終値 ");
    static const std::string kSpread = cp932FromUtf8("さや ");
    static const std::string kProfit = cp932FromUtf8("利益 ");
    constexpr std::string_view kGap = "   ";

    const int64_t row = int64_t{slot} - std::max(0, c.series.firstBar);
    if (row < 0 || row >= dataRowCount(c)) {
        return " ";
    }
    const auto r = static_cast<int32_t>(row);
    const DataRowTexts stock = formatDataRow(c, kStockDataKind, r);
    const DataRowTexts spread = formatDataRow(c, kSpreadDataKind, r);
    std::string text = " ";
    text += withoutPadding(stock[0]);
    text += std::string(kGap) + kBuyClose + std::string(withoutPadding(stock[1]));
    text += std::string(kGap) + kSellClose + std::string(withoutPadding(stock[3]));
    text += std::string(kGap) + kSpread + std::string(withoutPadding(spread[1]));
    text += std::string(kGap) + kProfit + std::string(withoutPadding(spread[4]));
    if (c.settings.lowerPaneMode == 3) {
        text += std::string(kGap) + "Z " + zText(c, slot);
    }
    return text;
}

}  // namespace zepa
