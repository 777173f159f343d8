#include <gtest/gtest.h>

#include "app/backtest_table.h"

namespace zepa {
namespace {

TEST(BacktestTable, NoBacktestIsTheHeaderAloneUnderTheNoBacktestText) {
    ShownBacktest shown;
    shown.trades.resize(2);  // left from an earlier pair: not shown without `valid`
    EXPECT_TRUE(backtestTable(shown).rows.empty());
    EXPECT_EQ(backtestSummary(shown), kNoBacktestText);
    EXPECT_EQ(backtestWindowTitle(shown), "検証");
    EXPECT_EQ(textTableTsv(backtestTable(shown)),
              "仕掛け日\t決済日\t買い\t売り\t買い仕掛値\t買い決済値\t買い株数\t売り仕掛値\t"
              "売り決済値\t売り株数\t決済\t保有\t損益\t手数料\t金利\t貸株料\t純損益\t累計\n");
}

// The chart's pair 8343 (buy leg, the trades' a) over 8341; a trade that sold 8343, one still
// open, one that bought it.
ShownBacktest twoLegPair() {
    ShownBacktest shown;
    shown.valid = true;
    shown.buyMarket = 'T';
    shown.buyCode = 8343;
    shown.buyName = "白鷺銀";
    shown.sellMarket = 'O';
    shown.sellCode = 8341;
    shown.sellName = "碧浦銀";
    shown.rule.ratioPeriod = 30;
    shown.rule.entry = 2.5;
    shown.rule.stop = 3.5;
    shown.rule.maxDays = 90;
    shown.rule.amount = 500000;
    shown.rule.fill = BacktestFill::Close;
    shown.firstDate = 20230104;
    shown.lastDate = 20261204;
    BacktestTrade t;
    t.entryDate = 20250106;
    t.exitDate = 20250210;
    t.entrySlot = 3;
    t.exitSlot = 25;
    t.direction = BacktestDirection::SellA;  // 8343 sold, 8341 bought
    t.aEntry = 1282;
    t.aExit = 1277;
    t.bEntry = 1686;
    t.bExit = 1715;
    t.aQuantity = 700;
    t.bQuantity = 500;
    t.gross = 18000.0;
    t.commission = 12.4;
    t.interest = 2068.6;
    t.borrowFee = 905.2;
    t.net = 15026;
    t.reason = BacktestExit::Target;
    shown.trades = {t, t, t};
    shown.trades[1].reason = BacktestExit::Open;  // not in the running sum
    BacktestTrade& loss = shown.trades[2];
    loss.direction = BacktestDirection::BuyA;
    loss.reason = BacktestExit::Stop;
    loss.gross = -50000.4;
    loss.net = -50089;
    shown.stats = {.trades = 2,
                   .winRate = 0.5,
                   .net = -35063,
                   .profitFactor = 0.3,
                   .hasProfitFactor = true,
                   .averageHolding = 22,
                   .maxDrawdown = 50089,
                   .hasOpenTrade = true,
                   .openNet = 15026};
    return shown;
}

TEST(BacktestTable, TitleNamesThePairTheRuleAndTheDates) {
    EXPECT_EQ(backtestWindowTitle(twoLegPair()),
              "検証  買 T8343 白鷺銀 / 売 O8341 碧浦銀  Z(30本) 仕掛け 2.5 決済 0.0 損切り 3.5 "
              "最長 90日 当日終値 1銘柄 500,000円  2023/01/04〜2026/12/04");
}

TEST(BacktestTable, RowsNameTheLegsBoughtAndSoldWithTheirFillsAndCosts) {
    const ShownBacktest shown = twoLegPair();
    const struct {
        bool plain;
        std::string rows;
    } cases[] = {
        {false,
         "2025/01/06\t2025/02/10\tO8341\tT8343\t1,686\t1,715\t500\t1,282\t1,277\t700\t目標\t22本\t"
         "18,000\t12\t2,069\t905\t15,026\t15,026\n"
         "2025/01/06\t--\tO8341\tT8343\t1,686\t--\t500\t1,282\t--\t700\t保有中\t22本\t"
         "18,000\t12\t2,069\t905\t15,026\t--\n"
         "2025/01/06\t2025/02/"
         "10\tT8343\tO8341\t1,282\t1,277\t700\t1,686\t1,715\t500\t損切り\t22本\t"
         "-50,000\t12\t2,069\t905\t-50,089\t-35,063\n"},
        // For spreadsheets: numbers alone, ISO dates, nothing where there is no value.
        {true,
         "2025-01-06\t2025-02-10\tO8341\tT8343\t1686\t1715\t500\t1282\t1277\t700\t目標\t22\t"
         "18000\t12\t2069\t905\t15026\t15026\n"
         "2025-01-06\t\tO8341\tT8343\t1686\t\t500\t1282\t\t700\t保有中\t22\t"
         "18000\t12\t2069\t905\t15026\t\n"
         "2025-01-06\t2025-02-10\tT8343\tO8341\t1282\t1277\t700\t1686\t1715\t500\t損切り\t22\t"
         "-50000\t12\t2069\t905\t-50089\t-35063\n"},
    };
    for (const auto& c : cases) {
        const TextTable table = backtestTable(shown, c.plain);
        EXPECT_EQ(table.totalRows, (std::vector<bool>{false, false, false}));
        const std::string tsv = textTableTsv(table);
        EXPECT_EQ(tsv.substr(tsv.find('\n') + 1), c.rows) << c.plain;
    }
    // The figures line up on the right, the names and the exit on the left.
    std::vector<size_t> figures;
    for (size_t k = 0; k < backtestTradeHeaders().size(); ++k) {
        if (backtestColumnIsFigure(k)) {
            figures.push_back(k);
        }
    }
    EXPECT_EQ(figures, (std::vector<size_t>{4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17}));
    // Shown figures hold commas: quoted in a CSV of them.
    EXPECT_NE(textTableCsv(backtestTable(shown)).find(",\"-50,089\",\"-35,063\"\r\n"),
              std::string::npos);
}

TEST(BacktestTable, SummaryIsTheStatisticsAndWhatTheRuleLeavesOut) {
    EXPECT_EQ(backtestSummary(twoLegPair()),
              "取引 2回  勝率 50.0%  純損益 -35,063円  PF 0.30  最大DD 50,089円  平均保有 22.0本"
              "  (保有中 15,026円)\n計算に入らないもの: 逆日歩と配当の調整 (株価データにないため)");
}

}  // namespace
}  // namespace zepa
