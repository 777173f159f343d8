// zepa_dump stats: the ratio statistics of a position per slot, as the ratio chart reads them.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "marketdata/pair_series.h"
#include "marketdata/ratio_statistics.h"
#include "settings/chart_settings.h"
#include "tools/common/installation.h"
#include "tools/common/json_writer.h"
#include "tools/dump/dump_commands.h"

namespace zepa {
namespace {

constexpr const char* kStatsUsage =
    "usage: zepa_dump [--root DIR] [--json] stats N [--weekly] [--period P]   (P: 5 to 250)";

bool parseCount(const std::string& text, int32_t low, int32_t high, int32_t& out) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos) {
        return false;
    }
    const int32_t v = std::atoi(text.c_str());
    if (v < low || v > high) {
        return false;
    }
    out = v;
    return true;
}

struct StatsArgs {
    int32_t position = -1;
    int weekly = 0;
    int32_t period = ChartSettings{}.ratioPeriod;
};

bool parseStatsArgs(const std::vector<std::string>& args, StatsArgs& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--weekly") {
            out.weekly = 1;
        } else if (arg == "--period" && i + 1 < args.size()) {
            if (!parseCount(args[++i], kRatioPeriodMin, kRatioPeriodMax, out.period)) {
                return false;
            }
        } else if (out.position < 0 && parseCount(arg, 0, 999999999, out.position)) {
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

// The six values of a slot; NaN where there is none (null in JSON, "--" in text). The mean is
// the ratio at z = 0, exp of the mean of ln r, so that it reads beside the ratio; the deviation
// stays that of ln r: z = ln(ratio / mean) / deviation.
struct SlotValues {
    double v[6];
};

SlotValues valuesOf(const RatioSlot& s) {
    const double none = std::nan("");
    return SlotValues{{s.hasRatio ? s.ratio : none, s.hasMean ? std::exp(s.mean) : none,
                       s.hasMean ? s.deviation : none, s.hasZ ? s.z : none,
                       s.hasCorrelation ? s.correlation : none, s.hasHalfLife ? s.halfLife : none}};
}

constexpr const char* kNames[6] = {"ratio", "mean", "deviation", "z", "correlation", "halfLife"};

std::string statsJson(const SpreadSeries& series, const RatioStatistics& stats) {
    JsonWriter json;
    json.beginObject().key("result").value(1).key("period").value(stats.period);
    json.key("columns").beginArray().value("date");
    for (const char* name : kNames) {
        json.value(name);
    }
    json.endArray().key("slots").beginArray();
    for (size_t i = 0; i < stats.slots.size(); ++i) {
        json.newline().beginArray().value(dateOrZero(series.buyBars[i].date));
        for (double v : valuesOf(stats.slots[i]).v) {
            json.value(v);
        }
        json.endArray();
    }
    json.endArray().key("latest").beginObject();
    if (!stats.slots.empty()) {
        json.key("date").value(dateOrZero(series.buyBars.back().date));
        const SlotValues last = valuesOf(stats.slots.back());
        for (int k = 0; k < 6; ++k) {
            json.key(kNames[k]).value(last.v[k]);
        }
    }
    json.endObject().endObject();
    return json.text() + "\n";
}

std::string statsLine(int32_t date, const RatioSlot& slot) {
    static const char* const formats[6] = {"%12.6f", "%12.6f", "%12.8f", "%8.3f", "%8.3f", "%9.1f"};
    static const int widths[6] = {12, 12, 12, 8, 8, 9};
    std::string line;
    char cell[64];
    std::snprintf(cell, sizeof cell, "%8d", date);
    line += cell;
    const SlotValues values = valuesOf(slot);
    for (int k = 0; k < 6; ++k) {
        if (std::isnan(values.v[k])) {
            std::snprintf(cell, sizeof cell, " %*s", widths[k], "--");
        } else {
            cell[0] = ' ';
            std::snprintf(cell + 1, sizeof cell - 1, formats[k], values.v[k]);
        }
        line += cell;
    }
    return line + "\n";
}

std::string statsText(const SpreadSeries& series, const RatioStatistics& stats) {
    std::string text = "period " + std::to_string(stats.period) + "\n";
    text += " slot |     date        ratio         mean    deviation        z      rho  halfLife\n";
    char slot[32];
    for (size_t i = 0; i < stats.slots.size(); ++i) {
        std::snprintf(slot, sizeof slot, "%5zu | ", i);
        text += slot + statsLine(dateOrZero(series.buyBars[i].date), stats.slots[i]);
    }
    if (!stats.slots.empty()) {
        text += "latest  " + statsLine(dateOrZero(series.buyBars.back().date), stats.slots.back());
    }
    return text;
}

}  // namespace

int dumpStats(const DumpOptions& options) {
    StatsArgs args;
    if (!parseStatsArgs(options.args, args)) {
        return printError(kExitUsage, kStatsUsage);
    }
    Installation in;
    const int loaded = loadForPosition(options.root, args.position, in);
    if (loaded == kExitDataError) {
        return dataErrorExit(in);
    }
    if (loaded != kExitOk) {
        return loaded;
    }
    SpreadSeries series;
    PairSeriesOptions seriesOptions;
    seriesOptions.weeklyBars = args.weekly;
    const PairSeriesResult r = buildPairSeries(
        in.md, in.corrections, in.positions.records[args.position], seriesOptions, series);
    if (r.message == PairSeriesMessage::DataError) {
        return dataErrorExit(in);
    }
    if (r.result != 1) {
        return printError(kExitFailure, pairSeriesMessageText(r.message));
    }
    RatioStatistics stats;
    if (computeRatioStatistics(series, args.period, stats) != 1) {
        return printError(kExitFailure, pairSeriesMessageText(PairSeriesMessage::OutOfMemory));
    }
    return printOut(options.json ? statsJson(series, stats) : statsText(series, stats));
}

}  // namespace zepa
