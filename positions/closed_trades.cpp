#include "positions/closed_trades.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <map>
#include <system_error>

#include "base/durable_file.h"
#include "base/table_text.h"
#include "positions/position_file_edit.h"
#include "positions/position_request.h"

namespace zepa {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// A line recorded before the costs were kept has the first 19 cells alone.
constexpr size_t kOlderColumns = 19;
constexpr size_t kColumns = 21;
// A cell a spreadsheet would take as a formula starts with one of these: such a text is kept
// as text by a leading apostrophe, which reading takes off again.
constexpr std::string_view kFormulaStarts = "=+-@";

// A free text: kept from being taken as a formula, on one line.
std::string textCell(std::string_view cell) {
    std::string text;
    for (char c : cell) {
        text += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    if (!text.empty() && kFormulaStarts.find(text[0]) != std::string_view::npos) {
        text.insert(0, "'");
    }
    return text;
}

std::string fromCell(std::string text) {
    if (text.size() >= 2 && text[0] == '\'' &&
        kFormulaStarts.find(text[1]) != std::string_view::npos) {
        text.erase(0, 1);
    }
    return text;
}

// A line's cells; false when a quote is left open.
bool splitCells(std::string_view line, std::vector<std::string>& cells) {
    cells.assign(1, {});
    bool quoted = false;
    for (size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (quoted) {
            if (c == '"' && k + 1 < line.size() && line[k + 1] == '"') {
                cells.back() += '"';
                ++k;
            } else if (c == '"') {
                quoted = false;
            } else {
                cells.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return !quoted;
}

bool number(const std::string& text, int64_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && ptr == end && !text.empty();
}

// Cell `at` as a figure: absent when the line has no such cell or leaves it blank; false for
// anything else that is not a number.
bool optionalNumber(const std::vector<std::string>& cells, size_t at, std::optional<int64_t>& v) {
    v.reset();
    if (at >= cells.size() || cells[at].empty()) {
        return true;
    }
    int64_t n = 0;
    if (!number(cells[at], n)) {
        return false;
    }
    v = n;
    return true;
}

void legCells(std::vector<std::string>& cells, const ClosedLeg& leg) {
    cells.push_back(std::string(1, leg.marketLetter));
    cells.push_back(std::to_string(leg.stockCode));
    cells.push_back(textCell(leg.name));
    cells.push_back(isoDate(leg.entryDate));
    cells.push_back(std::to_string(leg.quantity));
    cells.push_back(std::to_string(leg.entryPrice));
    cells.push_back(std::to_string(leg.exitPrice));
    cells.push_back(std::to_string(leg.profit));
}

bool readLeg(const std::vector<std::string>& cells, size_t at, ClosedLeg& leg) {
    int64_t code = 0;
    if (cells[at].size() != 1 || !number(cells[at + 1], code) || code < 0 || code > 99999) {
        return false;
    }
    leg.marketLetter = cells[at][0];
    leg.stockCode = static_cast<int32_t>(code);
    leg.name = fromCell(cells[at + 2]);
    return parseIsoDate(cells[at + 3], leg.entryDate) && number(cells[at + 4], leg.quantity) &&
           number(cells[at + 5], leg.entryPrice) && number(cells[at + 6], leg.exitPrice) &&
           number(cells[at + 7], leg.profit);
}

bool sameLeg(const ClosedLeg& a, const ClosedLeg& b) {
    return a.marketLetter == b.marketLetter && a.stockCode == b.stockCode &&
           a.entryDate == b.entryDate && a.quantity == b.quantity;
}

std::string headerLine() {
    std::string line;
    for (const std::string& cell : closedTradeHeader()) {
        line += (line.empty() ? "" : ",") + cell;
    }
    return line + "\r\n";
}

}  // namespace

std::string closedTradesPath(const InstallationPaths& paths) {
    return (std::filesystem::path(paths.zepawin) / "CLOSED.CSV").string();
}

const std::vector<std::string>& closedTradeHeader() {
    static const std::vector<std::string> kHeader = {
        "決済日",   "買い市場",     "買いコード", "買い銘柄",   "買い建日",   "買い株数",
        "買い建値", "買い決済値",   "買い損益",   "売り市場",   "売りコード", "売り銘柄",
        "売り建日", "売り株数",     "売り建値",   "売り決済値", "売り損益",   "損益合計",
        "メモ",     "金利・貸株料", "実質損益"};
    return kHeader;
}

std::string closedTradeLine(const ClosedTrade& trade) {
    std::vector<std::string> cells{isoDate(trade.closeDate)};
    legCells(cells, trade.buy);
    legCells(cells, trade.sell);
    cells.push_back(std::to_string(trade.profit));
    cells.push_back(textCell(trade.note));
    cells.push_back(trade.carry ? std::to_string(*trade.carry) : std::string());
    cells.push_back(trade.net ? std::to_string(*trade.net) : std::string());
    std::string line;
    for (size_t k = 0; k < cells.size(); ++k) {
        line += (k > 0 ? "," : "") + csvQuoted(cells[k]);
    }
    return line + "\r\n";
}

bool sameClosedTrade(const ClosedTrade& a, const ClosedTrade& b) {
    return a.closeDate == b.closeDate && sameLeg(a.buy, b.buy) && sameLeg(a.sell, b.sell);
}

ClosedTradesFile parseClosedTrades(std::string_view bytes) {
    ClosedTradesFile file;
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
    }
    std::vector<std::string> cells;
    int lineNumber = 0;
    while (!bytes.empty()) {
        const size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.find_first_not_of(" \t") == std::string_view::npos ||
            (lineNumber == 1 && line.starts_with(closedTradeHeader()[0]))) {
            continue;
        }
        ClosedTrade trade;
        if (!splitCells(line, cells) ||
            (cells.size() != kColumns && cells.size() != kOlderColumns) ||
            !parseIsoDate(cells[0], trade.closeDate) || !readLeg(cells, 1, trade.buy) ||
            !readLeg(cells, 9, trade.sell) || !number(cells[17], trade.profit) ||
            !optionalNumber(cells, 19, trade.carry) || !optionalNumber(cells, 20, trade.net)) {
            file.badLines.push_back(lineNumber);
            continue;
        }
        trade.note = fromCell(cells[18]);
        file.trades.push_back(std::move(trade));
    }
    return file;
}

bool readClosedTrades(const std::string& path, ClosedTradesFile& file, std::string* bytes) {
    file = ClosedTradesFile{};
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) {
        if (bytes != nullptr) {
            bytes->clear();
        }
        return true;
    }
    PositionFileSnapshot snapshot;
    if (!takePositionSnapshot(path, snapshot)) {
        return false;
    }
    file = parseClosedTrades(snapshot.bytes);
    if (bytes != nullptr) {
        *bytes = std::move(snapshot.bytes);
    }
    return true;
}

bool appendClosedTrade(const std::string& path, const ClosedTrade& trade, bool* alreadyThere,
                       std::string& message) {
    ClosedTradesFile file;
    std::string bytes;
    if (!readClosedTrades(path, file, &bytes)) {
        message = path + " が読めません";
        return false;
    }
    for (const ClosedTrade& recorded : file.trades) {
        if (sameClosedTrade(recorded, trade)) {
            if (alreadyThere != nullptr) {
                *alreadyThere = true;
            }
            return true;
        }
    }
    if (alreadyThere != nullptr) {
        *alreadyThere = false;
    }
    if (bytes.empty()) {
        bytes = std::string(kUtf8Bom) + headerLine();
    } else if (bytes.back() != '\n') {
        bytes += "\r\n";
    }
    bytes += closedTradeLine(trade);
    if (!writeFileDurably(path, bytes)) {
        message = path + " に書き込めませんでした";
        return false;
    }
    return true;
}

ClosedTotals closedTotals(const std::vector<ClosedTrade>& trades) {
    std::map<int32_t, ProfitTotal> months;
    std::map<int32_t, ProfitTotal> years;
    ClosedTotals totals;
    const auto add = [](ProfitTotal& total, int32_t period, int64_t profit) {
        total.period = period;
        // A hand-edited file may hold any figure: the sum stops at the 64-bit range.
        if (__builtin_add_overflow(total.profit, profit, &total.profit)) {
            total.profit = profit > 0 ? INT64_MAX : INT64_MIN;
        }
        ++total.trades;
    };
    for (const ClosedTrade& t : trades) {
        add(months[t.closeDate / 100], t.closeDate / 100, t.profit);
        add(years[t.closeDate / 10000], t.closeDate / 10000, t.profit);
        add(totals.overall, 0, t.profit);
    }
    for (const auto& [period, total] : months) {
        totals.months.push_back(total);
    }
    for (const auto& [period, total] : years) {
        totals.years.push_back(total);
    }
    return totals;
}

}  // namespace zepa
