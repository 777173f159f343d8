// A whole chart painted on the raster surface from price files made by the writer: the key
// pixels a trader looks at first.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <fstream>

#include "chart/chart_geometry.h"
#include "chart/paint.h"
#include "marketdata/installation_paths.h"
#include "platform/raster_surface.h"
#include "tests/support/gui_environment.h"
#include "tools/dbw_writer.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;

// Even slots rise, odd slots fall; the sell leg trades twice as high, so the legs never overlap.
DbwRecord candle(int32_t base, int slot) {
    const int32_t open = slot % 2 == 0 ? base : base + 10;
    const int32_t close = slot % 2 == 0 ? base + 10 : base;
    return DbwRecord{open, base + 30, base - 20, close, 5000, 0};
}

class WholeChart : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("zepa_whole_chart_" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "ZEPAWIN" / "DATA");
        DbwFile file;
        DbwStock buy{100001111, "BUY", {}};
        DbwStock sell{100002222, "SELL", {}};
        for (int d = 0; d < 40; ++d) {
            file.dates.push_back(
                PackedDate{55, static_cast<uint8_t>(1 + d / 20), static_cast<uint8_t>(1 + d % 20)});
            buy.records.push_back(candle(1000, d));
            sell.records.push_back(candle(2000, d));
        }
        file.stocks = {buy, sell};
        ASSERT_TRUE(writePriceDatabase((root_ / "ZEPAWIN/DATA/DBW.001").string(), file));

        md_.dataDirectory = makeInstallationPaths(root_.string()).dataDirectory;
        ASSERT_EQ(scanPriceDatabases(md_), DataError::None);
        ASSERT_EQ(loadPriceDatabases(md_), DataError::None);
        position_.buy.marketLetter[0] = 'T';
        position_.buy.stockCode = 1111;
        position_.sell.marketLetter[0] = 'T';
        position_.sell.stockCode = 2222;
        ASSERT_EQ(
            buildPairSeries(md_, corrections_, position_, PairSeriesOptions{}, series_).result, 1);
        resetColorTable(colors_);
        resetSpreadColors(colors_);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_;
    MarketData md_;
    CorrectionList corrections_;
    PositionRecord position_;
    SpreadSeries series_;
    ColorTable colors_;
};

QRgb pixelOf(ColorRef c) {
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TEST_F(WholeChart, FrameBackgroundAndCandlesInTheirColours) {
    QImage image(800, 580, QImage::Format_RGB32);
    image.fill(Qt::black);
    RasterSurface surface(image);
    ViewState view;
    view.chartArea = ChartRect{0, kToolbarHeight, 800, 580};
    ChartSettings settings;
    FontSlotTable fonts;
    ChartState state;
    ChartContext c{view, settings, colors_, series_, position_, md_.set.dateCount, fonts, state};
    paintChart(surface, c);

    const auto at = [&](int x, int y) { return image.pixel(x, y); };
    const auto color = [&](int index) { return pixelOf(colors_.colors[index]); };
    // The frame band around the chart, and the background inside it.
    EXPECT_EQ(at(1, 200), color(10));
    EXPECT_EQ(at(798, 200), color(10));
    EXPECT_EQ(at(400, kToolbarHeight + 1), color(10));
    EXPECT_EQ(at(10, 300), color(11));
    // Nothing above the chart area is touched.
    EXPECT_EQ(at(400, 10), qRgb(0, 0, 0));

    ASSERT_EQ(view.firstShownBar, 0);
    ASSERT_EQ(view.lastShownBar, 39);
    BarAxis axis = barAxis(c);
    for (int slot = 0; slot < 4; ++slot) {
        const int x = axis.advance();
        for (Leg leg : {Leg::Buy, Leg::Sell}) {
            const DayBar& bar = legBars(c, leg).bars[slot];
            const bool rising = bar.close >= bar.open;
            const int index = (leg == Leg::Buy ? 90 : 94) + (rising ? 1 : 0);
            // The upper wick leaves the body's top edge towards the high.
            const int bodyTop = priceY(c, std::max(bar.open, bar.close));
            EXPECT_EQ(at(x, bodyTop - 1), color(index)) << "slot " << slot;
            EXPECT_EQ(at(x, priceY(c, bar.high) + 1), color(index)) << "slot " << slot;
        }
    }
    // The header's box is in its own colour.
    EXPECT_EQ(at(5, kToolbarHeight + 4), color(13));
    releaseFontSlots(surface, fonts);
}

}  // namespace
}  // namespace zepa
