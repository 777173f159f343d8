#include "tools/walkforward/walkforward_output.h"

#include <cmath>
#include <cstdio>

#include "base/grouped_number.h"
#include "base/table_text.h"
#include "positions/position_request.h"
#include "tools/backtest/backtest_report.h"
#include "tools/common/json_writer.h"

namespace zepa {
namespace {

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string formatOr(const char* pattern, const std::optional<double>& value, const char* none) {
    return value ? format(pattern, *value) : none;
}

std::string yen(int64_t value) {
    return groupedNumber(value);
}

std::string codeOf(const WalkForwardReport& r, int32_t stock) {
    return std::to_string(r.market.market.stocks[static_cast<size_t>(stock)].code);
}

std::string percent(const WalkForwardStats& s) {
    return s.trades > 0 ? format("%.1f%%", 100.0 * s.winRate) : "--";
}

void statsJson(JsonWriter& json, const WalkForwardStats& s) {
    json.key("pair_periods").value(s.pairPeriods);
    json.key("trades").value(s.trades).key("wins").value(s.wins);
    json.key("win_rate");
    s.trades > 0 ? json.value(s.winRate) : json.null();
    json.key("net").value(s.net).key("gross").value(s.gross).key("costs").value(s.costs);
    json.key("average_net");
    s.averageNet ? json.value(*s.averageNet) : json.null();
    json.key("profit_factor");
    s.profitFactor ? json.value(*s.profitFactor) : json.null();
    json.key("exits").beginObject();
    json.key("target").value(s.targetExits).key("stop").value(s.stopExits);
    json.key("time").value(s.timeExits).key("period_end").value(s.periodEndExits).endObject();
    json.key("max_drawdown").value(s.maxDrawdown);
}

void statsObject(JsonWriter& json, const WalkForwardStats& s) {
    json.beginObject();
    statsJson(json, s);
    json.endObject();
}

void summaryJson(JsonWriter& json, const WalkForwardSummary& s) {
    const auto orNull = [&](const std::optional<double>& v) -> JsonWriter& {
        return v ? json.value(*v) : json.null();
    };
    json.beginObject().key("periods").value(s.periods);
    statsJson(json, s.stats);
    json.key("period_mean");
    s.periods > 0 ? json.value(s.periodMean) : json.null();
    json.key("period_sd");
    orNull(s.periodSd);
    json.key("t");
    orNull(s.t);
    json.key("positive_periods");
    orNull(s.positivePeriods);
    json.key("curve").beginArray();
    for (const WalkForwardCurvePoint& p : s.curve) {
        json.newline().beginObject().key("date").value(isoDate(p.date));
        json.key("net").value(p.net).endObject();
    }
    json.endArray().endObject();
}

const char* fillName(BacktestFill fill) {
    return fill == BacktestFill::Open ? "open" : "close";
}

std::string sortName(const WalkForwardCommand& c) {
    if (c.screen.backtestSort) {
        return "backtest." + std::string(backtestColumnName(*c.screen.backtestSort));
    }
    return std::string(screenColumnName(c.screen.screen.sort));
}

void parametersJson(JsonWriter& json, const WalkForwardReport& r) {
    const WalkForwardCommand& c = r.command;
    const ScreenOptions& o = c.screen.screen;
    const BacktestRule& rule = c.screen.rule;
    const std::vector<int32_t>& dates = r.market.market.dates;
    const auto orNull = [&](const std::optional<double>& v) -> JsonWriter& {
        return v ? json.value(*v) : json.null();
    };
    json.beginObject();
    json.key("days").value(o.days).key("trade_days").value(c.tradeDays).key("step").value(c.step);
    json.key("from");
    r.result.periods.empty() ? json.null()
                             : json.value(isoDate(r.result.periods.front().formationEndDate));
    json.key("end");
    dates.empty() ? json.null() : json.value(isoDate(dates.back()));
    json.key("top").value(o.top).key("sort").value(sortName(c));
    json.key("backtest_years");
    c.screen.backtestSort ? json.value(c.screen.backtestYears) : json.null();
    json.key("short_days").value(o.shortDays).key("ratio_period").value(o.ratioPeriod);
    json.key("sector");
    o.sector != 0 ? json.value(o.sector) : json.null();
    json.key("borrowable").value(o.borrowable);
    json.key("min_turnover");
    orNull(o.minTurnover);
    json.key("min_price");
    orNull(o.minPrice);
    json.key("min_correlation");
    orNull(o.minCorrelation);
    json.key("min_short_correlation");
    orNull(o.minShortCorrelation);
    json.key("max_p");
    orNull(o.maxP);
    json.key("max_q");
    orNull(o.maxQ);
    json.key("min_half_life");
    orNull(o.minHalfLife);
    json.key("max_half_life");
    orNull(o.maxHalfLife);
    json.key("min_z");
    orNull(o.minAbsZ);
    json.key("entry").value(rule.entry).key("exit").value(rule.exit).key("stop").value(rule.stop);
    json.key("max_days").value(rule.maxDays).key("amount").value(rule.amount);
    json.key("fill").value(fillName(rule.fill)).key("commission").value(rule.commission);
    json.key("buy_rate").value(rule.buyRate).key("borrow_rate").value(rule.borrowRate);
    json.endObject();
}

std::string statsLine(const WalkForwardSummary& s) {
    const WalkForwardStats& t = s.stats;
    std::string line = "periods " + std::to_string(s.periods) + ", pair-periods " +
                       std::to_string(t.pairPeriods) + ", trades " + std::to_string(t.trades) +
                       ", wins " + std::to_string(t.wins) + " (" + percent(t) + "), net " +
                       yen(t.net) + " yen (gross " + yen(std::llround(t.gross)) + ", costs " +
                       yen(std::llround(t.costs)) + ")\n";
    line += "  per pair-period " +
            (t.averageNet ? yen(std::llround(*t.averageNet)) + " yen" : std::string("--")) +
            ", profit factor " + formatOr("%.2f", t.profitFactor, "--") + ", exits: target " +
            std::to_string(t.targetExits) + ", stop " + std::to_string(t.stopExits) + ", time " +
            std::to_string(t.timeExits) + ", period_end " + std::to_string(t.periodEndExits) + "\n";
    line += "  period net: mean " + (s.periods > 0 ? yen(std::llround(s.periodMean)) : "--") +
            ", sd " + (s.periodSd ? yen(std::llround(*s.periodSd)) : "--") + ", t " +
            formatOr("%.2f", s.t, "--") + ", positive " +
            (s.positivePeriods ? format("%.0f%%", 100.0 * *s.positivePeriods) : "--") +
            "; max drawdown " + yen(t.maxDrawdown) + " yen\n";
    return line;
}

}  // namespace

std::string walkForwardText(const WalkForwardReport& r) {
    const WalkForwardCommand& c = r.command;
    const WalkForwardResult& w = r.result;
    std::string out = "walk-forward: window " + std::to_string(c.screen.screen.days) +
                      " dates, trading " + std::to_string(c.tradeDays) + ", step " +
                      std::to_string(c.step) + ", top " + std::to_string(c.screen.screen.top) +
                      " by " + sortName(c) + ", last date " +
                      isoDate(r.market.market.dates.back()) + "\n";
    out += std::string(kSurvivorshipNote) + "\n" + kBacktestNotModelled + "\n\n";
    TextRows rows{{"period", "formation_end", "trade_start", "trade_end", "universe", "pairs",
                   "trades", "win_rate", "out_net", "in_net", ""}};
    int k = 0;
    for (const WalkForwardPeriodResult& p : w.periods) {
        rows.push_back({std::to_string(++k), isoDate(p.formationEndDate), isoDate(p.tradeFirstDate),
                        isoDate(p.tradeLastDate), std::to_string(p.universe),
                        std::to_string(p.pairs.size()), std::to_string(p.out.trades),
                        percent(p.out), yen(p.out.net), yen(p.in.net),
                        p.period.isShort ? "short" : ""});
        if (!c.pairs) {
            continue;
        }
        for (const WalkForwardPair& pair : p.pairs) {
            const WalkForwardStats s = walkForwardStatsOf(pair.out, 1);
            rows.push_back({"", "  " + codeOf(r, pair.a) + "/" + codeOf(r, pair.b), "", "", "", "",
                            std::to_string(s.trades), percent(s), yen(pair.out.net),
                            yen(pair.in.net), ""});
        }
    }
    // Columns padded to their widest cell; the figures right-aligned.
    std::vector<size_t> width(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            width[i] = std::max(width[i], row[i].size());
        }
    }
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            const std::string pad(width[i] - row[i].size(), ' ');
            line += i == 0 ? "" : "  ";
            line += i >= 4 && i <= 9 ? pad + row[i] : row[i] + (i + 1 < row.size() ? pad : "");
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        out += line + "\n";
    }
    out += "\nout of sample: " + statsLine(w.out);
    out += "in sample:     " + statsLine(w.in);
    out += "ratio out / in: " + formatOr("%.3f", w.ratio, "--") + "\n";
    return out;
}

