#include "app/backtest_table.h"

#include <cstdio>

#include "app/pair_search_table.h"

namespace zepa {
namespace {

std::string dateText(int32_t date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", date / 10000, date / 100 % 100, date % 100);
    return text;
}

const char* exitText(BacktestExit reason) {
    switch (reason) {
        case BacktestExit::Target:
            return "目標";
        case BacktestExit::Stop:
            return "損切り";
        case BacktestExit::Time:
            return "期限";
        case BacktestExit::PeriodEnd:
            return "期間末";
        case BacktestExit::Open:
            return "保有中";
    }
    return "";
}

}  // namespace

std::vector<std::string> backtestTradeHeaders() {
    return {"仕掛け日", "決済日", "方向", "決済", "保有", "純損益", "累計"};
}

std::vector<std::string> backtestTradeCells(const BacktestTrade& t, int64_t& cumulative) {
    const bool open = t.reason == BacktestExit::Open;
    if (!open) {
        cumulative += t.net;
    }
    return {dateText(t.entryDate),
            open ? std::string("--") : dateText(t.exitDate),
            t.direction == BacktestDirection::BuyA ? "買い" : "売り",
            exitText(t.reason),
            std::to_string(t.exitSlot - t.entrySlot) + "本",
            groupedNumber(t.net),
            open ? std::string("--") : groupedNumber(cumulative)};
}

std::string backtestStatsLine(const BacktestStats& s) {
    char pf[32] = "--";
    if (s.hasProfitFactor) {
        std::snprintf(pf, sizeof pf, "%.2f", s.profitFactor);
    }
    char text[256];
    std::snprintf(text, sizeof text,
                  "取引 %d回  勝率 %.1f%%  純損益 %s円  PF %s  最大DD %s円  平均保有 %.1f本",
                  s.trades, s.winRate * 100.0, groupedNumber(s.net).c_str(), pf,
                  groupedNumber(s.maxDrawdown).c_str(), s.averageHolding);
    std::string line = text;
    if (s.hasOpenTrade) {
        line += "  (保有中 " + groupedNumber(s.openNet) + "円)";
    }
    return line;
}

TextTable backtestTable(const ShownBacktest& shown) {
    TextTable table;
    table.header = backtestTradeHeaders();
    if (!shown.valid) {
        return table;
    }
    int64_t cumulative = 0;
    for (const BacktestTrade& t : shown.trades) {
        table.rows.push_back(backtestTradeCells(t, cumulative));
    }
    table.totalRows.assign(table.rows.size(), false);
    return table;
}

std::string backtestSummary(const ShownBacktest& shown) {
    return shown.valid ? backtestStatsLine(shown.stats) : kNoBacktestText;
}

}  // namespace zepa
