#include "app/walkforward_table.h"

#include <cstdio>

#include "base/grouped_number.h"
#include "base/table_text.h"
#include "positions/position_request.h"

namespace zepa {
namespace {

std::string dateText(int32_t date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", date / 10000, date / 100 % 100, date % 100);
    return text;
}

std::string rateText(const WalkForwardStats& s) {
    if (s.trades == 0) {
        return "--";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", s.winRate * 100.0);
    return text;
}

}  // namespace

std::optional<double> walkForwardShownRatio(const WalkForwardResult& r) {
    return r.in.stats.net > 0 ? r.ratio : std::nullopt;
}

std::string walkForwardSummaryLine(const WalkForwardResult& r) {
    const WalkForwardStats& out = r.out.stats;
    std::string ratio = "--";
    if (const std::optional<double> shown = walkForwardShownRatio(r)) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", *shown);
        ratio = text;
    }
    return "期間 " + std::to_string(r.out.periods) + "  取引 " + std::to_string(out.trades) +
           "回  勝率 " + rateText(out) + "  純損益 " + groupedNumber(out.net) + "円  (選定期間 " +
           groupedNumber(r.in.stats.net) + "円, 比 " + ratio + ")";
}

TextTable walkForwardTable(const WalkForwardResult& r, bool plain) {
    TextTable table;
    table.header = {"選定日", "取引開始", "取引終了", "銘柄数",          "組数",
                    "取引",   "勝率",     "純損益",   "選定期間の純損益"};
    if (plain) {
        table.header.push_back("途中");
    }
    const auto date = [plain](int32_t d) { return plain ? isoDate(d) : dateText(d); };
    const auto yen = [plain](int64_t v) { return plain ? std::to_string(v) : groupedNumber(v); };
    for (const WalkForwardPeriodResult& p : r.periods) {
        std::vector<std::string> row = {
            date(p.formationEndDate),
            date(p.tradeFirstDate),
            date(p.tradeLastDate) + (p.period.isShort && !plain ? "(途中)" : ""),
            std::to_string(p.universe),
            std::to_string(p.pairs.size()),
            std::to_string(p.out.trades),
            !plain             ? rateText(p.out)
            : p.out.trades > 0 ? shortestReal(p.out.winRate * 100.0)
                               : std::string(),
            yen(p.out.net),
            yen(p.in.net)};
        if (plain) {
            row.push_back(p.period.isShort ? "1" : "0");
        }
        table.rows.push_back(std::move(row));
    }
    table.totalRows.assign(table.rows.size(), false);
    return table;
}

}  // namespace zepa
