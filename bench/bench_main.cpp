// zepa_bench: writes the large installation into a temporary folder, runs every case on it,
// prints the results (console or --benchmark_format=json on stdout) and then, on stderr, the
// medians beside their targets.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "bench/bench_cases.h"
#include "bench/large_installation.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;

struct Median {
    double ms = 0;
    double peakMB = 0;
};

// Keeps each case's median (or its only run) while the chosen reporter prints.
template <class Base>
class MedianKeeper : public Base {
  public:
    explicit MedianKeeper(std::map<std::string, Median>& out) : out_(out) {}
    void ReportRuns(const std::vector<benchmark::BenchmarkReporter::Run>& runs) override {
        for (const auto& run : runs) {
            const bool median = run.run_type == benchmark::BenchmarkReporter::Run::RT_Aggregate &&
                                run.aggregate_name == "median";
            const bool single = run.run_type == benchmark::BenchmarkReporter::Run::RT_Iteration &&
                                run.repetitions <= 1;
            if (!run.error_occurred && (median || single)) {
                Median m;
                m.ms =
                    run.GetAdjustedRealTime() * (run.time_unit == benchmark::kMillisecond   ? 1.0
                                                 : run.time_unit == benchmark::kMicrosecond ? 1e-3
                                                 : run.time_unit == benchmark::kSecond      ? 1e3
                                                                                            : 1e-6);
                const auto peak = run.counters.find("peak_MB");
                m.peakMB = peak != run.counters.end() ? peak->second.value : 0.0;
                out_[run.run_name.function_name] = m;
            }
        }
        Base::ReportRuns(runs);
    }

  private:
    std::map<std::string, Median>& out_;
};

void printTargets(const std::map<std::string, Median>& m) {
    auto ms = [&](const char* name) {
        const auto it = m.find(name);
        return it == m.end() ? -1.0 : it->second.ms;
    };
    auto line = [](const char* name, double value, const char* unit, const std::string& target,
                   bool met) {
        if (value < 0) {
            std::fprintf(stderr, "  %-22s %10s          %-28s not run\n", name, "-",
                         target.c_str());
            return;
        }
        std::fprintf(stderr, "  %-22s %10.3f %-6s   %-28s %s\n", name, value, unit, target.c_str(),
                     met ? "met" : "MISSED");
    };
    std::fprintf(stderr, "\nMedians against the targets:\n");
    line("App/SwitchPosition", ms("App/SwitchPosition"), "ms", "<= 8 ms",
         ms("App/SwitchPosition") <= 8.0);
    const double raw = ms("Series/RawBlockReads");
    const double daily = ms("Series/BuildDaily");
    const double ratio = raw > 0 && daily >= 0 ? daily / raw : -1.0;
    line("Series/BuildDaily", ratio, "x raw", "<= 1.5 x Series/RawBlockReads", ratio <= 1.5);
    line("Chart/Paint1920x1080", ms("Chart/Paint1920x1080"), "ms", "<= 4 ms",
         ms("Chart/Paint1920x1080") <= 4.0);
    const double paint = ms("Chart/Paint1920x1080");
    const double paint2x = ms("Chart/Paint1920x1080@2x");
    line("Chart/Paint1920x1080@2x", paint2x, "ms", "<= 8 ms, <= 4 x Chart/Paint1920x1080",
         paint2x <= 8.0 && paint > 0 && paint2x <= 4 * paint);
    line("Startup/ScanAndLoad", ms("Startup/ScanAndLoad"), "ms", "<= 20 ms",
         ms("Startup/ScanAndLoad") <= 20.0);
    line("App/ColdStart", ms("App/ColdStart"), "ms", "<= 400 ms", ms("App/ColdStart") <= 400.0);
    line("Positions/Overview1000", ms("Positions/Overview1000"), "ms", "<= 500 ms",
         ms("Positions/Overview1000") >= 0 && ms("Positions/Overview1000") <= 500.0);
    const double year = ms("Import/Csv");
    const double rowsPerSecond = year > 0 ? 4000.0 * 245.0 / (year / 1000.0) : -1.0;
    line("Import/Csv", rowsPerSecond / 1e6, "M row/s", ">= 1 M rows/s", rowsPerSecond >= 1e6);
    const auto importYear = m.find("Import/Csv");
    line("Import/Csv peak", importYear == m.end() ? -1.0 : importYear->second.peakMB, "MB",
         "<= 500 MB", importYear != m.end() && importYear->second.peakMB <= 500.0);
    line("Import/DailyUpdate", ms("Import/DailyUpdate"), "ms", "<= 1000 ms",
         ms("Import/DailyUpdate") >= 0 && ms("Import/DailyUpdate") <= 1000.0);
    line("Backtest/Pairs100000x750", ms("Backtest/Pairs100000x750"), "ms", "<= 1500 ms",
         ms("Backtest/Pairs100000x750") >= 0 && ms("Backtest/Pairs100000x750") <= 1500.0);
    line("Screen/Market4000x250", ms("Screen/Market4000x250"), "ms", "<= 1500 ms",
         ms("Screen/Market4000x250") >= 0 && ms("Screen/Market4000x250") <= 1500.0);
    const auto screen = m.find("Screen/Market4000x250");
    line("Screen/Market4000x250 peak", screen == m.end() ? -1.0 : screen->second.peakMB, "MB",
         "<= 1024 MB", screen != m.end() && screen->second.peakMB <= 1024.0);
    line("Screen/Market4000x750", ms("Screen/Market4000x750"), "ms", "<= 4000 ms",
         ms("Screen/Market4000x750") >= 0 && ms("Screen/Market4000x750") <= 4000.0);
    line("WalkForward/Market4000x2500", ms("WalkForward/Market4000x2500"), "ms", "<= 30000 ms",
         ms("WalkForward/Market4000x2500") >= 0 && ms("WalkForward/Market4000x2500") <= 30000.0);
    const auto walk = m.find("WalkForward/Market4000x2500");
    line("WalkForward/Market4000x2500 peak", walk == m.end() ? -1.0 : walk->second.peakMB, "MB",
         "<= 1536 MB", walk != m.end() && walk->second.peakMB <= 1536.0);
    const auto cold = m.find("App/ColdStart");
    line("App/ColdStart peak", cold == m.end() ? -1.0 : cold->second.peakMB, "MB", "<= 90 MB",
         cold != m.end() && cold->second.peakMB <= 90.0);
}

