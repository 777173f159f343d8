// The 検証 window's table as both shells show, copy and save it.
#include <gtest/gtest.h>

#include "app/backtest_table.h"

namespace zepa {
namespace {

TEST(BacktestTable, NoBacktestIsTheHeaderAloneUnderTheNoBacktestText) {
    ShownBacktest shown;
    shown.trades.resize(2);  // left from an earlier pair: not shown without `valid`
    EXPECT_TRUE(backtestTable(shown).rows.empty());
    EXPECT_EQ(backtestSummary(shown), kNoBacktestText);
    EXPECT_EQ(textTableTsv(backtestTable(shown)),
              "仕掛け日\t決済日\t方向\t決済\t保有\t純損益\t累計\n");
}

TEST(BacktestTable, TradesAsRowsTsvAndCsv) {
    ShownBacktest shown;
    shown.valid = true;
    BacktestTrade t;
    t.entryDate = 20250106;
    t.exitDate = 20250210;
    t.entrySlot = 3;
    t.exitSlot = 27;
    t.direction = BacktestDirection::SellA;
    t.reason = BacktestExit::Target;
    t.net = 2500;
    shown.trades = {t, t};
    shown.trades[1].net = -12345;
    shown.stats.trades = 2;
    const TextTable table = backtestTable(shown);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.totalRows, (std::vector<bool>{false, false}));
    EXPECT_EQ(backtestSummary(shown).rfind("取引 2回", 0), 0u);
    const std::string tsv = textTableTsv(table);
    EXPECT_EQ(tsv.substr(tsv.find('\n') + 1),
              "2025/01/06\t2025/02/10\t売り\t目標\t24本\t2,500\t2,500\n"
              "2025/01/06\t2025/02/10\t売り\t目標\t24本\t-12,345\t-9,845\n");
    // Grouped figures hold commas: quoted in the CSV.
    const std::string csv = textTableCsv(table);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(csv.find("\r\n2025/01/06,2025/02/10,売り,目標,24本,\"-12,345\",\"-9,845\"\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace zepa
