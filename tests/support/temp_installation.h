// A throwaway installation folder with price files from the price-database writer, small
// builders for dates, stocks and legs, the market data read from it, and the command-line
// tools run as processes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "marketdata/installation_paths.h"
#include "marketdata/position_file.h"
#include "marketdata/price_database.h"
#include "tools/dbw_writer.h"

namespace zepa::test {

namespace fs = std::filesystem;

constexpr PackedDate ymd(int year, unsigned month, unsigned day) {
    return PackedDate{static_cast<uint8_t>(year - 1970), static_cast<uint8_t>(month),
                      static_cast<uint8_t>(day)};
}

// n consecutive Monday-to-Friday dates from the given date on, by the standard calendar.
inline std::vector<PackedDate> weekdays(int year, unsigned month, unsigned day, int n) {
    using namespace std::chrono;
    std::vector<PackedDate> out;
    for (sys_days d = std::chrono::year{year} / month / day; std::ssize(out) < n; d += days{1}) {
        const year_month_day v{d};
        if (weekday{d} != Saturday && weekday{d} != Sunday) {
            out.push_back(ymd(static_cast<int>(v.year()), static_cast<unsigned>(v.month()),
                              static_cast<unsigned>(v.day())));
        }
    }
    return out;
}

// A traded day whose prices all derive from the close.
inline DbwRecord traded(int32_t close) {
    return DbwRecord{close - 1, close + 2, close - 3, close, 1000, 0};
}

// One traded day per close; a close of 0 is a day without trade.
inline std::vector<DbwRecord> records(const std::vector<int32_t>& closes) {
    std::vector<DbwRecord> out;
    for (int32_t c : closes) {
        out.push_back(c == 0 ? DbwRecord{} : traded(c));
    }
    return out;
}

inline DbwStock stock(int32_t key, std::string name, const std::vector<int32_t>& closes) {
    return DbwStock{key, std::move(name), records(closes)};
}

inline DbwFile dbw(std::vector<PackedDate> dates, std::vector<DbwStock> stocks) {
    DbwFile f;
    f.dates = std::move(dates);
    f.stocks = std::move(stocks);
    return f;
}

constexpr int32_t tokyo(int32_t code) {
    return 100000000 + code;
}

inline PositionLeg leg(char letter, int32_t code, int32_t entryDate = 0) {
    PositionLeg l;
    l.marketLetter[0] = letter;
    l.stockCode = code;
    l.entryDate = entryDate;
    return l;
}

// f of the elements [from, to) of v, to compare whole arrays in one expectation.
template <class T, class F>
auto column(const std::vector<T>& v, F f, size_t from = 0, size_t to = SIZE_MAX) {
    std::vector<std::decay_t<std::invoke_result_t<F, const T&>>> out;
    for (size_t i = from; i < std::min(v.size(), to); ++i) {
        out.push_back(std::invoke(f, v[i]));
    }
    return out;
}

// A new folder <tmp>/zepa_XXXXXX of the current user's, on every platform.
inline fs::path makeTempFolder() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    const fs::path tmp = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "zepa_%06llx",
                      static_cast<unsigned long long>(random() & 0xFFFFFF));
        std::error_code ec;
        if (fs::create_directory(tmp / name, ec)) {
            return tmp / name;
        }
    }
    throw std::runtime_error("no temporary folder");
}

// <tmp>/zepa_XXXXXX, with an empty ZEPAWIN/DATA unless asked not to; removed again with the
// object.
struct TempInstallation {
    fs::path root;
    InstallationPaths paths;

    explicit TempInstallation(bool withDataFolder = true) {
        root = makeTempFolder();
        paths = makeInstallationPaths(root.string());
        if (withDataFolder) {
            fs::create_directories(paths.dataDirectory);
        }
    }
    ~TempInstallation() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    std::string dataFile(const std::string& name) const {
        return (fs::path(paths.dataDirectory) / name).string();
    }
    void writeDb(const std::string& name, const DbwFile& file) const {
        EXPECT_TRUE(writePriceDatabase(dataFile(name), file)) << name;
    }
    static void writeText(const std::string& path, std::string_view bytes) {
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::ssize(bytes));
    }
    static std::string readText(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

// A temporary installation and the market data read from it.
class Installation : public ::testing::Test, public TempInstallation {
  protected:
    Installation() : md_(freshData()) {}

    MarketData freshData() const {
        MarketData md;
        md.dataDirectory = paths.dataDirectory;
        return md;
    }

    void load() {
        ASSERT_EQ(scanPriceDatabases(md_), DataError::None);
        ASSERT_EQ(loadPriceDatabases(md_), DataError::None);
    }
    // readStockSeries' result for the key, or -100 when no file lists it.
    int seriesOf(StockKey key) { return findStock(md_, key) == 0 ? readStockSeries(md_) : -100; }
    // One price column of the series, or its dates as YYYYMMDD.
    std::vector<int32_t> values(std::vector<int32_t> StockSeries::*member) const {
        return column(md_.series.*member, std::identity{}, 0, md_.series.length);
    }
    std::vector<int32_t> seriesDates() const {
        return column(md_.series.date, dateValue, 0, md_.series.length);
    }

    MarketData md_;
};

}  // namespace zepa::test
