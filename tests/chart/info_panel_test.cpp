#include <gtest/gtest.h>

#include <cstring>

#include "base/codepage.h"
#include "chart/info_panel.h"
#include "tests/chart/chart_fixture.h"

namespace zepa::test {
namespace {

// Buy entry at slot 10 (close 1000), sell entry at 12 (close 2000), 30 slots shown to 20.
struct Panel : ChartFixture {
    Panel() : ChartFixture(30) {
        surface.metricsFor = [](int32_t h) {  // -13: 7 wide, 13 high + 1 leading
            return h == -15 ? TextMetrics{8, 15, 12, 0} : TextMetrics{7, 13, 10, 1};
        };
        series.buyEntryBar = 10;
        series.sellEntryBar = 12;
        series.buyBars[10].close = series.buyEntryClose = 1000;
        series.sellBars[12].close = series.sellEntryClose = 2000;
        series.buyBars[20] = DayBar{{}, 0, 0, 0, 1050, 0, 50};
        series.sellBars[20] = DayBar{{}, 0, 0, 0, 1900, 0, 100};
        position.buy.quantity = 1000;
        position.sell.quantity = 2000;
        view.lastShownBar = 20;
        state.layout.pricePaneRight = 700;
        state.layout.pricePlotTop = 100;
        state.layout.pricePaneBottom = 380;
    }

    Strings panel() {
        drawInfoPanel(surface, c);
        return drawn(RecordedOp::Text);
    }
};

TEST(InfoPanelHeader, TextInCp932ByteForByte) {
    Panel f;
    f.series.buyMarketCode = 1;
    f.series.buyStockCode = 7203;
    std::memcpy(f.series.buyStockName, "\x83\x67\x83\x88\x83\x5e", 6);  // トヨタ
    f.position.buy.entryDate = 970401;
    f.series.sellMarketCode = 5;  // no name: four spaces
    f.series.sellStockCode = 6758;
    std::memcpy(f.series.sellStockName, "ABCDEFGH", 8);
    f.position.sell.entryDate = 0;
    f.position.sell.quantity = 123456;
    const std::string expected =
        "[ \x94\x83 \x93\x8c\x8f\xd8  7203 \x83\x67\x83\x88\x83\x5e   97/04/01   1000 \x8a\x94 ]"
        "\x81\x40"
        "[ \x94\x84       6758 ABCDEFGH 00/00/00 123456 \x8a\x94 ]";
    EXPECT_EQ(headerLineText(f.c), expected);

    // The overlay and the split-adjusted display are said after the sell leg, each by its own
    // setting, in the header band as drawn.
    f.settings.splitAdjustedDisplay = 1;
    EXPECT_EQ(headerLineText(f.c), expected + cp932FromUtf8("　分割調整"));
    f.settings.overlaySellAtEntry = 1;
    f.state.sellDrawScale = 0.4724;
    f.layout();
    drawHeaderLine(f.surface, f.c, 33);
    EXPECT_EQ(f.drawn(RecordedOp::Text, 14),
              (Strings{expected + cp932FromUtf8("　売:×0.472 重ね　分割調整")}));
}

TEST(InfoPanelBlocks, RowsPositionsColoursAndTexts) {
    Panel f;
    EXPECT_EQ(
        f.panel(),
        (Strings{"630,156 -13 92:K:  1000", "644,170 -13 92:  1050", "630,184 -13 92:      +5%",
                 "630,100 -13 96:U:  2000", "644,114 -13 96:  1900", "630,128 -13 96:      -5%",
                 "630,212 -13 16:S:  1000", "644,226 -13 16:   850", "623,366 -13 16:   250000"}));
}

TEST(InfoPanelBlocks, ChangeRateOfTheCurrentCloseOrByTheSettingOfTheEntryClose) {
    // 1,000 -> 1,250 and 2,000 -> 1,500: of the current close, or of the entry close.
    for (const auto& [ofEntry, buy, sell] :
         {std::tuple{0, "     +20%", "     -33%"}, std::tuple{1, "     +25%", "     -25%"}}) {
        Panel f;
        f.series.buyBars[20] = DayBar{{}, 0, 0, 0, 1250, 0, 250};
        f.series.sellBars[20] = DayBar{{}, 0, 0, 0, 1500, 0, 500};
        f.settings.changeRateOfEntry = ofEntry;
        const Strings texts = f.panel();
        EXPECT_EQ((Strings{texts[2], texts[5]}), (Strings{std::string("630,184 -13 92:") + buy,
                                                          std::string("630,128 -13 96:") + sell}));
    }
}

TEST(InfoPanelBlocks, OnlyEnteredLegsBeforeTheShownEndAndNoWrapOrZeroDivision) {
    Panel f;
    f.view.lastShownBar = 11;  // after the buy entry, before the sell entry
    f.series.buyBars[11] = DayBar{{}, 0, 0, 0, 990, 0, -10};
    EXPECT_EQ(f.panel(), (Strings{"630,156 -13 92:K:  1000", "644,170 -13 92:   990",
                                  "630,184 -13 92:      -1%"}));

    // A leg without an entry date: its block and the spread go, the profit stays.
    Panel h;
    h.series.sellEntryBar = -1;
    h.series.sellBars[20].gain = 0;
    const Strings texts = h.panel();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[3], "623,366 -13 16:    50000");

    Panel g;
    g.series.buyBars[20].gain = 100000;
    g.position.buy.quantity = 50000;  // 5,000,000,000: past 32 bits
    g.series.sellBars[20].gain = -3000;
    g.position.sell.quantity = 1;
    g.series.sellBars[20].close = 0;  // no rate against a zero close
    const Strings big = g.panel();
    ASSERT_EQ(big.size(), 8u);
    EXPECT_EQ(big[4], "644,114 -13 96:     0");
    EXPECT_EQ(big[7], "623,366 -13 16:4999997000");
}

}  // namespace
}  // namespace zepa::test
