#include "app/backtest_table.h"

#include <cmath>
#include <cstdio>

#include "app/pair_search_table.h"

namespace zepa {
namespace {

std::string dateText(int32_t date, bool plain) {
    char text[16];
    std::snprintf(text, sizeof text, plain ? "%04d-%02d-%02d" : "%04d/%02d/%02d", date / 10000,
                  date / 100 % 100, date % 100);
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

std::string legText(char market, int32_t code) {
    return std::string(1, market != '\0' ? market : 'T') + std::to_string(code);
}

std::string oneDecimal(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

// Columns: 0 仕掛け日, 1 決済日, 2 買い, 3 売り, 4..6 the bought leg's entry, exit and shares,
// 7..9 the sold leg's, 10 決済, 11 保有, 12 損益, 13 手数料, 14 金利, 15 貸株料, 16 純損益, 17
// 累計.
constexpr size_t kExitColumn = 10;

}  // namespace

std::string backtestWindowTitle(const ShownBacktest& s) {
    if (!s.valid) {
        return kBacktestTitle;
    }
    const BacktestRule& r = s.rule;
    std::string title = std::string(kBacktestTitle) + "  買 " + legText(s.buyMarket, s.buyCode) +
                        " " + s.buyName + " / 売 " + legText(s.sellMarket, s.sellCode) + " " +
                        s.sellName;
    title += "  Z(" + std::to_string(r.ratioPeriod) + "本) 仕掛け " + oneDecimal(r.entry) +
             " 決済 " + oneDecimal(r.exit) + " 損切り " + oneDecimal(r.stop) + " 最長 " +
             std::to_string(r.maxDays) + "日 " +
             (r.fill == BacktestFill::Close ? "当日終値" : "翌日始値") + " 1銘柄 " +
             groupedNumber(std::llround(r.amount)) + "円";
    if (s.firstDate > 0 && s.lastDate > 0) {
        title += "  " + dateText(s.firstDate, false) + "〜" + dateText(s.lastDate, false);
    }
    return title;
}

std::vector<std::string> backtestTradeHeaders() {
    return {"仕掛け日", "決済日",     "買い",       "売り",     "買い仕掛値", "買い決済値",
            "買い株数", "売り仕掛値", "売り決済値", "売り株数", "決済",       "保有",
            "損益",     "手数料",     "金利",       "貸株料",   "純損益",     "累計"};
}

bool backtestColumnIsFigure(size_t column) {
    return column >= 4 && column != kExitColumn;
}

std::vector<std::string> backtestTradeCells(const ShownBacktest& shown, const BacktestTrade& t,
                                            int64_t& cumulative, bool plain) {
    const bool open = t.reason == BacktestExit::Open;
    if (!open) {
        cumulative += t.net;
    }
    const auto yen = [plain](int64_t v) { return plain ? std::to_string(v) : groupedNumber(v); };
    const auto cost = [&](double v) { return yen(std::llround(v)); };
    const std::string none = plain ? "" : "--";
    // The trades' a is the chart's buy leg.
    const bool buysA = t.direction == BacktestDirection::BuyA;
    const std::string aLeg = legText(shown.buyMarket, shown.buyCode);
    const std::string bLeg = legText(shown.sellMarket, shown.sellCode);
    const auto leg = [&](bool a) {
        return std::vector<std::string>{yen(a ? t.aEntry : t.bEntry),
                                        open ? none : yen(a ? t.aExit : t.bExit),
                                        yen(a ? t.aQuantity : t.bQuantity)};
    };
    std::vector<std::string> cells = {dateText(t.entryDate, plain),
                                      open ? none : dateText(t.exitDate, plain),
                                      buysA ? aLeg : bLeg, buysA ? bLeg : aLeg};
    for (const bool bought : {true, false}) {
        const std::vector<std::string> l = leg(bought == buysA);
        cells.insert(cells.end(), l.begin(), l.end());
    }
    const int32_t held = t.exitSlot - t.entrySlot;
    cells.push_back(exitText(t.reason));
    cells.push_back(plain ? std::to_string(held) : std::to_string(held) + "本");
    cells.push_back(cost(t.gross));
    cells.push_back(cost(t.commission));
    cells.push_back(cost(t.interest));
    cells.push_back(cost(t.borrowFee));
    cells.push_back(yen(t.net));
    cells.push_back(open ? none : yen(cumulative));
    return cells;
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

TextTable backtestTable(const ShownBacktest& shown, bool plain) {
    TextTable table;
    table.header = backtestTradeHeaders();
    if (!shown.valid) {
        return table;
    }
    int64_t cumulative = 0;
    for (const BacktestTrade& t : shown.trades) {
        table.rows.push_back(backtestTradeCells(shown, t, cumulative, plain));
    }
    table.totalRows.assign(table.rows.size(), false);
    return table;
}

std::string backtestSummary(const ShownBacktest& shown) {
    return shown.valid ? backtestStatsLine(shown.stats) + "\n" + kBacktestNotModelled
                       : kNoBacktestText;
}

}  // namespace zepa