std::string walkForwardCsv(const WalkForwardReport& r) {
    TextRows rows{{"period",         "formation_end",    "trade_start", "trade_end",
                   "short",          "universe",         "pairs",       "out_trades",
                   "out_wins",       "out_win_rate",     "out_net",     "out_gross",
                   "out_costs",      "out_max_drawdown", "in_trades",   "in_wins",
                   "in_win_rate",    "in_net",           "in_gross",    "in_costs",
                   "in_max_drawdown"}};
    int k = 0;
    const auto side = [](std::vector<std::string>& row, const WalkForwardStats& s) {
        row.push_back(std::to_string(s.trades));
        row.push_back(std::to_string(s.wins));
        row.push_back(s.trades > 0 ? format("%.10g", s.winRate) : "");
        row.push_back(std::to_string(s.net));
        row.push_back(format("%.10g", s.gross));
        row.push_back(format("%.10g", s.costs));
        row.push_back(std::to_string(s.maxDrawdown));
    };
    for (const WalkForwardPeriodResult& p : r.result.periods) {
        std::vector<std::string> row{std::to_string(++k),
                                     isoDate(p.formationEndDate),
                                     isoDate(p.tradeFirstDate),
                                     isoDate(p.tradeLastDate),
                                     p.period.isShort ? "true" : "false",
                                     std::to_string(p.universe),
                                     std::to_string(p.pairs.size())};
        side(row, p.out);
        side(row, p.in);
        rows.push_back(std::move(row));
    }
    return cellsCsv(rows);
}

