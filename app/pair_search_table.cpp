#include "app/pair_search_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <variant>

#include "app/pair_candidate.h"
#include "base/table_text.h"
#include "marketdata/market_code.h"
#include "positions/position_request.h"
#include "screen/screen_market.h"

namespace zepa {
namespace {

struct ColumnInfo {
    PairColumn column;
    std::string_view header;
    bool descending;    // the natural order puts the largest value first
    bool text = false;  // names: aligned left, the numbers right
};

constexpr std::array<ColumnInfo, 19> kColumns{{
    {PairColumn::ACode, "買い", false},
    {PairColumn::AName, "買い銘柄名", false, true},
    {PairColumn::BCode, "売り", false},
    {PairColumn::BName, "売り銘柄名", false, true},
    {PairColumn::Sector, "業種", false, true},
    {PairColumn::Correlation, "相関", true},
    {PairColumn::CorrelationShort, "相関(短期)", true},
    {PairColumn::Beta, "β", false},
    {PairColumn::T, "t", false},
    {PairColumn::P, "p", false},
    {PairColumn::Q, "q", false},
    {PairColumn::HalfLife, "半減期", false},
    {PairColumn::Z, "Z", true},  // by |Z|
    {PairColumn::Trades, "取引回数", true},
    {PairColumn::WinRate, "勝率", true},
    {PairColumn::Net, "純損益", true},
    {PairColumn::ProfitFactor, "PF", true},
    {PairColumn::MaxDrawdown, "最大DD", false},
    {PairColumn::AverageHolding, "平均保有", false},
}};

const ColumnInfo& infoOf(PairColumn column) {
    return kColumns[static_cast<size_t>(column)];
}

std::string printed(const char* format, double v) {
    char text[48];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

std::string optionalCell(const std::optional<double>& v, const char* format) {
    return v ? printed(format, *v) : std::string("--");
}

// p and q near zero keep their magnitude.
std::string probabilityCell(const std::optional<double>& v) {
    if (!v) {
        return "--";
    }
    return printed(*v >= 0.001 || *v == 0.0 ? "%.4f" : "%.1e", *v);
}

using SortKey = std::variant<std::monostate, double, std::string>;  // monostate: missing

SortKey keyOf(const PairSearchRow& r, PairColumn column) {
    const auto opt = [](const std::optional<double>& v) -> SortKey {
        return v ? SortKey(*v) : SortKey();
    };
    const auto stat = [&](auto get) -> SortKey {
        return r.stats ? SortKey(get(*r.stats)) : SortKey();
    };
    switch (column) {
        case PairColumn::ACode:
            return static_cast<double>(r.aCode);
        case PairColumn::AName:
            return r.aName;
        case PairColumn::BCode:
            return static_cast<double>(r.bCode);
        case PairColumn::BName:
            return r.bName;
        case PairColumn::Sector:
            return r.sector.empty() ? SortKey() : SortKey(r.sector);
        case PairColumn::Correlation:
            return r.correlation;
        case PairColumn::CorrelationShort:
            return opt(r.correlationShort);
        case PairColumn::Beta:
            return r.beta;
        case PairColumn::T:
            return opt(r.t);
        case PairColumn::P:
            return opt(r.p);
        case PairColumn::Q:
            return opt(r.q);
        case PairColumn::HalfLife:
            return opt(r.halfLife);
        case PairColumn::Z:
            return r.z ? SortKey(std::abs(*r.z)) : SortKey();
        case PairColumn::Trades:
            return stat([](const BacktestStats& s) { return double(s.trades); });
        case PairColumn::WinRate:
            return r.stats && r.stats->trades > 0 ? SortKey(r.stats->winRate) : SortKey();
        case PairColumn::Net:
            return stat([](const BacktestStats& s) { return double(s.net); });
        case PairColumn::ProfitFactor:
            return r.stats && r.stats->hasProfitFactor ? SortKey(r.stats->profitFactor) : SortKey();
        case PairColumn::MaxDrawdown:
            return stat([](const BacktestStats& s) { return double(s.maxDrawdown); });
        case PairColumn::AverageHolding:
            return r.stats && r.stats->trades > 0 ? SortKey(r.stats->averageHolding) : SortKey();
    }
    return {};
}

// -1, 0 or 1 for present keys in ascending order.
int compareKeys(const SortKey& x, const SortKey& y) {
    if (const auto* dx = std::get_if<double>(&x)) {
        const double dy = std::get<double>(y);
        return *dx < dy ? -1 : *dx > dy ? 1 : 0;
    }
    const int c = std::get<std::string>(x).compare(std::get<std::string>(y));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::string stageLabel(std::string_view stage) {
    if (stage == "correlation") {
        return "相関";
    }
    if (stage == "correlation_short") {
        return "相関(短期)";
    }
    if (stage == "half_life") {
        return "半減期";
    }
    if (stage == "z") {
        return "|Z|";
    }
    return std::string(stage);
}

bool stageFilterOn(std::string_view stage, const ScreenOptions& o) {
    if (stage == "correlation") {
        return o.minCorrelation.has_value();
    }
    if (stage == "correlation_short") {
        return o.minShortCorrelation.has_value();
    }
    if (stage == "p") {
        return o.maxP.has_value();
    }
    if (stage == "half_life") {
        return o.minHalfLife.has_value() || o.maxHalfLife.has_value();
    }
    if (stage == "q") {
        return o.maxQ.has_value();
    }
    if (stage == "z") {
        return o.minAbsZ.has_value();
    }
    return false;
}

// A name a spreadsheet would take as a formula stays text.
std::string csvCell(std::string_view text) {
    const bool formula =
        !text.empty() && std::string_view("=+@").find(text[0]) != std::string_view::npos;
    return csvQuoted(formula ? "'" + std::string(text) : std::string(text));
}

std::vector<std::vector<std::string>> tableCells(const PairSearchTable& table) {
    const std::vector<PairColumn> columns = pairColumns(table.withBacktest);
    std::vector<std::vector<std::string>> cells;
    cells.reserve(table.rows.size() + 1);
    std::vector<std::string> header;
    for (PairColumn c : columns) {
        header.push_back(pairColumnHeader(table, c));
    }
    cells.push_back(std::move(header));
    for (const PairSearchRow& row : table.rows) {
        std::vector<std::string> line;
        for (PairColumn c : columns) {
            line.push_back(pairSpreadsheetCell(row, c));
        }
        cells.push_back(std::move(line));
    }
    return cells;
}

}  // namespace

std::vector<PairColumn> pairColumns(bool withBacktest) {
    std::vector<PairColumn> columns;
    for (const ColumnInfo& info : kColumns) {
        if (withBacktest || info.column < PairColumn::Trades) {
            columns.push_back(info.column);
        }
    }
    return columns;
}

std::string pairColumnHeader(const PairSearchTable& table, PairColumn column) {
    std::string header(infoOf(column).header);
    if ((column == PairColumn::Correlation || column == PairColumn::HalfLife) &&
        table.windowDays > 0) {
        header += "(" + std::to_string(table.windowDays) + "日)";
    }
    if (column == PairColumn::Trades) {
        // The backtest runs over dates that hold the screen's own window: the pairs were chosen
        // for how they moved there, so these figures flatter them (過去の成績 does not).
        header = "検証(選定期間) " + header;
        if (table.backtestFirstDate > 0 && table.backtestLastDate > 0) {
            header += "(" + isoDate(table.backtestFirstDate) + "〜" +
                      isoDate(table.backtestLastDate) + ")";
        }
    }
    return header;
}

bool pairColumnIsText(PairColumn column) {
    return infoOf(column).text;
}

std::string pairCell(const PairSearchRow& r, PairColumn column) {
    const BacktestStats* s = r.stats ? &*r.stats : nullptr;
    const bool traded = s != nullptr && s->trades > 0;
    switch (column) {
        case PairColumn::ACode:
            return std::to_string(r.aCode);
        case PairColumn::AName:
            return r.aName;
        case PairColumn::BCode:
            return std::to_string(r.bCode);
        case PairColumn::BName:
            return r.bName;
        case PairColumn::Sector:
            return r.sector.empty() ? "--" : r.sector;
        case PairColumn::Correlation:
            return printed("%.3f", r.correlation);
        case PairColumn::CorrelationShort:
            return optionalCell(r.correlationShort, "%.3f");
        case PairColumn::Beta:
            return printed("%.3f", r.beta);
        case PairColumn::T:
            return optionalCell(r.t, "%.2f");
        case PairColumn::P:
            return probabilityCell(r.p);
        case PairColumn::Q:
            return probabilityCell(r.q);
        case PairColumn::HalfLife:
            return optionalCell(r.halfLife, "%.1f");
        case PairColumn::Z:
            return optionalCell(r.z, "%+.2f");
        case PairColumn::Trades:
            return s != nullptr ? std::to_string(s->trades) : "--";
        case PairColumn::WinRate:
            return traded ? printed("%.1f%%", s->winRate * 100.0) : "--";
        case PairColumn::Net:
            return s != nullptr ? groupedNumber(s->net) : "--";
        case PairColumn::ProfitFactor:
            return s != nullptr && s->hasProfitFactor ? printed("%.2f", s->profitFactor) : "--";
        case PairColumn::MaxDrawdown:
            return s != nullptr ? groupedNumber(s->maxDrawdown) : "--";
        case PairColumn::AverageHolding:
            return traded ? printed("%.1f", s->averageHolding) : "--";
    }
    return "--";
}

std::string pairSpreadsheetCell(const PairSearchRow& r, PairColumn column) {
    const BacktestStats* s = r.stats ? &*r.stats : nullptr;
    const bool traded = s != nullptr && s->trades > 0;
    const auto real = [](const std::optional<double>& v) {
        return v ? shortestReal(*v) : std::string();
    };
    switch (column) {
        case PairColumn::Correlation:
            return shortestReal(r.correlation);
        case PairColumn::CorrelationShort:
            return real(r.correlationShort);
        case PairColumn::Beta:
            return shortestReal(r.beta);
        case PairColumn::T:
            return real(r.t);
        case PairColumn::P:
            return real(r.p);
        case PairColumn::Q:
            return real(r.q);
        case PairColumn::HalfLife:
            return real(r.halfLife);
        case PairColumn::Z:
            return real(r.z);
        case PairColumn::Trades:
            return s != nullptr ? std::to_string(s->trades) : std::string();
        case PairColumn::WinRate:  // in percent, as the window shows it, without the sign
            return traded ? shortestReal(s->winRate * 100.0) : std::string();
        case PairColumn::Net:
            return s != nullptr ? std::to_string(s->net) : std::string();
        case PairColumn::ProfitFactor:
            return s != nullptr && s->hasProfitFactor ? shortestReal(s->profitFactor)
                                                      : std::string();
        case PairColumn::MaxDrawdown:
            return s != nullptr ? std::to_string(s->maxDrawdown) : std::string();
        case PairColumn::AverageHolding:
            return traded ? shortestReal(s->averageHolding) : std::string();
        default:
            break;
    }
    // Codes and names as shown; a missing value is an empty cell.
    const std::string shown = pairCell(r, column);
    return shown == "--" ? std::string() : shown;
}

std::string pairTableFileName(int32_t endDate) {
    if (endDate <= 0) {
        return "ペア検索.csv";
    }
    return "ペア検索_" + isoDate(endDate) + ".csv";
}

PairSearchRow pairSearchRow(const ScreenMarket& market, const ScreenPair& pair, int32_t rank,
                            int sectorKind, const ListingTable* listing) {
    const ScreenStock& a = market.stocks[static_cast<size_t>(pair.a)];
    const ScreenStock& b = market.stocks[static_cast<size_t>(pair.b)];
    PairSearchRow r;
    r.rank = rank;
    r.aMarket = marketLetterOf(a.marketCode);
    r.aCode = a.code;
    r.aName = a.name;
    r.bMarket = marketLetterOf(b.marketCode);
    r.bCode = b.code;
    r.bName = b.name;
    const auto sectorOf = [&](const ScreenStock& s) {
        const bool by33 = sectorKind == 33 || (sectorKind != 17 && s.sector17.empty());
        const ListingEntry* e = listing != nullptr ? findListing(*listing, s.code) : nullptr;
        if (e != nullptr) {
            const std::string& name = by33 ? e->sector33Name : e->sector17Name;
            if (!name.empty()) {
                return name;
            }
        }
        return by33 ? s.sector33 : s.sector17;
    };
    const std::string sa = sectorOf(a);
    const std::string sb = sectorOf(b);
    r.sector = sa == sb ? sa : sa.empty() ? sb : sb.empty() ? sa : sa + "/" + sb;
    r.aClose = a.storedCloseAtEnd;
    r.bClose = b.storedCloseAtEnd;
    r.correlation = pair.correlation;
    r.correlationShort = pair.correlationShort;
    r.beta = pair.beta;
    r.t = pair.adfT;
    r.p = pair.p;
    r.q = pair.q;
    r.halfLife = pair.halfLife;
    r.z = pair.z;
    // The screen's z of a / b above 0 says a is the dearer leg: b is bought, and the z of the
    // ratio traded, b / a, is exactly minus the screen's.
    if (r.z && !candidateBuysA(*r.z, true)) {
        std::swap(r.aMarket, r.bMarket);
        std::swap(r.aCode, r.bCode);
        std::swap(r.aName, r.bName);
        std::swap(r.aClose, r.bClose);
        if (!sa.empty() && !sb.empty() && sa != sb) {
            r.sector = sb + "/" + sa;
        }
        r.z = -*r.z;
        r.turned = true;
    }
    return r;
}

void clickPairHeader(PairSearchTable& table, PairColumn column) {
    table.reversed = table.sortColumn == column ? !table.reversed : false;
    table.sortColumn = column;
    sortPairRows(table);
}

void sortPairRows(PairSearchTable& table) {
    if (!table.sortColumn) {
        std::sort(table.rows.begin(), table.rows.end(),
                  [](const PairSearchRow& x, const PairSearchRow& y) { return x.rank < y.rank; });
        return;
    }
    const PairColumn column = *table.sortColumn;
    const bool descending = infoOf(column).descending != table.reversed;
    std::sort(table.rows.begin(), table.rows.end(),
              [&](const PairSearchRow& x, const PairSearchRow& y) {
                  const SortKey kx = keyOf(x, column);
                  const SortKey ky = keyOf(y, column);
                  const bool mx = std::holds_alternative<std::monostate>(kx);
                  const bool my = std::holds_alternative<std::monostate>(ky);
                  if (mx != my) {
                      return my;  // missing last
                  }
                  if (!mx) {
                      const int c = compareKeys(kx, ky);
                      if (c != 0) {
                          return descending ? c > 0 : c < 0;
                      }
                  }
                  return x.rank < y.rank;
              });
}

std::string funnelLine(const ScreenResult& result, const ScreenOptions& options) {
    std::string line = groupedNumber(result.universe) + "銘柄";
    for (const FunnelStage& stage : result.funnel) {
        if (stage.stage == "pairs") {
            line += " → " + groupedNumber(stage.pairs) + "組";
        } else if (stageFilterOn(stage.stage, options)) {
            line += " → " + stageLabel(stage.stage) + " " + groupedNumber(stage.pairs);
        }
    }
    // What the table holds, so that a cut by the row limit is not taken for the filters'.
    return line + "　上位 " + groupedNumber(static_cast<int64_t>(result.pairs.size())) +
           " 組を表示";
}

std::string pairTableTsv(const PairSearchTable& table) {
    return cellsTsv(tableCells(table));
}

std::string pairTableCsv(const PairSearchTable& table) {
    return cellsCsv(tableCells(table), csvCell);
}

}  // namespace zepa
