// zepa_snapshot from the outside: a whole chart painted from price files made by the writer,
// the key pixels a trader looks at first, and the layout it used.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/raster_surface.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

TEST(Snapshot, PaintsTheChartAreaInItsColoursAndReportsTheLayout) {
    // Even days rise, odd days fall; the sell leg trades twice as high, so the legs never
    // overlap.
    TempInstallation dir;
    DbwFile file = dbw(weekdays(2025, 3, 3, 30), {{tokyo(1001), "A", {}}, {tokyo(1002), "B", {}}});
    for (int d = 0; d < 30; ++d) {
        for (DbwStock& s : file.stocks) {
            const int32_t base = s.key == tokyo(1001) ? 1000 : 2000, up = d % 2 == 0 ? 10 : 0;
            s.records.push_back(DbwRecord{base + 10 - up, base + 30, base - 20, base + up, 5000});
        }
    }
    dir.writeDb("DBW.001", file);
    dir.writeText(dir.paths.positionFile,
                  "T1001    A         250305    100       T1002    B         250305    100\n");
    const std::string tool = std::string(ZEPA_SNAPSHOT_PATH) + " ",
                      root = "--root " + dir.root.string() + " ",
                      png = (dir.root / "out.png").string();

    std::string out;
    ASSERT_EQ(runTool(tool + root + "--defaults --size 640x400 --layout " + png, &out), 0);
    EXPECT_NE(out.find("\"chartArea\":[0,30,640,430]"), std::string::npos) << out;
    EXPECT_NE(out.find("\"firstShownBar\":0,\"lastShownBar\":29"), std::string::npos) << out;
    const auto number = [&](const std::string& key) {
        const size_t at = out.find("\"" + key + "\":");
        return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + key.size() + 3);
    };
    // Where the candles stand, in the picture's coordinates.
    const int plotLeft = number("plotLeft"), top = number("pricePlotTop") - 30,
              bottom = number("pricePaneBottom") - 30;
    ASSERT_TRUE(plotLeft > 0 && top > 0 && bottom > top) << out;

    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(640, 400));
    ColorTable colors;
    resetColorTable(colors);
    resetSpreadColors(colors);
    const auto is = [&](int x, int y, int index) {
        return image.pixel(x, y) == pixelOf(colors.colors[index]);
    };
    // Frame band, background and the header's box.
    EXPECT_TRUE(is(1, 170, 10) && is(638, 170, 10) && is(320, 1, 10) && is(10, 40, 11));
    EXPECT_TRUE(is(5, 4, 13));
    // At the default pitch 5 each candle has columns of its own, all in the rising or all in the
    // falling colour (the same for both legs by default).
    for (int slot = 0; slot < 4; ++slot) {
        const int x = plotLeft + 5 * (slot + 1), colour = slot % 2 == 0 ? 91 : 90;
        int own = 0, other = 0;
        for (int y = top; y < bottom; ++y) {
            own += is(x, y, colour);
            other += is(x, y, 181 - colour);
        }
        EXPECT_TRUE(own > 0 && other == 0) << "slot " << slot;
    }

    EXPECT_EQ(runTool(tool + root + "--position 3 " + png), 2);
    EXPECT_EQ(runTool(tool + "--size 0x10 " + png), 2);
    std::filesystem::remove(dir.paths.positionFile);
    EXPECT_EQ(runTool(tool + root + png), 1);
}

}  // namespace
}  // namespace zepa::test
