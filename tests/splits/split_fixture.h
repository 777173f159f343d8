// Price files with stock splits, written by the price-database writer, and the pair series of
// one position over them.
#pragma once

#include <cstdint>
#include <vector>

#include "marketdata/pair_series.h"
#include "marketdata/position_figures.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {

// The buy leg of the tests: 1000, 1010, ... 1040, then a 1:2 split on slot 5 and 520 ... 540,
// the same value per original share on every day after 1040.
inline std::vector<DbwRecord> buySplitOnSlot5() {
    std::vector<DbwRecord> r = records({1000, 1010, 1020, 1030, 1040, 520, 525, 530, 535, 540});
    r[5].adjustment = 50;
    return r;
}

inline constexpr int32_t kBuyCode = 1111;
inline constexpr int32_t kSellCode = 2222;

class SplitSeries : public Installation {
  protected:
    // One price file over `dates` with the two legs' records.
    void write(const std::vector<PackedDate>& dates, std::vector<DbwRecord> buy,
               std::vector<DbwRecord> sell) {
        writeDb("DBW.001", dbw(dates, {DbwStock{tokyo(kBuyCode), "BUY", std::move(buy)},
                                       DbwStock{tokyo(kSellCode), "SELL", std::move(sell)}}));
        load();
    }
    // Both legs entered on `entry` (YYMMDD) with 100 shares each.
    void build(int32_t entry, PairSeriesOptions options = {0, 0, 0}) {
        position_ = PositionRecord{leg('T', kBuyCode, entry), leg('T', kSellCode, entry)};
        position_.buy.quantity = 100;
        position_.sell.quantity = 100;
        ASSERT_EQ(buildPairSeries(md_, {}, position_, options, series_).result, 1);
    }
    std::vector<int64_t> profits() const {
        std::vector<int64_t> out;
        for (size_t i = 0; i < series_.buyBars.size(); ++i) {
            out.push_back(positionProfit(series_, position_, static_cast<int32_t>(i)));
        }
        return out;
    }
    // What the profit was before splits counted: the stored gains times the quantities.
    std::vector<int64_t> storedGainProfits() const {
        std::vector<int64_t> out;
        for (size_t i = 0; i < series_.buyBars.size(); ++i) {
            out.push_back(int64_t{series_.buyBars[i].gain} * position_.buy.quantity +
                          int64_t{series_.sellBars[i].gain} * position_.sell.quantity);
        }
        return out;
    }

    PositionRecord position_;
    SpreadSeries series_;
};

}  // namespace zepa::test
