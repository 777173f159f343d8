// A throwaway installation folder whose price files come from the price-database writer, and
// small builders for dates, stocks and legs.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <random>
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

// f of the elements [from, to) of v, to compare whole arrays in one expectation.
template <class T, class F>
auto column(const std::vector<T>& v, F f, size_t from = 0, size_t to = SIZE_MAX) {
    std::vector<std::decay_t<std::invoke_result_t<F, const T&>>> out;
    for (size_t i = from; i < std::min(v.size(), to); ++i) {
        out.push_back(std::invoke(f, v[i]));
    }
    return out;
}

// A traded day whose prices all derive from the close.
inline DbwRecord traded(int32_t close) {
    return DbwRecord{close - 1, close + 2, close - 3, close, 1000, 0};
}

// A stock with one traded day per close; a close of 0 is a day without trade.
inline DbwStock stock(int32_t key, std::string name, std::initializer_list<int32_t> closes) {
    DbwStock s{key, std::move(name), {}};
    for (int32_t c : closes) {
        s.records.push_back(c == 0 ? DbwRecord{} : traded(c));
    }
    return s;
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

// <tmp>/zepa_md_<test>_<random>/ZEPAWIN/DATA, removed again at the end of the test.
class Installation : public ::testing::Test {
  protected:
    void SetUp() override {
        base_ = fs::temp_directory_path() /
                ("zepa_md_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 "_" + std::to_string(std::random_device{}()));
        paths_ = makeInstallationPaths(base_.string());
        fs::create_directories(paths_.dataDirectory);
        md_.dataDirectory = paths_.dataDirectory;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(base_, ec);
    }

    std::string dataFile(const std::string& name) const {
        return (fs::path(paths_.dataDirectory) / name).string();
    }
    void writeDb(const std::string& name, const DbwFile& file) {
        ASSERT_TRUE(writePriceDatabase(dataFile(name), file)) << name;
    }
    void writeText(const std::string& path, std::string_view bytes) {
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::ssize(bytes));
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

    fs::path base_;
    InstallationPaths paths_;
    MarketData md_;
};

}  // namespace zepa::test
