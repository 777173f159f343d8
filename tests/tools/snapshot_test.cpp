// zepa_snapshot from the outside: a picture of the chart area and the layout it used.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/raster_surface.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

TEST(Snapshot, WritesTheChartAreaAndItsLayout) {
    TempInstallation dir;
    std::vector<int32_t> rising, falling;
    for (int d = 0; d < 30; ++d) {
        rising.push_back(101 + d);
        falling.push_back(299 - d);
    }
    dir.writeDb("DBW.001", dbw(weekdays(2025, 3, 3, 30), {stock(tokyo(1001), "A", rising),
                                                          stock(tokyo(1002), "B", falling)}));
    dir.writeText(dir.paths.positionFile,
                  "T1001    A         250305    100       T1002    B         250305    100\n");
    const std::string tool = std::string(ZEPA_SNAPSHOT_PATH) + " ",
                      root = "--root " + dir.root.string() + " ",
                      png = (dir.root / "out.png").string();

    std::string out;
    ASSERT_EQ(runTool(tool + root + "--defaults --size 640x400 --layout " + png, &out), 0);
    EXPECT_NE(out.find("\"chartArea\":[0,30,640,430]"), std::string::npos) << out;
    EXPECT_NE(out.find("\"firstShownBar\":0,\"lastShownBar\":29"), std::string::npos) << out;
    // The chart area alone: its top rows are the frame band.
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(640, 400));
    ColorTable colors;
    resetColorTable(colors);
    EXPECT_EQ(image.pixel(320, 1), pixelOf(colors.colors[10]));

    EXPECT_EQ(runTool(tool + root + "--position 3 " + png), 2);
    EXPECT_EQ(runTool(tool + "--size 0x10 " + png), 2);
    std::filesystem::remove(dir.paths.positionFile);
    EXPECT_EQ(runTool(tool + root + png), 1);
}

}  // namespace
}  // namespace zepa::test
