#include <gtest/gtest.h>

#include "marketdata/quantity_code.h"

TEST(Smoke, Decodes) {
    EXPECT_EQ(zepa::decodeQuantity(9999), 9999);
}
