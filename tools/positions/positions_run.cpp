#include "tools/positions/positions_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "positions/close_position.h"
#include "positions/position_line.h"
#include "positions/position_overview.h"
#include "positions/position_request.h"
#include "tools/common/installation.h"
#include "tools/common/json_writer.h"

namespace zepa {
namespace {

int refuse(std::string& err, const std::string& reason) {
    err += reason + "\n";
    return kPositionsRefused;
}

std::string dateText(int32_t yymmdd) {
    return yymmdd == 0 ? "-" : isoDate(yyyymmddOf(yymmdd));
}

std::string legText(const PositionLeg& leg) {
    char text[96];
    std::snprintf(text, sizeof text, "%-7s %s %9d",
                  stockCodeText(leg.marketLetter[0], leg.stockCode).c_str(),
                  dateText(leg.entryDate).c_str(), static_cast<int>(leg.quantity));
    return std::string(text) + "  " + shownShortName(leg.shortName);
}

std::string positionText(int n, const PositionRecord& p) {
    char index[16];
    std::snprintf(index, sizeof index, "%4d  ", n);
    return index + legText(p.buy) + "  /  " + legText(p.sell) + "\n";
}

void jsonLeg(JsonWriter& json, const PositionLeg& leg) {
    json.beginObject()
        .key("code")
        .value(stockCodeText(leg.marketLetter[0], leg.stockCode))
        .key("name")
        .value(shownShortName(leg.shortName))
        .key("entry_date")
        .value(leg.entryDate == 0 ? std::string() : isoDate(yyyymmddOf(leg.entryDate)))
        .key("quantity")
        .value(leg.quantity)
        .endObject();
}

bool loadPrices(const PositionsArgs& args, Installation& in, std::string& err) {
    const LoadOutcome outcome = loadInstallation(args.root, in);
    if (outcome == LoadOutcome::PositionFileMissing) {
        err += positionFileAbsentMessage(in.paths) + "\n";
        return false;
    }
    if (outcome == LoadOutcome::DataError) {
        err += dataErrorMessage(in.md.dataError, in.paths.dataDirectory) + "\n";
        return false;
    }
    return true;
}

bool snapshotOf(const InstallationPaths& paths, PositionFileSnapshot& snapshot, std::string& err) {
    if (!takePositionSnapshot(paths.positionFile, snapshot)) {
        err += positionFileMissingMessage(paths.positionFile) + "\n";
        return false;
    }
    return true;
}

// The figures of the listed positions at the newest date; without readable price files every
// row says why.
PositionOverview overviewOf(const PositionsArgs& args,
                            const std::vector<ScannedPosition>& positions,
                            const OverviewSettings& settings) {
    PositionTable table;
    for (const ScannedPosition& p : positions) {
        table.records.push_back(p.record);
        table.lines.push_back(static_cast<int32_t>(p.line + 1));
    }
    table.positionCount = static_cast<int>(positions.size());
    PositionOverview overview;
    Installation in;
    std::string problem;
    if (loadInstallation(args.root, in) == LoadOutcome::DataError) {
        problem = dataErrorMessage(in.md.dataError, in.paths.dataDirectory);
    } else if (computePositionOverview(in.md, in.corrections, table, settings, overview) ==
               OverviewResult::DataError) {
        problem = dataErrorMessage(in.md.dataError, in.paths.dataDirectory);
    }
    if (!problem.empty()) {
        overview = PositionOverview{};
        for (size_t n = 0; n < positions.size(); ++n) {
            OverviewRow row;
            row.record = table.records[n];
            row.line = table.lines[n];
            row.problem = problem;
            overview.rows.push_back(row);
        }
        overview.totals.leftOut = static_cast<int>(positions.size());
    }
    return overview;
}

template <class T>
void jsonFigure(JsonWriter& json, const char* name, const std::optional<T>& v) {
    json.key(name);
    if (v) {
        json.value(*v);
    } else {
        json.null();
    }
}

void jsonFigures(JsonWriter& json, const OverviewRow& row) {
    jsonFigure(json, "profit", row.profit);
    jsonFigure(json, "day_change", row.dayChange);
    jsonFigure(json, "profit_rate", row.profitRate);
    jsonFigure(json, "days_held", row.daysHeld);
    json.key("deadline");
    if (row.deadline) {
        json.value(isoDate(*row.deadline));
    } else {
        json.null();
    }
    jsonFigure(json, "days_left", row.daysLeft);
    // To the sen: the figure is a sum of yearly rates over days.
    jsonFigure(
        json, "carry",
        row.carry ? std::optional<double>(std::round(*row.carry * 100.0) / 100.0) : std::nullopt);
    jsonFigure(json, "net", row.net);
    jsonFigure(json, "z", row.z);
    jsonFigure(json, "correlation", row.correlation);
    jsonFigure(json, "half_life", row.halfLife);
    json.key("signals").beginArray();
    for (const std::string& text : signalTexts(row.signals)) {
        json.value(text);
    }
    json.endArray();
    if (!row.problem.empty()) {
        json.key("problem").value(row.problem);
    }
}

template <class T>
std::string figure(const char* format, const std::optional<T>& v, int width) {
    if (!v) {
        return std::string(static_cast<size_t>(std::max(width - 1, 0)), ' ') + "-";
    }
    char text[48];
    std::snprintf(text, sizeof text, format, width, *v);
    return text;
}

// The figures after a position's legs, or why it has none (on one line).
std::string figuresText(const OverviewRow& row) {
    if (!row.problem.empty()) {
        std::string problem = row.problem;
        std::replace(problem.begin(), problem.end(), '\n', ' ');
        return "  " + problem;
    }
    const auto yen = [](const std::optional<int64_t>& v) {
        return v ? std::optional<long long>(static_cast<long long>(*v)) : std::nullopt;
    };
    std::string text =
        "  " + figure("%+*lld", yen(row.profit), 11) + " " +
        figure("%+*lld", yen(row.dayChange), 9) + " " +
        figure("%+*.2f",
               row.profitRate ? std::optional<double>(*row.profitRate * 100.0) : std::nullopt, 7) +
        "% " + figure("%*d", row.daysHeld, 5) + "d " +
        (row.deadline ? isoDate(*row.deadline) : std::string(10, '-')) + " " +
        figure("%*d", row.daysLeft, 5) + "d " + figure("%*.0f", row.carry, 9) + " " +
        figure("%+*lld", yen(row.net), 11) + "  z " + figure("%+*.2f", row.z, 6) + "  r " +
        figure("%+*.2f", row.correlation, 5) + "  hl " + figure("%*.1f", row.halfLife, 6);
    const std::string signals = signalsText(row.signals);
    return text + (signals.empty() ? "" : "  " + signals);
}

std::string totalsText(const OverviewTotals& t) {
    char text[160];
    std::snprintf(text, sizeof text, "total  profit %+lld  day %+lld  carry %.0f  net %+lld  (%d",
                  static_cast<long long>(t.profit), static_cast<long long>(t.dayChange), t.carry,
                  static_cast<long long>(t.net), t.counted);
    std::string line = std::string(text) + (t.counted == 1 ? " position" : " positions");
    if (t.leftOut > 0) {
        line += ", " + std::to_string(t.leftOut) + " left out";
    }
    line += ")";
    std::string signals;
    const auto add = [&signals](const char* name, int n) {
        if (n > 0) {
            signals += (signals.empty() ? "" : "・") + std::string(name) + " " + std::to_string(n);
        }
    };
    add("利確", t.takeProfit);
    add("損切", t.stop);
    add("期日", t.deadline);
    return line + (signals.empty() ? "" : "  合図: " + signals) + "\n";
}

int list(const PositionsArgs& args, const OverviewSettings& settings, std::string& out,
         std::string& err) {
    const InstallationPaths paths = makeInstallationPaths(args.root);
    PositionFileSnapshot snapshot;
    if (!snapshotOf(paths, snapshot, err)) {
        return kPositionsRefused;
    }
    const std::vector<ScannedPosition> positions = scanPositionBytes(snapshot.bytes);
    const PositionOverview overview = overviewOf(args, positions, settings);
    if (args.json) {
        JsonWriter json;
        json.beginArray();
        for (size_t n = 0; n < positions.size(); ++n) {
            json.newline().beginObject().key("buy");
            jsonLeg(json, positions[n].record.buy);
            json.key("sell");
            jsonLeg(json, positions[n].record.sell);
            jsonFigures(json, overview.rows[n]);
            json.endObject();
        }
        out += json.endArray().text() + "\n";
        return kPositionsOk;
    }
    for (size_t n = 0; n < positions.size(); ++n) {
        std::string line = positionText(static_cast<int>(n), positions[n].record);
        line.pop_back();
        out += line + figuresText(overview.rows[n]) + "\n";
    }
    out += totalsText(overview.totals);
    return kPositionsOk;
}

// The draft of add, or of change over the position's own values.
PositionDraft draftFrom(const PositionsArgs& args, const PositionDraft& base) {
    PositionDraft draft = base;
    if (args.command == PositionsCommand::Add) {
        draft.buyCode = args.buyCode;
        draft.sellCode = args.sellCode;
    }
    if (args.date) {
        draft.buyDate = draft.sellDate = *args.date;
    }
    draft.buyDate = args.buyDate.value_or(draft.buyDate);
    draft.sellDate = args.sellDate.value_or(draft.sellDate);
    if (args.amount) {
        draft.byAmount = true;
        draft.amount = *args.amount;
    }
    if (args.quantity) {
        draft.buyQuantity = draft.sellQuantity = *args.quantity;
    }
    draft.buyQuantity = args.buyQuantity.value_or(draft.buyQuantity);
    draft.sellQuantity = args.sellQuantity.value_or(draft.sellQuantity);
    draft.buyName = args.buyName.value_or(draft.buyName);
    draft.sellName = args.sellName.value_or(draft.sellName);
    return draft;
}

int edit(const PositionsArgs& args, std::string& out, std::string& err) {
    Installation in;
    PositionFileSnapshot snapshot;
    if (!loadPrices(args, in, err) || !snapshotOf(in.paths, snapshot, err)) {
        return kPositionsRefused;
    }
    const std::vector<ScannedPosition> positions = scanPositionBytes(snapshot.bytes);
    PositionEdit change;
    if (args.command == PositionsCommand::Add) {
        change.kind = PositionEditKind::Add;
    } else {
        change.kind = args.command == PositionsCommand::Change ? PositionEditKind::Change
                                                               : PositionEditKind::Remove;
        change.position = args.position;
        if (args.position >= static_cast<int>(positions.size())) {
            return refuse(err, noSuchPositionMessage(args.position, positions.size()));
        }
    }
    if (change.kind != PositionEditKind::Remove) {
        const PositionDraft base =
            change.kind == PositionEditKind::Change
                ? draftOf(positions[static_cast<size_t>(args.position)].record)
                : PositionDraft{};
        const PositionDraftOutcome made =
            makePosition(in.md, in.corrections, draftFrom(args, base));
        if (!made.ok) {
            return refuse(err, made.message);
        }
        change.record = made.record;
    }
    const PositionEditOutcome written = writePositionEdit(snapshot, change);
    if (!written.ok) {
        return refuse(err, written.message);
    }
    if (change.kind == PositionEditKind::Remove) {
        out += "removed " + std::to_string(args.position) + "\n";
    } else {
        out += positionText(written.position, recordAsRead(change.record));
    }
    return kPositionsOk;
}

void jsonTrade(JsonWriter& json, const ClosedTrade& t) {
    json.newline().beginObject().key("close_date").value(isoDate(t.closeDate));
    const auto leg = [&](const char* side, const ClosedLeg& l) {
        const std::string p = side;
        json.key(p + "_code")
            .value(stockCodeText(l.marketLetter, l.stockCode))
            .key(p + "_name")
            .value(l.name)
            .key(p + "_entry_date")
            .value(isoDate(l.entryDate))
            .key(p + "_quantity")
            .value(l.quantity)
            .key(p + "_entry_price")
            .value(l.entryPrice)
            .key(p + "_exit_price")
            .value(l.exitPrice)
            .key(p + "_profit")
            .value(l.profit);
    };
    leg("buy", t.buy);
    leg("sell", t.sell);
    json.key("profit").value(t.profit).key("note").value(t.note).endObject();
}

std::string tradeText(const ClosedTrade& t) {
    char text[256];
    std::snprintf(
        text, sizeof text,
        "%s  %s %s x%lld %lld->%lld %+lld  /  %s %s x%lld %lld->%lld %+lld  =  %+lld",
        isoDate(t.closeDate).c_str(), stockCodeText(t.buy.marketLetter, t.buy.stockCode).c_str(),
        isoDate(t.buy.entryDate).c_str(), static_cast<long long>(t.buy.quantity),
        static_cast<long long>(t.buy.entryPrice), static_cast<long long>(t.buy.exitPrice),
        static_cast<long long>(t.buy.profit),
        stockCodeText(t.sell.marketLetter, t.sell.stockCode).c_str(),
        isoDate(t.sell.entryDate).c_str(), static_cast<long long>(t.sell.quantity),
        static_cast<long long>(t.sell.entryPrice), static_cast<long long>(t.sell.exitPrice),
        static_cast<long long>(t.sell.profit), static_cast<long long>(t.profit));
    return std::string(text) + (t.note.empty() ? "" : "  " + t.note) + "\n";
}

int close(const PositionsArgs& args, std::string& out, std::string& err) {
    Installation in;
    PositionFileSnapshot snapshot;
    if (!loadPrices(args, in, err) || !snapshotOf(in.paths, snapshot, err)) {
        return kPositionsRefused;
    }
    CloseRequest request;
    request.position = args.position;
    request.exitDate = args.date.value_or(0);
    request.buyExitPrice = args.buyPrice;
    request.sellExitPrice = args.sellPrice;
    request.note = args.note.value_or("");
    const CloseOutcome closed =
        closePosition(in.md, in.corrections, snapshot, closedTradesPath(in.paths), request);
    if (!closed.ok) {
        return refuse(err, closed.message);
    }
    out += tradeText(closed.trade);
    return kPositionsOk;
}

int closed(const PositionsArgs& args, std::string& out, std::string& err) {
    const std::string path = closedTradesPath(makeInstallationPaths(args.root));
    ClosedTradesFile file;
    if (!readClosedTrades(path, file)) {
        return refuse(err, path + " が読めません");
    }
    for (int line : file.badLines) {
        err += path + " の " + std::to_string(line) + " 行目は決済の記録として読めません\n";
    }
    if (args.json) {
        JsonWriter json;
        json.beginArray();
        for (const ClosedTrade& t : file.trades) {
            jsonTrade(json, t);
        }
        out += json.endArray().text() + "\n";
        return kPositionsOk;
    }
    for (const ClosedTrade& t : file.trades) {
        out += tradeText(t);
    }
    const ClosedTotals totals = closedTotals(file.trades);
    for (const ProfitTotal& m : totals.months) {
        out += "month " + std::to_string(m.period / 100) + "-" + (m.period % 100 < 10 ? "0" : "") +
               std::to_string(m.period % 100) + "  " + std::to_string(m.profit) + "\n";
    }
    for (const ProfitTotal& y : totals.years) {
        out += "year " + std::to_string(y.period) + "  " + std::to_string(y.profit) + "\n";
    }
    out += "total  " + std::to_string(totals.overall.profit) + "  (" +
           std::to_string(totals.overall.trades) + " trades)\n";
    return kPositionsOk;
}

}  // namespace

int runPositions(const PositionsArgs& args, std::string& out, std::string& err,
                 const OverviewSettings& overview) {
    switch (args.command) {
        case PositionsCommand::List:
            return list(args, overview, out, err);
        case PositionsCommand::Add:
        case PositionsCommand::Change:
        case PositionsCommand::Remove:
            return edit(args, out, err);
        case PositionsCommand::Close:
            return close(args, out, err);
        case PositionsCommand::Closed:
            return closed(args, out, err);
    }
    return kPositionsUsageError;
}

}  // namespace zepa
