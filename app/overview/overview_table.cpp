#include "app/overview/overview_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "base/grouped_number.h"
#include "positions/position_line.h"
#include "positions/position_request.h"

namespace zepa {
namespace {

std::string legCell(const PositionLeg& leg) {
    return stockCodeText(leg.marketLetter[0], leg.stockCode) + " " + shownShortName(leg.shortName);
}

std::string entryCell(const PositionRecord& p) {
    const auto date = [](int32_t yymmdd) {
        return yymmdd == 0 ? std::string("-") : isoDate(yyyymmddOf(yymmdd));
    };
    return p.buy.entryDate == p.sell.entryDate
               ? date(p.buy.entryDate)
               : date(p.buy.entryDate) + "／" + date(p.sell.entryDate);
}

template <class T>
std::string formatted(const char* format, const std::optional<T>& v) {
    if (!v) {
        return {};
    }
    char text[48];
    std::snprintf(text, sizeof text, format, *v);
    return text;
}

std::string yen(const std::optional<int64_t>& v) {
    return v ? std::to_string(*v) : std::string();
}

std::string yen(double v) {
    return std::to_string(std::llround(v));
}

// The value a column sorts by; none where the row has none.
std::optional<double> sortKey(const OverviewRow& row, OverviewColumn column) {
    const auto real = [](const auto& v) {
        return v ? std::optional<double>(static_cast<double>(*v)) : std::nullopt;
    };
    switch (column) {
        case OverviewColumn::Buy:
            return row.record.buy.stockCode;
        case OverviewColumn::Sell:
            return row.record.sell.stockCode;
        case OverviewColumn::EntryDate:
            return std::min(yyyymmddOf(row.record.buy.entryDate),
                            yyyymmddOf(row.record.sell.entryDate));
        case OverviewColumn::DaysHeld:
            return real(row.daysHeld);
        case OverviewColumn::Deadline:
            return real(row.deadline);
        case OverviewColumn::DaysLeft:
            return real(row.daysLeft);
        case OverviewColumn::Profit:
            return real(row.profit);
        case OverviewColumn::DayChange:
            return real(row.dayChange);
        case OverviewColumn::ProfitRate:
            return row.profitRate;
        case OverviewColumn::Carry:
            return row.carry;
        case OverviewColumn::Net:
            return real(row.net);
        case OverviewColumn::Z:
            return row.z;
        case OverviewColumn::Correlation:
            return row.correlation;
        case OverviewColumn::HalfLife:
            return row.halfLife;
        case OverviewColumn::Signals:
            // By the first signal named: 利確, 損切, 期日; none is no value.
            if (row.signals == 0) {
                return std::nullopt;
            }
            return (row.signals & kSignalTakeProfit) != 0 ? 1.0
                   : (row.signals & kSignalStop) != 0     ? 2.0
                                                          : 3.0;
    }
    return std::nullopt;
}

std::string signalCounts(const OverviewTotals& t) {
    std::string text;
    const auto add = [&text](const char* name, int n) {
        if (n > 0) {
            text += (text.empty() ? "" : "・") + std::string(name) + " " + std::to_string(n);
        }
    };
    add("利確", t.takeProfit);
    add("損切", t.stop);
    add("期日", t.deadline);
    return text;
}

bool negative(const std::optional<int64_t>& v) {
    return v && *v < 0;
}

}  // namespace

std::vector<size_t> overviewOrder(const PositionOverview& overview, int column, bool descending) {
    std::vector<size_t> order(overview.rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    if (column < 0 || column >= kOverviewColumnCount) {
        return order;
    }
    const auto c = static_cast<OverviewColumn>(column);
    std::vector<std::optional<double>> keys;
    keys.reserve(order.size());
    for (const OverviewRow& row : overview.rows) {
        keys.push_back(sortKey(row, c));
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const std::optional<double>& ka = keys[a];
        const std::optional<double>& kb = keys[b];
        if (!ka || !kb) {
            return ka.has_value() && !kb.has_value();
        }
        return descending ? *kb < *ka : *ka < *kb;
    });
    return order;
}

TextTable overviewTable(const PositionOverview& overview, const std::vector<size_t>& order) {
    TextTable table;
    table.header = {"買い",     "売り", "建日",   "保有日数", "期日",
                    "残日数",   "損益", "前日比", "損益率",   "金利・貸株料",
                    "実質損益", "Z",    "相関",   "半減期",   "合図"};
    for (const size_t i : order) {
        const OverviewRow& r = overview.rows[i];
        std::string why = r.problem;
        std::replace(why.begin(), why.end(), '\n', ' ');
        table.rows.push_back(
            {legCell(r.record.buy), legCell(r.record.sell), entryCell(r.record),
             formatted("%d", r.daysHeld), r.deadline ? isoDate(*r.deadline) : std::string(),
             formatted("%d", r.daysLeft), yen(r.profit), yen(r.dayChange),
             r.profitRate ? formatted("%+.2f%%", std::optional<double>(*r.profitRate * 100.0))
                          : std::string(),
             r.carry ? yen(*r.carry) : std::string(), yen(r.net), formatted("%+.2f", r.z),
             formatted("%.2f", r.correlation), formatted("%.1f", r.halfLife),
             why.empty() ? signalsText(r.signals) : why});
        table.totalRows.push_back(false);
    }
    const OverviewTotals& t = overview.totals;
    std::string count = std::to_string(t.counted) + " 建玉";
    if (t.leftOut > 0) {
        count += "（" + std::to_string(t.leftOut) + " 建玉は含まず）";
    }
    table.rows.push_back({"合計", count, "", "", "", "", std::to_string(t.profit),
                          std::to_string(t.dayChange), "", yen(t.carry), std::to_string(t.net), "",
                          "", "", signalCounts(t)});
    table.totalRows.push_back(true);
    return table;
}

bool overviewLossCell(const PositionOverview& overview, const std::vector<size_t>& order,
                      size_t row, int column) {
    const auto c = static_cast<OverviewColumn>(column);
    if (row >= order.size()) {
        const OverviewTotals& t = overview.totals;
        return (c == OverviewColumn::Profit && t.profit < 0) ||
               (c == OverviewColumn::DayChange && t.dayChange < 0) ||
               (c == OverviewColumn::Net && t.net < 0);
    }
    const OverviewRow& r = overview.rows[order[row]];
    return (c == OverviewColumn::Profit && negative(r.profit)) ||
           (c == OverviewColumn::DayChange && negative(r.dayChange)) ||
           (c == OverviewColumn::ProfitRate && r.profitRate && *r.profitRate < 0.0) ||
           (c == OverviewColumn::Net && negative(r.net));
}

bool overviewRightAligned(int column) {
    const auto c = static_cast<OverviewColumn>(column);
    return c != OverviewColumn::Buy && c != OverviewColumn::Sell &&
           c != OverviewColumn::EntryDate && c != OverviewColumn::Deadline &&
           c != OverviewColumn::Signals;
}

std::string overviewShownCell(const std::string& cell, size_t column) {
    const auto c = static_cast<OverviewColumn>(column);
    if (c != OverviewColumn::Profit && c != OverviewColumn::DayChange &&
        c != OverviewColumn::Carry && c != OverviewColumn::Net) {
        return cell;
    }
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    return !cell.empty() && ec == std::errc() && end == cell.data() + cell.size()
               ? groupedNumber(value)
               : cell;
}

int overviewPositionOfRow(const std::vector<size_t>& order, size_t row) {
    return row < order.size() ? static_cast<int>(order[row]) : -1;
}

}  // namespace zepa
