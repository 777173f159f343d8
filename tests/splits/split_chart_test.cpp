// A position across a split on the chart and in the tables: the same profit in both displays,
// the ex-date marks, the scale of the adjusted display and the overlay.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "chart/info_panel.h"
#include "chart/lower_pane.h"
#include "chart/paint.h"
#include "chart/price_pane.h"
#include "datawindow/data_table.h"
#include "tests/chart/chart_fixture.h"
#include "tests/splits/split_fixture.h"

namespace zepa::test {
namespace {

constexpr int kBuyRising = 91;
constexpr int kSellRising = 95;

// The buy stock splits 1:2 on slot 5, the sell stock 1:5 on slot 7; entered on slot 0.
class SplitChart : public SplitSeries {
  protected:
    void SetUp() override {
        std::vector<DbwRecord> sell = records({500, 500, 500, 500, 500, 500, 500, 100, 98, 96});
        sell[7].adjustment = 20;
        write(weekdays(2025, 3, 3, 10), buySplitOnSlot5(), sell);
    }
    // A chart of the ten slots with pitch 5 from plotLeft 52: slot i at x = 57 + 5i.
    void show(ChartFixture& f, int adjusted) {
        build(250303, {0, 3, 3, adjusted});
        f.series = series_;
        f.position = position_;
        f.settings.splitAdjustedDisplay = adjusted;
        f.state.layout.plotLeft = 52;
        f.state.layout.pitch = 5.0f;
        f.state.layout.pricePlotTop = 100;
        f.state.layout.paneScale = 1.0f;
        f.view.firstShownBar = 0;
        f.view.lastShownBar = 9;
        f.state.scale = {1100, 400, 0.25f};
    }
};

TEST_F(SplitChart, ExDatesAreMarkedOnTheDateAxisInBothDisplays) {
    for (const int adjusted : {0, 1}) {
        ChartFixture f(10);
        show(f, adjusted);
        drawPriceAxes(f.surface, f.c, 77, 400);
        // Three rows above the axis line, 5, 3 and 1 pixels wide, in the leg's candle colour
        // (the surface's rectangles leave out their right and bottom edges).
        EXPECT_EQ(f.drawn(RecordedOp::Fill, kBuyRising),
                  (Strings{"80,74,85,75", "81,75,84,76", "82,76,83,77"}));
        EXPECT_EQ(f.drawn(RecordedOp::Fill, kSellRising),
                  (Strings{"90,74,95,75", "91,75,94,76", "92,76,93,77"}));
        // Scrolled so that the ex-dates are not shown: no mark.
        f.surface.ops.clear();
        f.view.lastShownBar = 4;
        drawPriceAxes(f.surface, f.c, 77, 400);
        EXPECT_TRUE(f.ops(RecordedOp::Fill, kBuyRising).empty());
    }
}

TEST_F(SplitChart, TheAdjustedScaleFitsTheCandlesOnShow) {
    const auto scale = [&](int adjusted) {
        ChartFixture f(10);
        show(f, adjusted);
        scalePrices(f.c, 180.0f);
        return Ints{f.state.scale.priceMax, f.state.scale.priceMin};
    };
    // As stored, the buy leg's high of 1042 before its split stretches the scale over both
    // bases; adjusted, the highest price is the newest high, 542. The lowest is the sell leg's
    // newest low either way (its older prices shown adjusted are 100 and more).
    EXPECT_EQ(scale(0), (Ints{1042, 93}));
    EXPECT_EQ(scale(1), (Ints{542, 93}));

    // Overlaid, the sell leg meets the buy leg at the entry in either display: 500 on 1000 as
    // stored, 100 on 500 adjusted.
    for (const auto& [adjusted, sellEntry, buyEntry] : {std::tuple{0, 500, 1000}, {1, 100, 500}}) {
        ChartFixture f(10);
        show(f, adjusted);
        f.settings.overlaySellAtEntry = 1;
        setSellDrawScale(f.c);
        EXPECT_EQ(drawnPrice(f.c, Leg::Sell, sellEntry), buyEntry) << adjusted;
    }
    // Entered after the last date, so that no leg has an entry bar: the legs meet at the first
    // shown bar in the adjusted prices, 100 on 500.
    ChartFixture f(10);
    show(f, 1);
    build(250317, {0, 3, 3, 1});
    f.series = series_;
    f.position = position_;
    ASSERT_EQ((Ints{f.series.buyEntryBar, f.series.sellEntryBar}), (Ints{-1, -1}));
    f.settings.overlaySellAtEntry = 1;
    setSellDrawScale(f.c);
    EXPECT_EQ(drawnPrice(f.c, Leg::Sell, 100), 500);
}

TEST_F(SplitChart, ProfitRatesAndTablesAreTheSameInBothDisplaysAndRunOn) {
    std::vector<std::vector<RecordedOp>> lowerPanes;
    std::vector<Strings> panels, rows;
    for (const int adjusted : {0, 1}) {
        for (const int mode : {0, 1}) {
            ChartFixture f(10);
            show(f, adjusted);
            f.settings.lowerPaneMode = mode;
            drawLowerPane(f.surface, f.c, 52, 300);
            lowerPanes.push_back(f.surface.ops);
            if (mode == 0) {
                // The profit bars of slots 4 and 5 end at the same height: 4,000 yen on both
                // sides of the ex-date.
                const std::vector<RecordedOp> bars = f.ops(RecordedOp::Fill, 21);
                ASSERT_EQ(bars.size(), 9u);
                EXPECT_EQ(bars[3].y1, bars[4].y1);
            }
        }
        ChartFixture f(10);
        show(f, adjusted);
        drawInfoPanel(f.surface, f.c);
        panels.push_back(f.drawn(RecordedOp::Text, 16));
        Strings cells;
        for (const int32_t row : {4, 5, 8}) {
            const DataRowTexts texts = formatDataRow(f.c, kSpreadDataKind, row);
            cells.insert(cells.end(), texts.begin() + 2, texts.end());
        }
        rows.push_back(cells);
    }
    EXPECT_EQ(lowerPanes[0].size(), lowerPanes[2].size());
    for (size_t i = 0; i < lowerPanes[0].size(); ++i) {
        EXPECT_EQ(coords(lowerPanes[0][i]), coords(lowerPanes[2][i])) << i;
        EXPECT_EQ(coords(lowerPanes[1][i]), coords(lowerPanes[3][i])) << i;
    }
    // The profit in the panel: 200 x 540 - 100,000 on the buy leg, 100 x (500 - 96 x 5) on the
    // sell leg.
    EXPECT_EQ(panels[0].back(), "    10000");
    EXPECT_EQ(panels[0].back(), panels[1].back());
    // Buy change, sell change, profit in 10,000 yen on slots 4, 5 and 8.
    const Strings expected = {"      3.8", "     -0.0", "     +0.4", "      3.8", "     -0.0",
                              "     +0.4", "      6.5", "     -2.0", "     +0.8"};
    EXPECT_EQ(rows[0], expected);
    EXPECT_EQ(rows[1], expected);
}

TEST_F(SplitChart, TablesAndPanelShowTheDisplayedPrices) {
    const auto spreadAndCloses = [&](int adjusted) {
        ChartFixture f(10);
        show(f, adjusted);
        const DataRowTexts spread = formatDataRow(f.c, kSpreadDataKind, 4);
        const DataRowTexts stock = formatDataRow(f.c, kStockDataKind, 4);
        drawInfoPanel(f.surface, f.c);
        return Strings{spread[1], stock[1], stock[2], f.drawn(RecordedOp::Text, 92)[0]};
    };
    // Slot 4 before the buy split: the spread, the buy close and volume, the entry close "K:".
    EXPECT_EQ(spreadAndCloses(0), (Strings{"     -540", "     1040", "        1", "K:  1000"}));
    EXPECT_EQ(spreadAndCloses(1), (Strings{"     -420", "      520", "        2", "K:   500"}));
}

// Extreme adjustments every day, at the ends of the price range: every part of the chart and
// the tables, in both displays, daily and weekly, without undefined behaviour (the sanitizers
// watch), with the profit within its bounds and finite change rates.
TEST_F(SplitChart, HostileAdjustmentsDrawEveryPaneAndRow) {
    std::vector<DbwRecord> buy, sell;
    for (int d = 0; d < 60; ++d) {
        buy.push_back(traded(d % 2 == 0 ? 2000000000 : 4));
        buy.back().adjustment = d < 30 ? 1 : 65535;
        sell.push_back(traded(d % 3 == 0 ? 4 : 1500000000));
        sell.back().adjustment = d % 2 == 0 ? 65535 : 1;
    }
    write(weekdays(2025, 3, 3, 60), buy, sell);
    for (const int weekly : {0, 1}) {
        for (const int adjusted : {0, 1}) {
            build(250303, {weekly, 5, 5, adjusted});
            position_.buy.quantity = position_.sell.quantity = 2000000000;
            for (int32_t i = series_.firstBar; i < static_cast<int32_t>(series_.buyBars.size());
                 ++i) {
                const int64_t p = positionProfit(series_, position_, i);
                EXPECT_TRUE(p >= -kProfitLimit && p <= kProfitLimit) << i;
                for (const Leg leg : {Leg::Buy, Leg::Sell}) {
                    if (storedBars(series_, leg)[static_cast<size_t>(i)].close != 0) {
                        EXPECT_TRUE(std::isfinite(legChangeRate(series_, leg, i))) << i;
                    }
                }
            }
            for (const int mode : {0, 1, 2}) {
                ChartFixture f(md_.set.dateCount);
                f.series = series_;
                f.position = position_;
                f.settings.lowerPaneMode = mode;
                f.settings.buyAverage = f.settings.sellAverage = 1;
                f.settings.buyTomeashi = f.settings.sellTomeashi = 1;
                f.settings.spreadSource = mode == 2 ? 1 : 0;
                paintChart(f.surface, f.c);
                EXPECT_NE(f.state.lowerScaleValue, 0);
                for (int32_t row = 0; row < dataRowCount(f.c); ++row) {
                    formatDataRow(f.c, kSpreadDataKind, row);
                    formatDataRow(f.c, kStockDataKind, row);
                }
            }
        }
    }
}

}  // namespace
}  // namespace zepa::test
