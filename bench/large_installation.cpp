#include "bench/large_installation.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "base/codepage.h"
#include "marketdata/installation_paths.h"
#include "tools/dbw_writer.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

constexpr int32_t kFirstCode = 1000;
constexpr int32_t kTokyo = 1;

// A small deterministic generator, so every run measures the same bytes.
struct SplitMix {
    uint64_t state;
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int32_t below(int32_t n) { return static_cast<int32_t>(next() % static_cast<uint64_t>(n)); }
};

// Weekdays from 1995-01-02 on: 6,000 of them reach into 2018.
std::vector<PackedDate> tradingDates(int count) {
    std::vector<PackedDate> dates;
    sys_days day = sys_days{year{1995} / January / 2};
    while (static_cast<int>(dates.size()) < count) {
        const weekday w{day};
        if (w != Saturday && w != Sunday) {
            const year_month_day ymd{day};
            dates.push_back(PackedDate{static_cast<uint8_t>(static_cast<int>(ymd.year()) - 1970),
                                       static_cast<uint8_t>(static_cast<unsigned>(ymd.month())),
                                       static_cast<uint8_t>(static_cast<unsigned>(ymd.day()))});
        }
        day += days{1};
    }
    return dates;
}

// Daily prices of one used stock over the whole axis: a random walk around its level.
std::vector<DbwRecord> priceWalk(SplitMix& rng, int count) {
    std::vector<DbwRecord> records(static_cast<size_t>(count));
    int32_t close = 500 + rng.below(4500);
    for (DbwRecord& r : records) {
        const int32_t open = std::max(10, close + rng.below(41) - 20);
        close = std::max(10, open + rng.below(61) - 30);
        r.open = open;
        r.close = close;
        r.high = std::max(open, close) + rng.below(15);
        r.low = std::max(1, std::min(open, close) - rng.below(15));
        r.volume = 1000 * (1 + rng.below(5000));
    }
    return records;
}

std::string padded(std::string text, size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

std::string stockName(int32_t code) {
    return cp932FromUtf8("銘柄") + std::to_string(code);
}

bool writeText(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

bool writeLargeInstallation(const std::string& root, const LargeInstallationShape& shape,
                            LargeInstallation& out, std::string& failed) {
    const InstallationPaths paths = makeInstallationPaths(root);
    std::error_code ec;
    fs::create_directories(paths.dataDirectory, ec);
    if (ec) {
        failed = paths.dataDirectory;
        return false;
    }
    out.root = paths.root;
    out.shape = shape;

    const int dateCount = shape.fileCount * shape.datesPerFile;
    const std::vector<PackedDate> dates = tradingDates(dateCount);
    SplitMix rng{20240601};
    std::vector<int> usedSlots;
    std::vector<std::vector<DbwRecord>> walks;
    for (int slot = 0; slot < shape.stocksPerFile; slot += shape.stockStride) {
        usedSlots.push_back(slot);
        walks.push_back(priceWalk(rng, dateCount));
    }
    out.usedStocks = static_cast<int>(usedSlots.size());

    DbwFile file;
    file.stocks.resize(static_cast<size_t>(shape.stocksPerFile));
    for (int s = 0; s < shape.stocksPerFile; ++s) {
        file.stocks[static_cast<size_t>(s)].key = kTokyo * 100000000 + kFirstCode + s;
        file.stocks[static_cast<size_t>(s)].name = stockName(kFirstCode + s);
    }
    for (int f = 0; f < shape.fileCount; ++f) {
        const auto from = dates.begin() + static_cast<ptrdiff_t>(f) * shape.datesPerFile;
        file.dates.assign(from, from + shape.datesPerFile);
        for (size_t u = 0; u < usedSlots.size(); ++u) {
            const auto w = walks[u].begin() + static_cast<ptrdiff_t>(f) * shape.datesPerFile;
            file.stocks[static_cast<size_t>(usedSlots[u])].records.assign(w,
                                                                          w + shape.datesPerFile);
        }
        char name[16];
        std::snprintf(name, sizeof name, "DBW.%03d", f);
        const std::string path = (fs::path(paths.dataDirectory) / name).string();
        if (!writePriceDatabase(path, file)) {
            failed = path;
            return false;
        }
    }

    // Positions pair used stocks; entries fall in the last 2,000 dates.
    std::string positions = "# buy leg, sell leg\r\n";
    const int used = out.usedStocks;
    for (int p = 0; p < shape.positionCount; ++p) {
        const int buyIndex = p % used;
        int sellIndex = (p * 7 + 3 + p / used) % used;
        if (sellIndex == buyIndex) {
            sellIndex = (sellIndex + 1) % used;
        }
        const int buy = usedSlots[static_cast<size_t>(buyIndex)];
        const int sell = usedSlots[static_cast<size_t>(sellIndex)];
        const PackedDate entry =
            dates[static_cast<size_t>(dateCount - 1 - rng.below(std::min(2000, dateCount)))];
        const int yymmdd = ((entry.year + 70) % 100) * 10000 + entry.month * 100 + entry.day;
        char date[8];
        std::snprintf(date, sizeof date, "%06d", yymmdd);
        std::string line;
        for (const int slot : {buy, sell}) {
            const int32_t code = kFirstCode + slot;
            line += padded("T" + std::to_string(code), 8) + ' ' + padded(stockName(code), 9) + ' ' +
                    padded(date, 9) + ' ' + padded(std::to_string(100 * (1 + p % 50)), 9) + ' ';
        }
        line.pop_back();
        positions += line + "\r\n";
    }
    std::string corrections = std::to_string(kFirstCode + usedSlots.back()) + "\r\n";
    std::string tips;
    for (const char* tip :
         {"同じ業種の2銘柄で組む", "株数ではなく金額をそろえる", "見るべきは2銘柄の差の動き"}) {
        tips += cp932FromUtf8(tip) + "\r\n";
    }
    for (const auto& [path, bytes] :
         {std::pair{paths.positionFile, positions}, std::pair{paths.correctionFile, corrections},
          std::pair{paths.tipFile, tips}}) {
        if (!writeText(path, bytes)) {
            failed = path;
            return false;
        }
    }
    return true;
}

}  // namespace zepa
