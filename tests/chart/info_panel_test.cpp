#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "chart/info_panel.h"
#include "chart/price_pane.h"
#include "tests/support/recording_surface.h"

namespace zepa {
namespace {

constexpr ColorRef kColorBase = 1000;  // colour index i is kColorBase + i

// Buy entry at slot 10 (close 1000), sell entry at 12 (close 2000), 30 slots shown to 20.
struct PanelFixture {
    ViewState view;
    ChartSettings settings;
    ColorTable colors;
    SpreadSeries series;
    PositionRecord position;
    FontSlotTable fonts;
    ChartState state;
    RecordingSurface surface;
    ChartContext c{view, settings, colors, series, position, 30, fonts, state};

    PanelFixture() {
        for (int i = 0; i < kColorCount; ++i) {
            colors.colors[i] = kColorBase + i;
        }
        // -15: 8 wide, 15 high; -13: 7 wide, 13 + 1 leading.
        surface.metricsFor = [](int32_t h) {
            return h == -15 ? TextMetrics{8, 15, 12, 0} : TextMetrics{7, 13, 10, 1};
        };
        series.buyBars.assign(30, DayBar{});
        series.sellBars.assign(30, DayBar{});
        series.buyEntryBar = 10;
        series.sellEntryBar = 12;
        series.buyBars[10].close = 1000;
        series.sellBars[12].close = 2000;
        series.buyBars[20].close = 1050;
        series.buyBars[20].gain = 50;
        series.sellBars[20].close = 1900;
        series.sellBars[20].gain = 100;
        position.buy.quantity = 1000;
        position.sell.quantity = 2000;
        view.lastShownBar = 20;
        state.layout.headerFontHeight = -15;
        state.layout.labelFontHeight = -13;
        state.layout.pricePaneRight = 700;
        state.layout.pricePlotTop = 100;
        state.layout.pricePaneBottom = 380;
    }

    // Each text as "x,y,colour index:text".
    std::vector<std::string> panel() {
        drawInfoPanel(surface, c);
        std::vector<std::string> out;
        for (const RecordedOp& op : surface.ofKind(RecordedOp::Text)) {
            EXPECT_EQ(op.backgroundMode, BackgroundMode::Transparent);
            EXPECT_EQ(op.fontHeight, -13);
            out.push_back(std::to_string(op.x1) + "," + std::to_string(op.y1) + "," +
                          std::to_string(op.color - kColorBase) + ":" + op.text);
        }
        return out;
    }
};

TEST(InfoPanelHeader, TextInCp932ByteForByte) {
    PanelFixture f;
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

    f.state.layout.headerLeft = 4;
    f.state.layout.headerRight = 795;
    drawHeaderLine(f.surface, f.c, 33);
    ASSERT_EQ(f.surface.ops.size(), 1u + 4u + 1u);  // box, outline, text
    const RecordedOp& box = f.surface.ops[0];
    EXPECT_EQ((std::vector<uint32_t>{uint32_t(box.x1), uint32_t(box.y1), uint32_t(box.x2),
                                     uint32_t(box.y2), box.color}),
              (std::vector<uint32_t>{3, 33, 797, 33 + 15 + 6 + 1, kColorBase + 13}));
    EXPECT_EQ(f.surface.ops[1].color, kColorBase + 12);
    const RecordedOp& text = f.surface.ops[5];
    EXPECT_EQ(text.text, expected);
    EXPECT_EQ((std::vector<uint32_t>{uint32_t(text.x1), uint32_t(text.y1), text.color,
                                     text.background, uint32_t(text.fontHeight)}),
              (std::vector<uint32_t>{8, 37, kColorBase + 14, kColorBase + 13, uint32_t(-15)}));
    EXPECT_EQ(text.backgroundMode, BackgroundMode::Opaque);
}

TEST(InfoPanelBlocks, RowsPositionsColoursAndTexts) {
    PanelFixture f;
    f.state.icons = {true, 40, 50, true, 60, 70};
    // X 700, Y 100, w2 7, h2 14.
    EXPECT_EQ(f.panel(), (std::vector<std::string>{
                             "630,156,92:K:  1000", "644,170,92:  1050", "630,184,92:      +5%",
                             "630,100,96:U:  2000", "644,114,96:  1900", "630,128,96:      -5%",
                             "630,212,16:S:  1000", "644,226,16:   850", "623,366,16:   250000"}));
    const std::vector<RecordedOp> icons = f.surface.ofKind(RecordedOp::Icon);
    ASSERT_EQ(icons.size(), 2u);
    EXPECT_EQ((std::vector<int32_t>{icons[0].x1, icons[0].y1, icons[0].iconId}),
              (std::vector<int32_t>{40, 50, 601}));
    EXPECT_EQ((std::vector<int32_t>{icons[1].x1, icons[1].y1, icons[1].iconId}),
              (std::vector<int32_t>{60, 70, 602}));

    // The other spread base, and a leg corrected by 100.
    PanelFixture g;
    g.settings.spreadBase = 1;
    g.series.buyFactor = 100;
    g.series.buyBars[10].close = 12345;
    const std::vector<std::string> texts = g.panel();
    EXPECT_EQ(texts[0], "630,156,92:K:   123");
    EXPECT_EQ(texts[6], "630,212,16:S: 10345");
    EXPECT_EQ(texts[7], "644,226,16:  -850");
}

TEST(InfoPanelBlocks, ScrolledBeforeAnEntryBar) {
    PanelFixture f;
    f.view.lastShownBar = 11;  // after the buy entry, before the sell entry
    f.series.buyBars[11].close = 990;
    f.series.buyBars[11].gain = -10;
    EXPECT_EQ(f.panel(), (std::vector<std::string>{"630,156,92:K:  1000", "644,170,92:   990",
                                                   "630,184,92:      -1%"}));

    // An entry bar left of the shown range still has its block, but no icon.
    PanelFixture g;
    g.view.firstShownBar = 11;
    drawCandles(g.surface, g.c, 52, 100);
    EXPECT_FALSE(g.state.icons.buyRecorded);
    EXPECT_TRUE(g.state.icons.sellRecorded);
    EXPECT_EQ(g.surface.ofKind(RecordedOp::Icon).size(), 1u);
    EXPECT_EQ(g.surface.texts().at(0), "K:  1000");

    // A leg without an entry date: its block and the spread go, the profit stays.
    PanelFixture h;
    h.series.sellEntryBar = -1;
    h.series.sellBars[20].gain = 0;
    const std::vector<std::string> texts = h.panel();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[3], "623,366,16:    50000");
}

TEST(InfoPanelBlocks, LargeProfitAndZeroClose) {
    PanelFixture f;
    f.series.buyBars[20].gain = 100000;
    f.position.buy.quantity = 50000;  // 5,000,000,000: past 32 bits
    f.series.sellBars[20].gain = -3000;
    f.position.sell.quantity = 1;
    f.series.sellBars[20].close = 0;  // no rate against a zero close
    const std::vector<std::string> texts = f.panel();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[4], "644,114,96:     0");
    EXPECT_EQ(texts[5], "630,212,16:S:  1000");
    EXPECT_EQ(texts[7], "623,366,16:4999997000");
}

}  // namespace
}  // namespace zepa