std::string walkForwardJson(const WalkForwardReport& r) {
    const WalkForwardResult& w = r.result;
    JsonWriter json;
    json.beginObject().key("parameters");
    parametersJson(json, r);
    json.key("periods").beginArray();
    for (const WalkForwardPeriodResult& p : w.periods) {
        json.newline().beginObject();
        json.key("formation_end").value(isoDate(p.formationEndDate));
        json.key("trade_start").value(isoDate(p.tradeFirstDate));
        json.key("trade_end").value(isoDate(p.tradeLastDate));
        json.key("short").value(p.period.isShort).key("universe").value(p.universe);
        json.key("pairs");
        if (r.command.pairs) {
            json.beginArray();
            for (const WalkForwardPair& pair : p.pairs) {
                json.newline().beginObject();
                json.key("a").value(codeOf(r, pair.a)).key("b").value(codeOf(r, pair.b));
                json.key("out");
                statsObject(json, walkForwardStatsOf(pair.out, 1));
                json.key("in");
                statsObject(json, walkForwardStatsOf(pair.in, 1));
                json.endObject();
            }
            json.endArray();
        } else {
            json.value(static_cast<int64_t>(p.pairs.size()));
        }
        json.key("out");
        statsObject(json, p.out);
        json.key("in");
        statsObject(json, p.in);
        json.endObject();
    }
    json.endArray();
    json.key("out");
    summaryJson(json, w.out);
    json.key("in");
    summaryJson(json, w.in);
    json.key("ratio");
    w.ratio ? json.value(*w.ratio) : json.null();
    json.key("not_modelled").beginArray().value("逆日歩").value("dividend adjustments").endArray();
    json.key("survivorship").value(kSurvivorshipNote);
    json.endObject();
    return json.text() + "\n";
}

}  // namespace zepa
