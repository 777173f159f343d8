// zepa_dump rows: the rows of a data window for one position, formatted by the code the window
// draws with.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/codepage.h"
#include "chart/chart_context.h"
#include "datawindow/data_table.h"
#include "marketdata/pair_series.h"
#include "tools/common/installation.h"
#include "tools/common/json_writer.h"
#include "tools/dump/dump_commands.h"

namespace zepa {
namespace {

constexpr const char* kRowsUsage =
    "usage: zepa_dump [--root DIR] [--json] rows spread|stock N [--weekly] [--adjusted]";

struct RowsArgs {
    int kind = -1;
    int position = -1;
    int weeklyBars = 0;
    int splitAdjustedDisplay = 0;
};

bool parsePosition(const std::string& text, int& out) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    out = std::atoi(text.c_str());
    return true;
}

bool parseRowsArgs(const std::vector<std::string>& args, RowsArgs& out) {
    for (const std::string& arg : args) {
        if (arg == "--weekly") {
            out.weeklyBars = 1;
        } else if (arg == "--adjusted") {
            out.splitAdjustedDisplay = 1;
        } else if (out.kind < 0 && arg == "spread") {
            out.kind = kSpreadDataKind;
        } else if (out.kind < 0 && arg == "stock") {
            out.kind = kStockDataKind;
        } else if (out.kind >= 0 && out.position < 0 && parsePosition(arg, out.position)) {
            continue;
        } else {
            return false;
        }
    }
    return out.kind >= 0 && out.position >= 0;
}

std::string rowsJson(const ChartContext& c, int kind) {
    const int32_t rowCount = dataRowCount(c);
    JsonWriter json;
    json.beginObject().key("kind").value(kind == kStockDataKind ? "stock" : "spread");
    json.key("title").value(dataWindowTitle(kind));
    json.key("rowCount").value(rowCount).key("headers").beginArray();
    for (const std::string& header : dataHeaderTexts(kind)) {
        json.value(utf8FromCp932(header));
    }
    json.endArray().key("rows").beginArray();
    for (int32_t row = 0; row < rowCount; ++row) {
        json.newline().beginArray();
        for (const std::string& cell : formatDataRow(c, kind, row)) {
            json.value(utf8FromCp932(cell));
        }
        json.endArray();
    }
    json.endArray().endObject();
    return json.text() + "\n";
}

// One line per row, the cells between bars so that their spaces stay visible.
std::string cellsLine(const DataRowTexts& cells) {
    std::string line = "|";
    for (const std::string& cell : cells) {
        line += utf8FromCp932(cell) + "|";
    }
    return line + "\n";
}

std::string rowsText(const ChartContext& c, int kind) {
    const int32_t rowCount = dataRowCount(c);
    std::string text = "rowCount " + std::to_string(rowCount) + "\n";
    text += cellsLine(dataHeaderTexts(kind));
    for (int32_t row = 0; row < rowCount; ++row) {
        text += cellsLine(formatDataRow(c, kind, row));
    }
    return text;
}

}  // namespace

int dumpRows(const DumpOptions& options) {
    RowsArgs args;
    if (!parseRowsArgs(options.args, args)) {
        return printError(kExitUsage, kRowsUsage);
    }
    Installation in;
    const int loaded = loadForPosition(options.root, args.position, in);
    if (loaded == kExitDataError) {
        return dataErrorExit(in);
    }
    if (loaded != kExitOk) {
        return loaded;
    }
    // The viewer's start-up settings: periods 5 and 5, the spread of the closes, sell minus buy;
    // the split-adjusted display with --adjusted.
    ChartSettings settings;
    settings.splitAdjustedDisplay = args.splitAdjustedDisplay;
    ViewState view;
    view.weeklyBars = args.weeklyBars;
    view.currentPosition = args.position;
    view.dataWindowKind = args.kind;
    const PositionRecord& position = in.positions.records[static_cast<size_t>(args.position)];
    SpreadSeries series;
    const PairSeriesOptions seriesOptions{args.weeklyBars, settings.buyAveragePeriod,
                                          settings.sellAveragePeriod,
                                          settings.splitAdjustedDisplay};
    const PairSeriesResult r =
        buildPairSeries(in.md, in.corrections, position, seriesOptions, series);
    if (r.message == PairSeriesMessage::DataError) {
        return dataErrorExit(in);
    }
    if (r.result != 1) {
        return printError(kExitFailure, "zepa_dump: no series for position " +
                                            std::to_string(args.position) + ": " +
                                            pairSeriesMessageText(r.message));
    }
    ColorTable colors;
    FontSlotTable fonts;
    ChartState chart;
    const ChartContext c{view,  settings, colors, series, position, in.md.set.dateCount,
                         fonts, chart};
    return printOut(options.json ? rowsJson(c, args.kind) : rowsText(c, args.kind));
}

}  // namespace zepa
