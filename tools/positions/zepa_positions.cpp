// zepa_positions: adds, changes, closes and removes positions in the position file, and lists
// the closed trades, for scripts.
#include <cstdio>
#include <string>
#include <vector>

#include "app/overview/overview_settings.h"
#include "platform/user_value_store.h"
#include "tools/positions/positions_run.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(zepa::kPositionsUsage, stdout);
        return zepa::kPositionsOk;
    }
    zepa::PositionsArgs parsed;
    std::string error;
    if (!zepa::parsePositionsArgs(args, parsed, error)) {
        std::fprintf(stderr, "zepa_positions: %s\n%s", error.c_str(), zepa::kPositionsUsage);
        return zepa::kPositionsUsageError;
    }
    std::string out;
    std::string err;
    // list's figures take the viewer's stored settings; nothing is written back.
    const zepa::OverviewSettings overview =
        parsed.command == zepa::PositionsCommand::List
            ? zepa::loadOverviewSettings(*zepa::openUserValueStore())
            : zepa::OverviewSettings{};
    const int code = zepa::runPositions(parsed, out, err, overview);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fwrite(err.data(), 1, err.size(), stderr);
    return code;
}
