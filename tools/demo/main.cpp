// zepa_demo_data [--seed N] [--force] DIR: writes a demo installation DIR/ZEPAWIN.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "tools/demo/demo_installation.h"

namespace {

constexpr const char* kUsage =
    "usage: zepa_demo_data [--seed N] [--force] DIR\n"
    "Writes a demo installation DIR/ZEPAWIN: price files, positions, corrections and tips.\n"
    "  --seed N  another market (N from 0 to 2^64-1; the same N gives the same files)\n"
    "  --force   write over an existing DIR/ZEPAWIN\n";

int usageError(const char* why) {
    std::fprintf(stderr, "zepa_demo_data: %s\n%s", why, kUsage);
    return 2;
}

bool parseSeed(std::string_view text, uint64_t& seed) {
    const char* end = text.data() + text.size();
    auto [at, ec] = std::from_chars(text.data(), end, seed);
    return !text.empty() && ec == std::errc{} && at == end;
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t seed = zepa::kDefaultDemoSeed;
    bool force = false;
    std::string dir;
    bool haveDir = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--force") {
            force = true;
        } else if (arg == "--seed" || arg.starts_with("--seed=")) {
            std::string_view value;
            if (arg == "--seed") {
                if (i + 1 >= argc) {
                    return usageError("--seed needs a number");
                }
                value = argv[++i];
            } else {
                value = arg.substr(7);
            }
            if (!parseSeed(value, seed)) {
                return usageError("the seed must be a whole number from 0 to 2^64-1");
            }
        } else if (arg.starts_with("-") && arg.size() > 1) {
            return usageError("unknown option");
        } else if (haveDir) {
            return usageError("only one DIR");
        } else {
            dir = arg;
            haveDir = true;
        }
    }
    if (!haveDir || dir.empty()) {
        return usageError("DIR is missing");
    }

    const zepa::DemoWriteOutcome outcome = zepa::writeDemoInstallation(dir, seed, force);
    switch (outcome.result) {
        case zepa::DemoWriteResult::Written:
            std::printf("zepa_demo_data: wrote %s\n", outcome.detail.c_str());
            return 0;
        case zepa::DemoWriteResult::AlreadyExists:
            std::fprintf(stderr,
                         "zepa_demo_data: %s already exists; use --force to write over it\n",
                         outcome.detail.c_str());
            return 1;
        case zepa::DemoWriteResult::Failed:
            break;
    }
    std::fprintf(stderr, "zepa_demo_data: cannot write %s\n", outcome.detail.c_str());
    return 1;
}