std::string programFolder() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
}

}  // namespace
}  // namespace zepa

int main(int argc, char** argv) {
    using namespace zepa;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        json = json || std::strcmp(argv[i], "--benchmark_format=json") == 0;
    }
    benchmark::Initialize(&argc, argv);
    // Fonts come from Qt's font database; no window is shown, so no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);

    const char* tmp = std::getenv("TMPDIR");
    std::string scratchTemplate =
        std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/zepa_bench.XXXXXX";
    if (::mkdtemp(scratchTemplate.data()) == nullptr) {
        std::fprintf(stderr, "zepa_bench: cannot make a folder from %s\n", scratchTemplate.c_str());
        return 1;
    }
    const std::string scratch = scratchTemplate;
    const auto started = std::chrono::steady_clock::now();
    LargeInstallation installation;
    std::string failed;
    if (!writeLargeInstallation(scratch + "/install", LargeInstallationShape{}, installation,
                                failed)) {
        std::fprintf(stderr, "zepa_bench: cannot write %s\n", failed.c_str());
        std::filesystem::remove_all(scratch);
        return 1;
    }
    std::fprintf(stderr,
                 "zepa_bench: wrote %d price files of %d stocks x %d dates (%d stocks with "
                 "prices) and %d positions to %s in %.1f s\n",
                 installation.shape.fileCount, installation.shape.stocksPerFile,
                 installation.shape.datesPerFile, installation.usedStocks,
                 installation.shape.positionCount, installation.root.c_str(),
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());

    registerMarketDataBenchmarks(installation);
    registerPositionsBenchmarks(installation);
    registerChartBenchmarks(installation);
    registerColdStartBenchmark(installation, programFolder() + "/zepa_spw", scratch);
    registerImportBenchmarks(programFolder() + "/zepa_import", scratch);
    registerBacktestBenchmarks();
    registerScreenBenchmarks(scratch);
    registerWalkForwardBenchmarks();

    std::map<std::string, Median> medians;
    if (json) {
        MedianKeeper<benchmark::JSONReporter> reporter(medians);
        benchmark::RunSpecifiedBenchmarks(&reporter);
    } else {
        MedianKeeper<benchmark::ConsoleReporter> reporter(medians);
        benchmark::RunSpecifiedBenchmarks(&reporter);
    }
    printTargets(medians);
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
    return 0;
}
