// The subcommands of zepa_dump, each printing what the viewer reads.
#pragma once

#include <string>
#include <vector>

namespace zepa {

// Exit codes of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a file the command needs is missing
inline constexpr int kExitUsage = 2;
inline constexpr int kExitDataError = 3;

struct DumpOptions {
    std::string root = ".";  // the folder that holds ZEPAWIN/
    bool json = false;
    std::vector<std::string> args;  // after the subcommand name
};

int dumpPositions(const DumpOptions& options);
int dumpSeries(const DumpOptions& options);
int dumpSettings(const DumpOptions& options);
// The rows of a data window, with the viewer's start-up settings.
int dumpRows(const DumpOptions& options);

// The ratio statistics of a position, per slot and the newest.
int dumpStats(const DumpOptions& options);

// Writes text to stdout and returns kExitOk.
int printOut(const std::string& text);
// Writes a line to stderr and returns the code.
int printError(int code, const std::string& text);

}  // namespace zepa
