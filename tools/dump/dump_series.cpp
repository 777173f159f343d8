#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/codepage.h"
#include "marketdata/pair_series.h"
#include "marketdata/position_figures.h"
#include "tools/common/installation.h"
#include "tools/common/json_writer.h"
#include "tools/dump/dump_commands.h"

namespace zepa {
namespace {

constexpr const char* kSeriesUsage =
    "usage: zepa_dump [--root DIR] [--json] series N [--weekly] [--periods B,S] [--adjusted]";

bool parseNumber(const std::string& text, int& out) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    out = std::atoi(text.c_str());
    return true;
}

struct SeriesArgs {
    int position = -1;
    PairSeriesOptions options;
};

bool parseSeriesArgs(const std::vector<std::string>& args, SeriesArgs& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--weekly") {
            out.options.weeklyBars = 1;
        } else if (arg == "--adjusted") {
            out.options.splitAdjustedDisplay = 1;
        } else if (arg == "--periods" && i + 1 < args.size()) {
            const std::string& periods = args[++i];
            size_t comma = periods.find(',');
            if (comma == std::string::npos ||
                !parseNumber(periods.substr(0, comma), out.options.buyAveragePeriod) ||
                !parseNumber(periods.substr(comma + 1), out.options.sellAveragePeriod)) {
                return false;
            }
        } else if (out.position < 0 && parseNumber(arg, out.position)) {
            continue;
        } else {
            return false;
        }
    }
    return out.position >= 0;
}

int32_t dateOrZero(PackedDate d) {
    return (d.year == 0 && d.month == 0 && d.day == 0) ? 0 : dateValue(d);
}

void writeBars(JsonWriter& json, const std::vector<DayBar>& bars) {
    json.beginArray();
    for (const DayBar& b : bars) {
        json.newline()
            .beginArray()
            .value(dateOrZero(b.date))
            .value(b.open)
            .value(b.high)
            .value(b.low)
            .value(b.close)
            .value(b.volume)
            .value(b.gain)
            .value(b.average)
            .endArray();
    }
    json.endArray();
}

// The position's profit per slot where the profit chart draws a bar (either leg has a positive
// close), null elsewhere.
void writeProfits(JsonWriter& json, const SpreadSeries& s, const PositionRecord& position) {
    json.beginArray();
    const size_t slots = std::min(s.buyBars.size(), s.sellBars.size());
    for (size_t i = 0; i < slots; ++i) {
        if (s.buyBars[i].close > 0 || s.sellBars[i].close > 0) {
            json.value(positionProfit(s, position, static_cast<int32_t>(i)));
        } else {
            json.null();
        }
    }
    json.endArray();
}

std::string seriesJson(const PairSeriesResult& r, int32_t dateCount, const SpreadSeries& s,
                       const PositionRecord& position) {
    JsonWriter json;
    json.beginObject().key("result").value(r.result).key("dateCount").value(dateCount);
    if (r.result != 1) {
        json.key("message").value(pairSeriesMessageText(r.message)).endObject();
        return json.text() + "\n";
    }
    json.key("buyStart").value(s.buyStart).key("sellStart").value(s.sellStart);
    json.key("firstBar").value(s.firstBar);
    json.key("buyEntryBar").value(s.buyEntryBar).key("sellEntryBar").value(s.sellEntryBar);
    json.key("buyMarketCode").value(s.buyMarketCode).key("sellMarketCode").value(s.sellMarketCode);
    json.key("buyStockCode").value(s.buyStockCode).key("sellStockCode").value(s.sellStockCode);
    json.key("buyFactor").value(s.buyFactor).key("sellFactor").value(s.sellFactor);
    json.key("buyStockName").value(utf8FromCp932(s.buyStockName));
    json.key("sellStockName").value(utf8FromCp932(s.sellStockName));
    // The bars as the chart shows them: split-adjusted with --adjusted.
    json.key("buyBars");
    writeBars(json, shownBars(s, Leg::Buy));
    json.key("sellBars");
    writeBars(json, shownBars(s, Leg::Sell));
    json.key("profit");
    writeProfits(json, s, position);
    json.endObject();
    return json.text() + "\n";
}

std::string barText(const DayBar& b) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%8d %8d %8d %8d %8d %11d %8d %8d", dateOrZero(b.date),
                  b.open, b.high, b.low, b.close, b.volume, b.gain, b.average);
    return buffer;
}

std::string seriesText(const PairSeriesResult& r, int32_t dateCount, const SpreadSeries& s) {
    std::string text =
        "result " + std::to_string(r.result) + "\ndateCount " + std::to_string(dateCount) + "\n";
    if (r.result != 1) {
        return text + "message " + pairSeriesMessageText(r.message) + "\n";
    }
    char line[256];
    std::snprintf(line, sizeof line,
                  "buy  market %d code %05d factor %d start %d entryBar %d name ", s.buyMarketCode,
                  s.buyStockCode, s.buyFactor, s.buyStart, s.buyEntryBar);
    text += line + utf8FromCp932(s.buyStockName) + "\n";
    std::snprintf(line, sizeof line,
                  "sell market %d code %05d factor %d start %d entryBar %d name ", s.sellMarketCode,
                  s.sellStockCode, s.sellFactor, s.sellStart, s.sellEntryBar);
    text += line + utf8FromCp932(s.sellStockName) + "\n";
    text += "firstBar " + std::to_string(s.firstBar) + "\n";
    text +=
        " slot |     date     open     high      low    close      volume     gain  average"
        " |     date     open     high      low    close      volume     gain  average\n";
    for (int32_t i = 0; i < dateCount; ++i) {
        std::snprintf(line, sizeof line, "%5d | ", i);
        text += line + barText(shownBars(s, Leg::Buy)[i]) + " | " +
                barText(shownBars(s, Leg::Sell)[i]) + "\n";
    }
    return text;
}

// With --json the data error is an object on stdout.
int seriesDataErrorExit(const Installation& in, bool json) {
    if (!json) {
        return dataErrorExit(in);
    }
    JsonWriter w;
    w.beginObject().key("dataError").value(static_cast<int>(in.md.dataError));
    w.key("message").value(dataErrorMessage(in.md.dataError, in.paths.dataDirectory)).endObject();
    printOut(w.text() + "\n");
    return kExitDataError;
}

}  // namespace

int dumpSeries(const DumpOptions& options) {
    SeriesArgs args;
    if (!parseSeriesArgs(options.args, args)) {
        return printError(kExitUsage, kSeriesUsage);
    }
    Installation in;
    const int loaded = loadForPosition(options.root, args.position, in);
    if (loaded == kExitDataError) {
        return seriesDataErrorExit(in, options.json);
    }
    if (loaded != kExitOk) {
        return loaded;
    }
    SpreadSeries series;
    const int32_t dateCount = in.md.set.dateCount;
    PairSeriesResult r = buildPairSeries(in.md, in.corrections, in.positions.records[args.position],
                                         args.options, series);
    if (r.message == PairSeriesMessage::DataError) {
        return seriesDataErrorExit(in, options.json);
    }
    const PositionRecord& position = in.positions.records[args.position];
    return printOut(options.json ? seriesJson(r, dateCount, series, position)
                                 : seriesText(r, dateCount, series));
}

}  // namespace zepa
