// App/ColdStart: the viewer program from exec to exit, on the offscreen platform, quitting once
// its first chart is painted; its peak resident memory from the kernel's accounting.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_cases.h"

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
        const auto started = std::chrono::steady_clock::now();
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            if (null >= 0) {
                ::dup2(null, 1);
                ::dup2(null, 2);
            }
            if (::chdir(in.root.c_str()) == 0) {
                ::execve(argv[0], argv, envp.data());
            }
            ::_exit(127);
        }
        if (pid < 0) {
            state.SkipWithError("fork failed");
            break;
        }
        int status = 0;
        struct rusage usage {};
        pid_t done = 0;
        while ((done = ::wait4(pid, &status, WNOHANG, &usage)) == 0) {
            if (std::chrono::steady_clock::now() - started > kGiveUpAfter) {
                ::kill(pid, SIGKILL);
                ::wait4(pid, &status, 0, &usage);
                done = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        const auto ended = std::chrono::steady_clock::now();
        if (done != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the viewer did not start, paint and exit cleanly");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(ended - started).count());
        peakKiB = std::max(peakKiB, static_cast<double>(usage.ru_maxrss));
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
