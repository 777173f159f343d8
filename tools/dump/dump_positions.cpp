#include <cstdio>
#include <string>

#include "base/codepage.h"
#include "marketdata/installation_paths.h"
#include "marketdata/position_file.h"
#include "tools/common/installation.h"
#include "tools/common/json_writer.h"
#include "tools/dump/dump_commands.h"

namespace zepa {
namespace {

void writeLeg(JsonWriter& json, const PositionLeg& leg) {
    json.beginObject()
        .key("marketLetter")
        .value(utf8FromCp932(leg.marketLetter))
        .key("stockCode")
        .value(leg.stockCode)
        .key("shortName")
        .value(utf8FromCp932(leg.shortName))
        .key("entryDate")
        .value(leg.entryDate)
        .key("quantity")
        .value(leg.quantity)
        .endObject();
}

std::string legText(const PositionLeg& leg) {
    char code[32];
    std::snprintf(code, sizeof code, "%s%-5d ", leg.marketLetter, leg.stockCode);
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, " %06d %9d", leg.entryDate, leg.quantity);
    return code + utf8FromCp932(leg.shortName) + numbers;
}

}  // namespace

int dumpPositions(const DumpOptions& options) {
    if (!options.args.empty()) {
        return printError(kExitUsage, "usage: zepa_dump [--root DIR] [--json] positions");
    }
    const InstallationPaths paths = makeInstallationPaths(options.root);
    PositionTable table;
    bool missing = false;
    readPositionFile(paths.positionFile, table, &missing);
    if (missing) {
        return printError(kExitFailure, positionFileMissingMessage(paths.positionFile));
    }
    if (options.json) {
        JsonWriter json;
        json.beginObject().key("positionCount").value(table.positionCount);
        json.key("positions").beginArray();
        for (int i = 0; i < table.positionCount; ++i) {
            json.newline().beginObject().key("buy");
            writeLeg(json, table.records[i].buy);
            json.key("sell");
            writeLeg(json, table.records[i].sell);
            json.endObject();
        }
        json.endArray().endObject();
        return printOut(json.text() + "\n");
    }
    std::string text = "positionCount " + std::to_string(table.positionCount) + "\n";
    for (int i = 0; i < table.positionCount; ++i) {
        char index[16];
        std::snprintf(index, sizeof index, "%4d  ", i);
        text +=
            index + legText(table.records[i].buy) + "  /  " + legText(table.records[i].sell) + "\n";
    }
    // The lines the viewer leaves out, as its message lists them.
    if (!table.problems.empty()) {
        text += positionProblemsMessage(table.problems) + "\n";
    }
    return printOut(text);
}

int loadForPosition(const std::string& root, int32_t position, Installation& in) {
    const LoadOutcome outcome = loadInstallation(root, in);
    if (outcome == LoadOutcome::PositionFileMissing) {
        return printError(kExitFailure, positionFileAbsentMessage(in.paths));
    }
    if (outcome == LoadOutcome::DataError) {
        return kExitDataError;
    }
    if (position >= in.positions.positionCount) {
        return printError(kExitUsage, "zepa_dump: there is no position " +
                                          std::to_string(position) + " (positionCount " +
                                          std::to_string(in.positions.positionCount) + ")");
    }
    return kExitOk;
}

int dataErrorExit(const Installation& in) {
    return printError(kExitDataError, dataErrorMessage(in.md.dataError, in.paths.dataDirectory));
}

int printOut(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
}

int printError(int code, const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return code;
}

}  // namespace zepa
