// Import/Csv: a whole market's year, one J-Quants CSV per day, imported by zepa_import into an
// empty installation; Import/DailyUpdate: one more day added to that year. Both run the program
// itself and take its peak resident memory from the kernel's accounting.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_cases.h"
#include "bench/child_process.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;

// Far beyond any run: a hung importer fails the case instead of the whole suite.
constexpr auto kGiveUpAfter = std::chrono::seconds(600);
constexpr int kStocks = 4000;
constexpr int kDays = 245;

struct ImportInputs {
    std::vector<std::string> yearFiles;  // kDays files
    std::string nextDay;                 // the day after them
    int64_t rows = 0;
};

// Weekdays of 2023 from January 4th on.
std::vector<std::string> tradingDays(int n) {
    using namespace std::chrono;
    std::vector<std::string> out;
    for (sys_days d = 2023y / January / 4; std::ssize(out) < n; d += days{1}) {
        if (weekday{d} == Saturday || weekday{d} == Sunday) {
            continue;
        }
        const year_month_day v{d};
        char text[16];
        std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(v.year()),
                      static_cast<unsigned>(v.month()), static_cast<unsigned>(v.day()));
        out.push_back(text);
    }
    return out;
}

bool writeDay(const std::string& path, const std::string& date, int dayIndex) {
    std::string out =
        "Date,Code,Open,High,Low,Close,UpperLimit,LowerLimit,Volume,TurnoverValue,"
        "AdjustmentFactor,AdjustmentOpen,AdjustmentHigh,AdjustmentLow,AdjustmentClose,"
        "AdjustmentVolume\n";
    char line[256];
    for (int s = 0; s < kStocks; ++s) {
        const int code = 1300 + s * 2;
        const int base = 500 + (s * 37) % 9000 + (dayIndex * (s % 7 + 1)) % 200;
        const int low = base - 10, high = base + 15, open = base - 3, close = base + 4;
        const long volume = 1000L * (1 + (s * 13 + dayIndex * 7) % 5000);
        std::snprintf(line, sizeof line,
                      "%s,%d0,%d.0,%d.0,%d.0,%d.0,%d.0,%d.0,%ld.0,%ld.0,1.0,%d.0,%d.0,%d.0,%d.0,"
                      "%ld.0\n",
                      date.c_str(), code, open, high, low, close, base + 100, base - 100, volume,
                      volume * base, open, high, low, close, volume);
        out += line;
    }
    std::ofstream f(path, std::ios::binary);
    f.write(out.data(), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(f);
}

bool writeInputs(const std::string& folder, ImportInputs& in) {
    fs::create_directories(folder);
    const std::vector<std::string> days = tradingDays(kDays + 1);
    for (int d = 0; d <= kDays; ++d) {
        const std::string path = folder + "/" + days[d] + ".csv";
        if (!writeDay(path, days[d], d)) {
            return false;
        }
        (d < kDays ? in.yearFiles.emplace_back(path) : in.nextDay) = path;
    }
    in.rows = int64_t{kStocks} * kDays;
    return true;
}

// Runs the program to its end: seconds taken, or -1 when it failed; its peak memory in KiB.
double runProgram(std::vector<std::string> args, double& peakKiB) {
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    return runChild(argv.data(), nullptr, nullptr, kGiveUpAfter, peakKiB);
}

void importYear(benchmark::State& state, const std::string& importer, const std::string& scratch,
                const ImportInputs& in) {
    const std::string root = scratch + "/import_year";
    std::vector<std::string> args = {importer, "--root", root};
    args.insert(args.end(), in.yearFiles.begin(), in.yearFiles.end());
    double peakKiB = 0;
    double seconds = 0;
    for (auto _ : state) {
        std::error_code ec;
        fs::remove_all(root, ec);
        fs::create_directories(root, ec);
        const double s = runProgram(args, peakKiB);
        if (s < 0) {
            state.SkipWithError("zepa_import failed on the year");
            break;
        }
        seconds += s;
        state.SetIterationTime(s);
    }
    state.counters["rows_per_s"] =
        seconds > 0
            ? static_cast<double>(in.rows) * static_cast<double>(state.iterations()) / seconds
            : 0;
    state.counters["peak_MB"] = peakKiB / 1024.0;
}

void dailyUpdate(benchmark::State& state, const std::string& importer, const std::string& scratch,
                 const ImportInputs& in) {
    const std::string root = scratch + "/import_daily";
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::create_directories(root, ec);
    double peakKiB = 0;
    std::vector<std::string> year = {importer, "--root", root};
    year.insert(year.end(), in.yearFiles.begin(), in.yearFiles.end());
    const std::string stored = root + "/ZEPAWIN/DATA/DBW.2023";
    const std::string saved = scratch + "/DBW.2023.saved";
    if (runProgram(year, peakKiB) < 0 ||
        !fs::copy_file(stored, saved, fs::copy_options::overwrite_existing, ec)) {
        state.SkipWithError("zepa_import failed on the year");
        return;
    }
    peakKiB = 0;
    const std::vector<std::string> day = {importer, "--root", root, in.nextDay};
    for (auto _ : state) {
        fs::copy_file(saved, stored, fs::copy_options::overwrite_existing, ec);
        const double s = runProgram(day, peakKiB);
        if (s < 0 || ec) {
            state.SkipWithError("zepa_import failed on the day");
            break;
        }
        state.SetIterationTime(s);
    }
    state.counters["peak_MB"] = peakKiB / 1024.0;
}

}  // namespace

void registerImportBenchmarks(const std::string& importer, const std::string& scratch) {
    static ImportInputs inputs;
    static bool written = false;
    auto prepare = [scratch] {
        if (!written) {
            written = writeInputs(scratch + "/import_inputs", inputs);
        }
        return written;
    };
    benchmark::RegisterBenchmark("Import/Csv",
                                 [=](benchmark::State& s) {
                                     if (!prepare()) {
                                         s.SkipWithError("cannot write the input files");
                                         return;
                                     }
                                     importYear(s, importer, scratch, inputs);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark("Import/DailyUpdate",
                                 [=](benchmark::State& s) {
                                     if (!prepare()) {
                                         s.SkipWithError("cannot write the input files");
                                         return;
                                     }
                                     dailyUpdate(s, importer, scratch, inputs);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(3);
}

}  // namespace zepa
