// The subcommands of zepa_dump, each printing what the viewer reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zepa {

struct Installation;

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

// Loads the installation under `root` for a subcommand about position `position`: kExitOk, or
// the exit code after its message on stderr. A data error returns kExitDataError unprinted, for
// the subcommand to report in its own form.
int loadForPosition(const std::string& root, int32_t position, Installation& in);

// Prints the data error of `in` on stderr and returns kExitDataError.
int dataErrorExit(const Installation& in);

// Writes text to stdout and returns kExitOk.
int printOut(const std::string& text);
// Writes a line to stderr and returns the code.
int printError(int code, const std::string& text);

}  // namespace zepa
