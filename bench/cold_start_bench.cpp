// App/ColdStart: the viewer program from exec to exit, on the offscreen platform, quitting once
// its first chart is painted; its peak resident memory from the kernel's accounting.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_cases.h"
#include "bench/child_process.h"

namespace zepa {
namespace {

constexpr auto kGiveUpAfter = std::chrono::seconds(30);

void coldStart(benchmark::State& state, const LargeInstallation& in, const std::string& viewer,
               const std::string& scratch) {
    if (::access(viewer.c_str(), X_OK) != 0) {
        state.SkipWithError(("no viewer program at " + viewer).c_str());
        return;
    }
    // A settings folder of its own, so the user's settings neither change nor steer the run.
    const std::string config = scratch + "/config";
    std::error_code ec;
    std::filesystem::create_directories(config, ec);
    // Everything the child needs is built before fork: after it, only async-signal-safe calls.
    std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen",
                                    "ZEPA_SPW_EXIT_AFTER_FIRST_PAINT=1",
                                    "XDG_CONFIG_HOME=" + config, "HOME=" + scratch, "LANG=C.UTF-8"};
    if (const char* path = std::getenv("PATH")) {
        env.push_back(std::string("PATH=") + path);
    }
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    std::string program = viewer;
    char* argv[] = {program.data(), nullptr};
    double peakKiB = 0;

    for (auto _ : state) {
        const double seconds = runChild(argv, envp.data(), in.root.c_str(), kGiveUpAfter, peakKiB);
        if (seconds < 0) {
            state.SkipWithError("the viewer did not start, paint and exit cleanly");
            break;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["peak_MB"] = peakKiB / 1024.0;
}

}  // namespace

void registerColdStartBenchmark(const LargeInstallation& in, const std::string& viewer,
                                const std::string& scratch) {
    benchmark::RegisterBenchmark(
        "App/ColdStart",
        [&in, viewer, scratch](benchmark::State& s) { coldStart(s, in, viewer, scratch); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(9);
}

}  // namespace zepa
