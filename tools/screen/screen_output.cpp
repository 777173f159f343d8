#include "tools/screen/screen_output.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "base/table_text.h"
#include "positions/position_request.h"
#include "screen/screen_backtest.h"
#include "tools/backtest/backtest_report.h"
#include "tools/common/json_writer.h"

namespace zepa {
namespace {

std::string format(const char* pattern, double value) {
    char text[48];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string formatOr(const char* pattern, const std::optional<double>& value, const char* none) {
    return value ? format(pattern, *value) : none;
}

std::string code(const ScreenStock& s) {
    return std::to_string(s.code);
}

std::optional<std::string> sectorOf(const ScreenReport& r, const ScreenStock& s) {
    const std::string& sector = r.sector == 17 ? s.sector17 : s.sector33;
    if (!r.hasListing || sector.empty()) {
        return std::nullopt;
    }
    return sector;
}

// Cells on a terminal: East Asian wide characters take two.
size_t displayWidth(const std::string& utf8) {
    size_t width = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        uint32_t cp = length == 1 ? c : c & (0xFF >> (length + 1));
        for (size_t k = 1; k < length && i + k < utf8.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        const bool halfKana = cp >= 0xFF61 && cp <= 0xFF9F;
        width += cp >= 0x1100 && !halfKana ? 2 : 1;
        i += length;
    }
    return width;
}

const char* const kColumns[] = {"a",          "b",         "name_a",      "name_b",
                                "sector_a",   "sector_b",  "correlation", "correlation_short",
                                "ssd",        "beta",      "adf_t",       "p",
                                "q",          "half_life", "z",           "crossings",
                                "turnover_a", "turnover_b"};

// The cells of one pair in the columns' order; `none` where a value is missing.
std::vector<std::string> cells(const ScreenReport& r, const ScreenPair& p, bool exact,
                               const char* none) {
    const ScreenStock& a = r.market.stocks[static_cast<size_t>(p.a)];
    const ScreenStock& b = r.market.stocks[static_cast<size_t>(p.b)];
    const auto f = [exact](const char* shown) { return exact ? "%.10g" : shown; };
    return {code(a),
            code(b),
            a.name,
            b.name,
            sectorOf(r, a).value_or(none),
            sectorOf(r, b).value_or(none),
            format(f("%.3f"), p.correlation),
            formatOr(f("%.3f"), p.correlationShort, none),
            format(f("%.4f"), p.ssd),
            format(f("%.3f"), p.beta),
            formatOr(f("%.2f"), p.adfT, none),
            formatOr(f("%.2e"), p.p, none),
            formatOr(f("%.2e"), p.q, none),
            formatOr(f("%.1f"), p.halfLife, none),
            formatOr(f("%.2f"), p.z, none),
            format(f("%.1f"), p.crossings),
            format("%.0f", a.turnover),
            format("%.0f", b.turnover)};
}

// The backtest's columns: a few for people, every statistic for scripts.
std::vector<BacktestColumn> backtestColumnsShown(bool all) {
    if (all) {
        return backtestColumns();
    }
    return {BacktestColumn::Trades,      BacktestColumn::WinRate,
            BacktestColumn::Net,         BacktestColumn::ProfitFactor,
            BacktestColumn::MaxDrawdown, BacktestColumn::AverageHolding};
}

// A statistic's cell, `none` where the JSON output has null.
std::string backtestCell(BacktestColumn column, const BacktestStats& s, bool exact,
                         const char* none) {
    const bool any = s.trades > 0;
    const auto yen = [](int64_t v) { return std::to_string(v); };
    const auto real = [exact](const char* shown, double v) {
        return format(exact ? "%.10g" : shown, v);
    };
    switch (column) {
        case BacktestColumn::Trades:
            return std::to_string(s.trades);
        case BacktestColumn::Wins:
            return std::to_string(s.wins);
        case BacktestColumn::WinRate:
            return any ? real("%.2f", s.winRate) : none;
        case BacktestColumn::Net:
            return yen(s.net);
        case BacktestColumn::Gross:
            return real("%.0f", s.gross);
        case BacktestColumn::Costs:
            return real("%.0f", s.costs);
        case BacktestColumn::AverageNet:
            return any ? real("%.0f", s.averageNet) : none;
        case BacktestColumn::ProfitFactor:
            return s.hasProfitFactor ? real("%.2f", s.profitFactor) : none;
        case BacktestColumn::AverageHolding:
            return any ? real("%.1f", s.averageHolding) : none;
        case BacktestColumn::MedianHolding:
            return any ? real("%.1f", s.medianHolding) : none;
        case BacktestColumn::LargestWin:
            return s.wins > 0 ? yen(s.largestWin) : none;
        case BacktestColumn::LargestLoss:
            return s.largestLoss < 0 ? yen(s.largestLoss) : none;
        case BacktestColumn::MaxDrawdown:
            return yen(s.maxDrawdown);
        case BacktestColumn::TargetExits:
            return std::to_string(s.targetExits);
        case BacktestColumn::StopExits:
            return std::to_string(s.stopExits);
        case BacktestColumn::TimeExits:
            return std::to_string(s.timeExits);
    }
    return none;
}

// The header of the table, with the backtest's columns when there are any.
std::vector<std::string> header(const ScreenReport& r, bool all) {
    std::vector<std::string> names(std::begin(kColumns), std::end(kColumns));
    if (r.backtest != nullptr) {
        for (const BacktestColumn c : backtestColumnsShown(all)) {
            names.push_back("backtest." + std::string(backtestColumnName(c)));
        }
        if (all) {
            names.emplace_back("backtest.open_net");
        }
    }
    return names;
}

// The pair's row: its cells and, with a backtest, the statistics' cells.
std::vector<std::string> row(const ScreenReport& r, size_t k, bool exact, const char* none) {
    std::vector<std::string> out = cells(r, r.result.pairs[k], exact, none);
    if (r.backtest != nullptr && k < r.backtest->size()) {
        const BacktestStats& s = (*r.backtest)[k];
        for (const BacktestColumn c : backtestColumnsShown(exact)) {
            out.push_back(backtestCell(c, s, exact, none));
        }
        if (exact) {
            out.push_back(s.hasOpenTrade ? std::to_string(s.openNet) : none);
        }
    }
    return out;
}

}  // namespace

std::string screenText(const ScreenReport& r) {
    std::string out = "end " + isoDate(r.market.dates.back()) + ", " +
                      std::to_string(r.market.window) + " dates, universe " +
                      std::to_string(r.result.universe) + " stocks\n";
    for (const FunnelStage& s : r.result.funnel) {
        char line[80];
        std::snprintf(line, sizeof line, "  %-18s %12lld\n", s.stage.c_str(),
                      static_cast<long long>(s.pairs));
        out += line;
    }
    out += "\n";
    std::vector<std::vector<std::string>> rows{header(r, false)};
    for (size_t k = 0; k < r.result.pairs.size(); ++k) {
        rows.push_back(row(r, k, false, "-"));
    }
    std::vector<size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows) {
        for (size_t k = 0; k < row.size(); ++k) {
            widths[k] = std::max(widths[k], displayWidth(row[k]));
        }
    }
    for (const auto& row : rows) {
        std::string line;
        for (size_t k = 0; k < row.size(); ++k) {
            // Texts to the left, numbers to the right.
            const std::string pad(widths[k] - displayWidth(row[k]), ' ');
            line += (k > 0 ? "  " : "") + (k < 6 ? row[k] + pad : pad + row[k]);
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        out += line + "\n";
    }
    if (r.backtest != nullptr) {
        out += "\nbacktest from " + isoDate(r.backtestStart) + " to " +
               isoDate(r.market.dates.back()) + "; ";
        out += kBacktestNotModelled;
        out += "; few trades say little\n";
    }
    return out;
}

std::string screenCsv(const ScreenReport& r) {
    std::string out;
    for (const std::string& c : header(r, true)) {
        out += (out.empty() ? "" : ",") + c;
    }
    out += "\n";
    for (size_t k = 0; k < r.result.pairs.size(); ++k) {
        const std::vector<std::string> cellsOfPair = row(r, k, true, "");
        for (size_t c = 0; c < cellsOfPair.size(); ++c) {
            out += (c > 0 ? "," : "") + csvQuoted(cellsOfPair[c]);
        }
        out += "\n";
    }
    return out;
}

std::string screenJson(const ScreenReport& r) {
    JsonWriter j;
    const auto optional = [&j](const std::optional<double>& v) -> JsonWriter& {
        return v ? j.value(*v) : j.null();
    };
    j.beginObject();
    j.key("end").value(isoDate(r.market.dates.back()));
    j.key("days").value(r.market.window);
    j.key("universe").value(r.result.universe);
    j.key("funnel").beginArray();
    for (const FunnelStage& s : r.result.funnel) {
        j.beginObject().key("stage").value(s.stage).key("pairs").value(s.pairs).endObject();
    }
    j.endArray();
    if (r.backtest != nullptr) {
        j.key("backtest_start").value(isoDate(r.backtestStart));
        j.key("not_modelled").beginArray().value("逆日歩").value("dividend adjustments").endArray();
    }
    j.key("pairs").beginArray();
    for (size_t k = 0; k < r.result.pairs.size(); ++k) {
        const ScreenPair& p = r.result.pairs[k];
        const ScreenStock& a = r.market.stocks[static_cast<size_t>(p.a)];
        const ScreenStock& b = r.market.stocks[static_cast<size_t>(p.b)];
        j.newline().beginObject();
        j.key("a").value(code(a)).key("b").value(code(b));
        j.key("name_a").value(a.name).key("name_b").value(b.name);
        const std::optional<std::string> sa = sectorOf(r, a);
        const std::optional<std::string> sb = sectorOf(r, b);
        j.key("sector_a");
        sa ? j.value(*sa) : j.null();
        j.key("sector_b");
        sb ? j.value(*sb) : j.null();
        j.key("correlation").value(p.correlation);
        j.key("correlation_short");
        optional(p.correlationShort);
        j.key("ssd").value(p.ssd).key("beta").value(p.beta);
        j.key("adf_t");
        optional(p.adfT);
        j.key("p");
        optional(p.p);
        j.key("q");
        optional(p.q);
        j.key("half_life");
        optional(p.halfLife);
        j.key("z");
        optional(p.z);
        j.key("crossings").value(p.crossings);
        j.key("turnover_a").value(a.turnover).key("turnover_b").value(b.turnover);
        if (r.backtest != nullptr && k < r.backtest->size()) {
            j.key("backtest");
            backtestStatsJson(j, (*r.backtest)[k]);
        }
        j.endObject();
    }
    j.endArray();
    j.endObject();
    return j.text() + "\n";
}

}  // namespace zepa
