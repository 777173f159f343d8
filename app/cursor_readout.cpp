#include "app/cursor_readout.h"

#include <algorithm>
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
        const std::string z = ratioCell(c, slot, true);
        text += std::string(kGap) + "Z " + std::string(withoutPadding(z));
    }
    return text;
}

}  // namespace zepa
