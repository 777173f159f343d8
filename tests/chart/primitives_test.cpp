#include <gtest/gtest.h>

#include "chart/primitives.h"
#include "tests/support/recording_surface.h"

namespace zepa {
namespace {

TEST(Primitives, FillBoxTakesCornersInAnyOrderInclusive) {
    RecordingSurface s;
    fillBox(s, 10, 20, 12, 20, 5);
    fillBox(s, 12, 25, 10, 20, 5);  // bottom above top, as a negative bar passes it
    ASSERT_EQ(s.ops.size(), 2u);
    EXPECT_EQ((std::vector<int32_t>{s.ops[0].x1, s.ops[0].y1, s.ops[0].x2, s.ops[0].y2}),
              (std::vector<int32_t>{10, 20, 13, 21}));
    EXPECT_EQ((std::vector<int32_t>{s.ops[1].x1, s.ops[1].y1, s.ops[1].x2, s.ops[1].y2}),
              (std::vector<int32_t>{10, 20, 13, 26}));
}

TEST(Primitives, FontSlotsKeepOneFontAliveAndReadMetrics) {
    RecordingSurface s;
    s.metricsFor = [](int32_t h) { return TextMetrics{-h / 2, -h, -h + 2, 2}; };
    FontSlotTable table;
    selectFontSlot(s, table, 1, kChartFontFace, -13);
    selectFontSlot(s, table, 1, kChartFontFace, -15);
    EXPECT_EQ(s.liveFonts(), 2);  // the stock font and the slot's font
    EXPECT_EQ(table.slots[1].charWidth, 7);
    EXPECT_EQ(table.slots[1].lineHeight, 17);
    EXPECT_EQ(table.lastTextHeight, 15);
    releaseFontSlots(s, table);
    EXPECT_EQ(s.liveFonts(), 1);
    EXPECT_EQ(table.slots[1].inUse, 0);
}

}  // namespace
}  // namespace zepa
