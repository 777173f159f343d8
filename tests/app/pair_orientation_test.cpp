// ペア検索's rows as their candidates trade them: the bought leg first, Z the z of buy / sell the
// candidate's ratio chart shows, and the 検証 columns zepa_backtest's numbers in either order;
// on markets whose screen lists the planted pair one way round and the other.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "app/backtest_table.h"
#include "app/frame_handlers.h"
#include "app/pair_search_job.h"
#include "app/startup.h"
#include "base/codepage.h"
#include "chart/ratio_pane.h"
#include "settings/memory_value_store.h"
#include "tests/app/recording_shell.h"
#include "tests/app/reverting_market.h"
#include "tests/app/viewer_fixture.h"
#include "tools/backtest/backtest_run.h"

namespace zepa {
namespace {

std::string printed(const char* format, double v) {
    char text[32];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

BacktestStats commandStats(const test::TempInstallation& in, const BacktestRule& rule, int32_t a,
                           int32_t b) {
    BacktestOptions one;
    one.root = in.root.string();
    one.rule = rule;
    EXPECT_TRUE(parseBacktestCode("T" + std::to_string(a), one.a));
    EXPECT_TRUE(parseBacktestCode("T" + std::to_string(b), one.b));
    const BacktestRunResult r = runBacktestCommand(one);
    EXPECT_EQ(r.exitCode, 0) << r.problem;
    return r.stats;
}

void expectSameStats(const BacktestStats& got, const BacktestStats& want, const std::string& what) {
    EXPECT_EQ(std::tuple(got.trades, got.wins, got.net, got.maxDrawdown, got.hasOpenTrade,
                         got.openNet, got.averageHolding),
              std::tuple(want.trades, want.wins, want.net, want.maxDrawdown, want.hasOpenTrade,
                         want.openNet, want.averageHolding))
        << what;
}

TEST(PairSearchOrientation, TableCandidateAndCommandAgreeWhicheverLegTheScreenPutFirst) {
    std::set<bool> seen;
    // Markets of several lengths end with the planted pair's z on either side of 0.
    for (int dates = 300; dates < 340 && seen.size() < 2; dates += 3) {
        SCOPED_TRACE("dates " + std::to_string(dates));
        test::TempInstallation in;
        const std::vector<std::vector<int32_t>> closes = test::writeRevertingMarket(in, dates);
        PairSearchSettings s = defaultPairSearchSettings();
        s.withBacktest = true;
        s.rule.entry = 1.5;
        PairSearchProgress progress;
        const PairSearchOutcome out = runPairSearch(in.paths, s, progress);
        ASSERT_EQ(out.result, PairSearchResult::Done) << out.message;
        EXPECT_EQ(progress.stage.load(), static_cast<int>(PairSearchStage::Finished));
        const PairSearchRow* row = nullptr;
        for (const PairSearchRow& r : out.table.rows) {
            row = r.aCode + r.bCode == 1001 + 1002 ? &r : row;
        }
        if (dates == 300) {  // the planted pair alone passes, with its trades
            EXPECT_EQ(out.table.rows.size(), 1u) << out.funnel;
            EXPECT_EQ(out.funnel.rfind("4銘柄 → 6組 → 相関 ", 0), 0u) << out.funnel;
            EXPECT_EQ(out.windowStart, 20240314);  // the first of the last 250 of 300 weekdays
            ASSERT_TRUE(row != nullptr && row->stats);
            EXPECT_GT(row->stats->trades, 0);
        }
        if (row == nullptr || !row->z || !row->stats) {
            continue;
        }
        EXPECT_EQ(row->trades.size(),
                  static_cast<size_t>(row->stats->trades + row->stats->hasOpenTrade));
        seen.insert(row->turned);
        EXPECT_LE(*row->z, 0.0);

        // The candidate's chart: the table's Z is its title's, to the last bit of its z.
        AppContext a;
        MemoryValueStore store;
        test::RecordingShell shell;
        shell.view = &a.view;
        test::TempInstallation::writeText(in.paths.positionFile, test::positionLine(1003, 1004));
        ASSERT_EQ(startViewer(a, in.root.string(), store), StartupOutcome::Ready);
        onCreate(a, shell);
        const PairCandidate c = pairCandidateOf(*row, s, out.windowStart);
        // Each leg whole hundreds of shares for the amount at its own close at the end.
        for (const PositionLeg& leg : {c.record.buy, c.record.sell}) {
            const double close = closes[static_cast<size_t>(leg.stockCode - 1001)].back();
            EXPECT_EQ(leg.quantity,
                      std::max(100, static_cast<int32_t>(s.rule.amount / close / 100) * 100))
                << leg.stockCode;
        }
        ASSERT_TRUE(showCandidate(a, shell, c));
        EXPECT_EQ(a.series.buyStockCode, row->aCode);
        ASSERT_FALSE(a.ratio.slots.empty());
        const RatioSlot& last = a.ratio.slots.back();
        ASSERT_TRUE(last.hasZ);
        EXPECT_EQ(last.z, *row->z);
        EXPECT_EQ(pairCell(*row, PairColumn::Z), printed("%+.2f", last.z));
        const std::string title = utf8FromCp932(ratioTitle(chartContext(a)));
        EXPECT_NE(title.find("  Z:" + printed("%+.1f", *row->z) + "  相関(25本):"),
                  std::string::npos)
            << title;

        // The 検証 columns: zepa_backtest's numbers for the pair, in either order.
        const BacktestRule rule = backtestRuleOf(s);
        expectSameStats(*row->stats, commandStats(in, rule, row->aCode, row->bCode), "buy/sell");
        expectSameStats(*row->stats, commandStats(in, rule, row->bCode, row->aCode), "sell/buy");
        expectSameStats(c.stats, *row->stats, "candidate");
        // The 検証 window names the pair, the rule and the dates of what it lists.
        const ShownBacktest& shown = a.shownBacktest;
        ASSERT_TRUE(shown.valid);
        EXPECT_EQ(std::pair(shown.buyCode, shown.sellCode), std::pair(row->aCode, row->bCode));
        EXPECT_EQ(shown.rule.entry, 1.5);
        EXPECT_EQ(shown.firstDate, 20240104);

        // The headers name the windows: the screen's and the backtest's dates.
        EXPECT_EQ(pairColumnHeader(out.table, PairColumn::Correlation), "相関(250日)");
        EXPECT_EQ(pairColumnHeader(out.table, PairColumn::HalfLife), "半減期(250日)");
        EXPECT_EQ(pairColumnHeader(out.table, PairColumn::Trades)
                      .rfind("検証(選定期間) 取引回数(2024-01-04〜", 0),
                  0u);
    }
    EXPECT_EQ(seen, (std::set<bool>{false, true}));
}

}  // namespace
}  // namespace zepa
