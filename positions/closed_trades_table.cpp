#include "positions/closed_trades_table.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <string_view>
#include <system_error>

#include "base/grouped_number.h"
#include "base/table_text.h"
#include "positions/position_request.h"

namespace zepa {
namespace {

// A note or name that a spreadsheet would take as a formula is kept as text; negative figures,
// plain or grouped ("-12,345"), stay numbers.
std::string csvCell(std::string_view text) {
    const bool number = text.size() > 1 && text[0] == '-' &&
                        text.find_first_not_of("0123456789,.", 1) == std::string_view::npos;
    const bool formula =
        !text.empty() && std::string_view("=+-@").find(text[0]) != std::string_view::npos;
    return csvQuoted(formula && !number ? "'" + std::string(text) : std::string(text));
}

// The header, then the rows.
TextRows allRows(const TextTable& table) {
    TextRows rows{table.header};
    rows.insert(rows.end(), table.rows.begin(), table.rows.end());
    return rows;
}

void addLeg(std::vector<std::string>& row, const ClosedLeg& leg) {
    row.push_back(stockCodeText(leg.marketLetter, leg.stockCode));
    row.push_back(leg.name);
    row.push_back(isoDate(leg.entryDate));
    row.push_back(std::to_string(leg.quantity));
    row.push_back(std::to_string(leg.entryPrice));
    row.push_back(std::to_string(leg.exitPrice));
    row.push_back(std::to_string(leg.profit));
}

}  // namespace

TextTable closedTradesTable(const std::vector<ClosedTrade>& trades) {
    TextTable table;
    // The figures first, where a narrow window still shows them; the costs blank for a trade
    // recorded before they were kept.
    table.header = {"決済日",     "損益合計", "件数",       "金利・貸株料", "実質損益",
                    "買い",       "買い銘柄", "買い建日",   "買い株数",     "買い建値",
                    "買い決済値", "買い損益", "売り",       "売り銘柄",     "売り建日",
                    "売り株数",   "売り建値", "売り決済値", "売り損益",     "メモ"};
    const size_t columns = table.header.size();
    for (const ClosedTrade& t : trades) {
        const auto figure = [](const std::optional<int64_t>& v) {
            return v ? std::to_string(*v) : std::string();
        };
        std::vector<std::string> row{isoDate(t.closeDate), std::to_string(t.profit), "",
                                     figure(t.carry), figure(t.net)};
        addLeg(row, t.buy);
        addLeg(row, t.sell);
        row.push_back(t.note);
        table.rows.push_back(std::move(row));
        table.totalRows.push_back(false);
    }
    const ClosedTotals totals = closedTotals(trades);
    const auto total = [&](std::string label, const ProfitTotal& p) {
        std::vector<std::string> row(columns);
        row[0] = std::move(label);
        row[1] = std::to_string(p.profit);
        row[2] = std::to_string(p.trades);
        table.rows.push_back(std::move(row));
        table.totalRows.push_back(true);
    };
    for (const ProfitTotal& m : totals.months) {
        char label[32];
        std::snprintf(label, sizeof label, "%04d-%02d 月計", m.period / 100, m.period % 100);
        total(label, m);
    }
    for (const ProfitTotal& y : totals.years) {
        total(std::to_string(y.period) + " 年計", y);
    }
    total("合計", totals.overall);
    return table;
}

ClosedTradesView readClosedTradesView(const std::string& path) {
    ClosedTradesFile file;
    std::string problems;
    if (!readClosedTrades(path, file)) {
        problems = path + " が読めません";
    }
    for (const int line : file.badLines) {
        problems += (problems.empty() ? "" : "\n") + path + " の " + std::to_string(line) +
                    " 行目は決済の記録として読めません";
    }
    return {closedTradesTable(file.trades), problems};
}

std::string closedTradesShownCell(const std::string& cell, size_t column) {
    // 損益合計, 件数, and each leg's 株数, 建値, 決済値, 損益: never the codes or dates.
    constexpr size_t kGrouped[] = {1, 2, 6, 7, 8, 9, 13, 14, 15, 16};
    if (std::find(std::begin(kGrouped), std::end(kGrouped), column) == std::end(kGrouped)) {
        return cell;
    }
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    return ec == std::errc() && end == cell.data() + cell.size() && !cell.empty()
               ? groupedNumber(value)
               : cell;
}

std::string textTableTsv(const TextTable& table) {
    return cellsTsv(allRows(table));
}

std::string textTableCsv(const TextTable& table) {
    return cellsCsv(allRows(table), csvCell);
}

}  // namespace zepa
