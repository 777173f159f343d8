#include "tools/backtest/backtest_report.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "base/grouped_number.h"
#include "positions/position_request.h"
#include "tools/common/json_writer.h"

namespace zepa {
namespace {

// Yen with thousands separators, rounded to the yen.
std::string yen(double value) {
    return groupedNumber(static_cast<int64_t>(std::llround(value)));
}

std::string fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

void backtestStatsJson(JsonWriter& json, const BacktestStats& s) {
    const bool any = s.trades > 0;
    const auto orNull = [&](bool has, double v) -> JsonWriter& {
        return has ? json.value(v) : json.null();
    };
    json.beginObject();
    json.key("trades").value(s.trades).key("wins").value(s.wins);
    json.key("win_rate");
    orNull(any, s.winRate);
    json.key("net").value(s.net).key("gross").value(s.gross).key("costs").value(s.costs);
    json.key("average_net");
    orNull(any, s.averageNet);
    json.key("profit_factor");
    orNull(s.hasProfitFactor, s.profitFactor);
    json.key("average_holding");
    orNull(any, s.averageHolding);
    json.key("median_holding");
    orNull(any, s.medianHolding);
    json.key("largest_win");
    s.wins > 0 ? json.value(s.largestWin) : json.null();
    json.key("largest_loss");
    s.largestLoss < 0 ? json.value(s.largestLoss) : json.null();
    json.key("max_drawdown").value(s.maxDrawdown);
    json.key("exits").beginObject();
    json.key("target").value(s.targetExits).key("stop").value(s.stopExits);
    json.key("time").value(s.timeExits).endObject();
    json.key("open_net");
    s.hasOpenTrade ? json.value(s.openNet) : json.null();
    json.endObject();
}

std::string backtestJson(const BacktestOptions& options, const BacktestRunResult& result) {
    JsonWriter json;
    json.beginObject().key("a").value(options.a.text).key("b").value(options.b.text);
    json.key("not_modelled").beginArray().value("逆日歩").value("dividend adjustments").endArray();
    json.key("trades").beginArray();
    for (const BacktestTrade& t : result.trades) {
        json.newline().beginObject();
        json.key("entry_date").value(isoDate(t.entryDate));
        json.key("exit_date").value(isoDate(t.exitDate));
        json.key("direction").value(backtestDirectionName(t.direction));
        json.key("a_entry").value(t.aEntry).key("a_exit").value(t.aExit);
        json.key("b_entry").value(t.bEntry).key("b_exit").value(t.bExit);
        json.key("a_quantity").value(t.aQuantity).key("b_quantity").value(t.bQuantity);
        json.key("gross").value(t.gross).key("commission").value(t.commission);
        json.key("interest").value(t.interest).key("borrow_fee").value(t.borrowFee);
        json.key("net").value(t.net).key("reason").value(backtestExitName(t.reason));
        json.endObject();
    }
    json.endArray().key("stats");
    backtestStatsJson(json, result.stats);
    json.endObject();
    return json.text() + "\n";
}

std::string backtestText(const BacktestOptions& options, const BacktestRunResult& result) {
    const BacktestRule& r = options.rule;
    const BacktestStats& s = result.stats;
    std::string text = "a " + options.a.text + " " + result.aName + " / b " + options.b.text + " " +
                       result.bName + ": the ratio a / b, z over " + std::to_string(r.ratioPeriod) +
                       " dates\n";
    text += "rule: entry at |z| >= " + fixed(r.entry, 2) + ", target " + fixed(r.exit, 2) +
            ", stop " + fixed(r.stop, 2) + ", time " + std::to_string(r.maxDays) + " days, " +
            yen(r.amount) + " yen a leg, fills at " +
            (r.fill == BacktestFill::Open ? "the next open\n" : "the signal's close\n");
    text += "costs: commission " + fixed(r.commission * 100, 3) + " %, margin interest " +
            fixed(r.buyRate * 100, 3) + " %/year, 貸株料 " + fixed(r.borrowRate * 100, 3) +
            " %/year\n";
    text += std::string(kBacktestNotModelled) + "\n\n";
    char line[320];
    std::snprintf(line, sizeof line,
                  "%-10s  %-10s  %-6s %8s %8s %8s %8s %9s %9s %12s %10s %10s %10s %12s  %s\n",
                  "entry", "exit", "dir", "a entry", "a exit", "b entry", "b exit", "a qty",
                  "b qty", "gross", "commission", "interest", "borrow fee", "net", "reason");
    text += line;
    for (const BacktestTrade& t : result.trades) {
        std::snprintf(line, sizeof line,
                      "%-10s  %-10s  %-6s %8d %8d %8d %8d %9" PRId64 " %9" PRId64
                      " %12s %10s %10s %10s %12s  %s\n",
                      isoDate(t.entryDate).c_str(), isoDate(t.exitDate).c_str(),
                      backtestDirectionName(t.direction), t.aEntry, t.aExit, t.bEntry, t.bExit,
                      t.aQuantity, t.bQuantity, yen(t.gross).c_str(), yen(t.commission).c_str(),
                      yen(t.interest).c_str(), yen(t.borrowFee).c_str(),
                      yen(static_cast<double>(t.net)).c_str(), backtestExitName(t.reason));
        text += line;
    }
    text += "\ntrades " + std::to_string(s.trades) + ", wins " + std::to_string(s.wins);
    if (s.trades > 0) {
        text += " (" + fixed(s.winRate * 100, 1) + " %)";
    }
    text += ", net " + yen(static_cast<double>(s.net)) + " yen (gross " + yen(s.gross) +
            ", costs " + yen(s.costs) + ")\n";
    if (s.trades > 0) {
        text += "average net " + yen(s.averageNet) + ", profit factor " +
                (s.hasProfitFactor ? fixed(s.profitFactor, 2) : std::string("-- (no loss)")) +
                ", holding " + fixed(s.averageHolding, 1) + " dates on average, " +
                fixed(s.medianHolding, 1) + " median\n";
        text += "largest win " + (s.wins > 0 ? yen(static_cast<double>(s.largestWin)) : "--") +
                ", largest loss " +
                (s.largestLoss < 0 ? yen(static_cast<double>(s.largestLoss)) : "--") +
                ", max drawdown " + yen(static_cast<double>(s.maxDrawdown)) + "\n";
        text += "exits: target " + std::to_string(s.targetExits) + ", stop " +
                std::to_string(s.stopExits) + ", time " + std::to_string(s.timeExits) + "\n";
    }
    if (s.hasOpenTrade) {
        text += "the last trade is still open: " + yen(static_cast<double>(s.openNet)) +
                " yen if closed at the last close, not counted above\n";
    }
    if (s.trades > 0 && s.trades < 10) {
        text += "few trades: these figures say little\n";
    }
    return text;
}

}  // namespace zepa
