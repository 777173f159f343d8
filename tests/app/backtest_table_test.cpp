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

TEST(BacktestTable, TradesAsRowsTsvAndCsvUnderTheStatisticsLine) {
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
    shown.trades = {t, t, t};
    shown.trades[1].reason = BacktestExit::Open;  // not in the running sum
    shown.trades[2].direction = BacktestDirection::BuyA;
    shown.trades[2].reason = BacktestExit::Stop;
    shown.trades[2].net = -12345;
    shown.stats = {.trades = 8,
                   .winRate = 0.625,
                   .net = 123456,
                   .profitFactor = 1.854,
                   .hasProfitFactor = true,
                   .averageHolding = 11.26,
                   .maxDrawdown = 45678,
                   .hasOpenTrade = true,
                   .openNet = -300};
    const TextTable table = backtestTable(shown);
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.totalRows, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(backtestSummary(shown),
              "取引 8回  勝率 62.5%  純損益 123,456円  PF 1.85  最大DD 45,678円  平均保有 11.3本"
              "  (保有中 -300円)");
    const std::string tsv = textTableTsv(table);
    EXPECT_EQ(tsv.substr(tsv.find('\n') + 1),
              "2025/01/06\t2025/02/10\t売り\t目標\t24本\t2,500\t2,500\n"
              "2025/01/06\t--\t売り\t保有中\t24本\t2,500\t--\n"
              "2025/01/06\t2025/02/10\t買い\t損切り\t24本\t-12,345\t-9,845\n");
    // Grouped figures hold commas: quoted in the CSV.
    const std::string csv = textTableCsv(table);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(csv.find("\r\n2025/01/06,2025/02/10,買い,損切り,24本,\"-12,345\",\"-9,845\"\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace zepa
