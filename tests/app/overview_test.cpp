#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/key_table.h"
#include "app/overview/overview_settings.h"
#include "app/overview/overview_state.h"
#include "app/overview/overview_table.h"
#include "app/pair_search_settings.h"
#include "marketdata/position_figures.h"
#include "settings/chart_values.h"
#include "tests/app/viewer_fixture.h"

namespace zepa::test {
namespace {

struct Overview : Viewer {
    // 1001/1002 and 1005/1006 have figures, 1001/4321 names a stock no price file has.
    void openFour() {
        open(positionLine(1001, 1002) + positionLine(1001, 4321) + positionLine(1005, 1006) +
             positionLine(1004, 1003));
    }
    std::vector<std::string> column(const TextTable& t, OverviewColumn c) const {
        std::vector<std::string> out;
        for (const auto& row : t.rows) {
            out.push_back(row[static_cast<size_t>(c)]);
        }
        return out;
    }
};

TEST_F(Overview, EveryLoadAsksForTheFiguresWhichMatchTheChartsProfit) {
    openFour();
    EXPECT_EQ(shell.overviewRequests, 1);
    refreshOverview(a, shell);
    ASSERT_EQ(a.overview.rows.size(), 4U);
    EXPECT_EQ(shell.overviewChanges, 1);
    // The chart's own profit of each position at its newest date.
    for (int p : {0, 2, 3}) {
        onCommand(a, shell, command::kPositionSelector, p);
        const auto last = static_cast<int32_t>(a.series.buyBars.size()) - 1;
        EXPECT_EQ(a.overview.rows[static_cast<size_t>(p)].profit,
                  positionProfit(a.series, a.positions.records[p], last))
            << p;
    }
    EXPECT_NE(a.overview.rows[1].problem.find("売りの銘柄 T4321"), std::string::npos);
    press(command::kReloadPositionsMenu);
    EXPECT_EQ(shell.overviewRequests, 2);
}

TEST_F(Overview, StatusLineCountsTheSignalsOfTheStoredRule) {
    openFour();
    PairSearchSettings pair = defaultPairSearchSettings();
    pair.rule.exit = -99.0;  // every z at or above -exit: none
    pair.rule.stop = 99.0;
    savePairSearchSettings(store, pair);
    a.settings.deadlineDays = 366;  // every deadline (September) within it
    refreshOverview(a, shell);
    EXPECT_EQ(shell.signalSummary, "合図: 期日 3 — 建玉一覧 (Ctrl+L)");
    a.settings.deadlineDays = 20;  // none
    pair.rule.exit = 99.0;         // z >= -99: every position with a z
    savePairSearchSettings(store, pair);
    refreshOverview(a, shell);
    EXPECT_EQ(shell.signalSummary.rfind("合図: 利確 ", 0), 0U) << shell.signalSummary;
}

TEST_F(Overview, TableSortsWithMissingValuesLastAndShowsTheRowsPosition) {
    openFour();
    refreshOverview(a, shell);
    const PositionOverview& o = a.overview;
    const auto profitOrder = [&](bool descending) {
        const std::vector<size_t> order =
            overviewOrder(o, static_cast<int>(OverviewColumn::Profit), descending);
        std::vector<int64_t> profits;
        for (size_t i : order) {
            profits.push_back(o.rows[i].profit.value_or(INT64_MIN));
        }
        return std::pair(order, profits);
    };
    for (bool descending : {false, true}) {
        const auto [order, profits] = profitOrder(descending);
        EXPECT_EQ(order.back(), 1U) << descending;  // the row without figures, last both ways
        for (size_t k = 0; k + 2 < profits.size(); ++k) {
            EXPECT_TRUE(descending ? profits[k] >= profits[k + 1] : profits[k] <= profits[k + 1]);
        }
    }

    const auto [order, profits] = profitOrder(true);
    const TextTable t = overviewTable(o, order);
    ASSERT_EQ(t.header.size(), static_cast<size_t>(kOverviewColumnCount));
    ASSERT_EQ(t.rows.size(), 5U);
    EXPECT_TRUE(t.totalRows.back());
    EXPECT_EQ(column(t, OverviewColumn::Buy)[0].rfind("T", 0), 0U);
    EXPECT_EQ(column(t, OverviewColumn::Profit)[0], std::to_string(profits[0]));
    EXPECT_EQ(column(t, OverviewColumn::Profit)[3], "");  // the problem row
    EXPECT_NE(column(t, OverviewColumn::Signals)[3].find("指定銘柄は登録されていません"),
              std::string::npos);
    EXPECT_EQ(column(t, OverviewColumn::Profit)[4], std::to_string(o.totals.profit));
    EXPECT_EQ(column(t, OverviewColumn::Sell)[4], "3 建玉（1 建玉は含まず）");
    for (size_t r = 0; r < t.rows.size(); ++r) {
        const bool loss = r < 4 ? profits[r] < 0 && profits[r] != INT64_MIN : o.totals.profit < 0;
        EXPECT_EQ(overviewLossCell(o, order, r, static_cast<int>(OverviewColumn::Profit)), loss)
            << r;
    }

    // Enter on the first row: its position in the chart and the selector.
    const int position = overviewPositionOfRow(order, 0);
    EXPECT_EQ(overviewPositionOfRow(order, 4), -1);
    showOverviewPosition(a, shell, position);
    EXPECT_EQ(a.view.currentPosition, position);
    EXPECT_EQ(shell.selected, position);
}

TEST_F(Overview, CtrlLAndTheMenuOpenTheWindowWithFreshFigures) {
    openFour();
    key('L', true);
    EXPECT_EQ(shell.opened, std::vector<std::string>{"overview"});
    EXPECT_EQ(a.overview.rows.size(), 4U);
    press(command::kOverview);
    EXPECT_EQ(shell.opened.size(), 2U);
    EXPECT_EQ(shell.overviewChanges, 2);
}

TEST(OverviewShownCell, YenFiguresAreGroupedAndNothingElse) {
    struct Case {
        OverviewColumn column;
        const char* cell;
        const char* shown;
    };
    const Case cases[] = {
        {OverviewColumn::Profit, "-1234567", "-1,234,567"},
        {OverviewColumn::Profit, "999", "999"},
        {OverviewColumn::DayChange, "1000", "1,000"},
        {OverviewColumn::Net, "-9223372036854775808", "-9,223,372,036,854,775,808"},
        {OverviewColumn::Net, "", ""},           // no figure
        {OverviewColumn::Profit, "12a", "12a"},  // not a number: as it is
        {OverviewColumn::Profit, "+1234", "+1234"},
        {OverviewColumn::DaysHeld, "12345", "12345"},  // days, not yen
        {OverviewColumn::Buy, "T1001 1234", "T1001 1234"},
        {OverviewColumn::ProfitRate, "+1234.50%", "+1234.50%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(overviewShownCell(c.cell, static_cast<size_t>(c.column)), c.shown) << c.cell;
    }
}

void expectSameFigures(const PositionOverview& a, const PositionOverview& b) {
    const auto figures = [](const OverviewRow& x) {
        return std::tie(x.problem, x.profit, x.dayChange, x.profitRate, x.daysHeld, x.deadline,
                        x.daysLeft, x.carry, x.net, x.z, x.correlation, x.halfLife, x.signals);
    };
    ASSERT_EQ(a.rows.size(), b.rows.size());
    for (size_t r = 0; r < a.rows.size(); ++r) {
        EXPECT_EQ(figures(a.rows[r]), figures(b.rows[r])) << r;
    }
}

bool anyFileHeld(const MarketData& md) {
    return std::any_of(md.set.files.begin(), md.set.files.end(),
                       [](const PriceDatabase& db) { return db.heldFile != nullptr; });
}

// The figures read every stock through price files held open for the run: the same figures as
// each position formed alone (its stocks read in another order), no file left open afterwards,
// and a caller's own hold left as it was.
TEST_F(Overview, HeldFilesChangeNoFigureAndStayOpenOnlyAsLongAsTheirHolder) {
    writePrices(1008);  // a second price file: the blocks of each stock come from both
    writeLaterPrices({7, 9, 8, 20, 3});
    openFour();
    const OverviewSettings settings = overviewSettingsOf(a.settings, defaultPairSearchSettings());
    PositionOverview all;
    ASSERT_EQ(computePositionOverview(a.md, a.corrections, a.positions, settings, all),
              OverviewResult::Ok);
    EXPECT_FALSE(anyFileHeld(a.md));
    EXPECT_GT(all.totals.counted, 0);

    PositionOverview alone;
    alone.rows.resize(all.rows.size());
    for (int p = a.positions.positionCount - 1; p >= 0; --p) {
        PositionTable one = a.positions;
        std::swap(one.records[0], one.records[static_cast<size_t>(p)]);
        if (one.lines.size() > static_cast<size_t>(p)) {
            std::swap(one.lines[0], one.lines[static_cast<size_t>(p)]);
        }
        one.positionCount = 1;
        PositionOverview single;
        ASSERT_EQ(computePositionOverview(a.md, a.corrections, one, settings, single),
                  OverviewResult::Ok);
        alone.rows[static_cast<size_t>(p)] = single.rows[0];
    }
    expectSameFigures(all, alone);

    {
        const HeldPriceFiles mine(a.md);
        PositionOverview again;
        ASSERT_EQ(computePositionOverview(a.md, a.corrections, a.positions, settings, again),
                  OverviewResult::Ok);
        EXPECT_TRUE(anyFileHeld(a.md));  // still the caller's
        expectSameFigures(all, again);
    }
    EXPECT_FALSE(anyFileHeld(a.md));
}

}  // namespace
}  // namespace zepa::test
