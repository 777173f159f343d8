// zepa_dump: prints what the viewer reads from an installation, as text or JSON.
#include <cstdio>
#include <string>

#include "tools/dump/dump_commands.h"

namespace {

constexpr const char* kUsage =
    "usage: zepa_dump [--root DIR] [--json] positions\n"
    "       zepa_dump [--root DIR] [--json] series N [--weekly] [--periods B,S]\n"
    "       zepa_dump [--json] settings\n"
    "       zepa_dump [--root DIR] [--json] rows spread|stock N [--weekly]\n"
    "       zepa_dump [--root DIR] [--json] stats N [--weekly] [--period P]\n"
    "DIR is the folder that holds ZEPAWIN/ (default: the working directory).\n"
    "rows prints a data window's rows as the viewer draws them, with the start-up settings:\n"
    "moving-average periods 5 and 5, the spread of the closes, sell minus buy.\n"
    "stats prints the ratio chart's statistics per slot (period P bars, default 25), taken on\n"
    "ln(ratio): mean is the ratio at z = 0, deviation that of ln(ratio).\n";

}  // namespace

int main(int argc, char** argv) {
    zepa::DumpOptions options;
    std::string command;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (command.empty() && arg == "--root") {
            if (i + 1 >= argc) {
                return zepa::printError(zepa::kExitUsage, kUsage);
            }
            options.root = argv[++i];
        } else if (command.empty() && arg == "--json") {
            options.json = true;
        } else if (command.empty() && (arg == "--help" || arg == "-h")) {
            std::fputs(kUsage, stdout);
            return zepa::kExitOk;
        } else if (command.empty()) {
            command = arg;
        } else if (arg == "--json") {
            options.json = true;
        } else {
            options.args.push_back(arg);
        }
    }
    if (command == "positions") {
        return zepa::dumpPositions(options);
    }
    if (command == "series") {
        return zepa::dumpSeries(options);
    }
    if (command == "settings") {
        return zepa::dumpSettings(options);
    }
    if (command == "stats") {
        return zepa::dumpStats(options);
    }
    if (command == "rows") {
        return zepa::dumpRows(options);
    }
    std::fputs(kUsage, stderr);
    return zepa::kExitUsage;
}
