// The printed chart's size.
#include <gtest/gtest.h>

#include <limits>

#include "app/print_size.h"

namespace zepa {
namespace {

TEST(PrintedSize, StretchesByResolutionAndScaleThenTruncates) {
    // 600 dpi printer, 96 dpi screen, 50 percent: 3.125 printer pixels per screen pixel.
    PrintSize s = printedSize(800, 550, 600, 600, 96, 96, 50.0f);
    EXPECT_EQ(s.width, 2500);
    EXPECT_EQ(s.height, 1718);  // 1718.75
    // Each direction has its own resolutions; 200 percent doubles.
    s = printedSize(800, 550, 600, 300, 96, 120, 200.0f);
    EXPECT_EQ(s.width, 10000);
    EXPECT_EQ(s.height, 2750);
    // Truncated toward zero, never rounded: 1 x 1200 / 96 x 0.33 = 4.125.
    EXPECT_EQ(printedSize(1, 1, 1200, 1200, 96, 96, 33.0f).width, 4);
}

TEST(PrintedSize, AbsurdInputGivesNothingToDraw) {
    for (const PrintSize s : {
             printedSize(800, 550, 0, 600, 96, 96, 100.0f),
             printedSize(800, 550, 600, 600, 96, -96, 100.0f),
             printedSize(800, 550, 600, 600, 96, 96, -150.0f),
             printedSize(800, 550, 600, 600, 96, 96, std::numeric_limits<float>::quiet_NaN()),
             printedSize(800, 550, 600, 600, 96, 96, std::numeric_limits<float>::infinity()),
             // A stored scale of 2^31 - 1 overflows 32 bits.
             printedSize(800, 550, 1200, 1200, 96, 96, 2147483647.0f),
             printedSize(-800, 550, 600, 600, 96, 96, 100.0f),
         }) {
        EXPECT_EQ(s.width, 0);
        EXPECT_EQ(s.height, 0);
    }
}

}  // namespace
}  // namespace zepa
