#include <gtest/gtest.h>

#include <array>
#include <string>

#include "settings/chart_values.h"
#include "settings/memory_value_store.h"

namespace zepa {
namespace {

TEST(SplitSettingFields, DropsQuotesEndsAtLineBreaksAndStaysInBounds) {
    SettingFields f = splitSettingFields("\"12\", 7 ,,-3x\r\n9,9");
    EXPECT_EQ(f[0], "12");
    EXPECT_EQ(settingFieldValue(f, 1), 7);
    EXPECT_EQ(f[2], "");
    EXPECT_EQ(settingFieldValue(f, 3), -3);
    EXPECT_EQ(f[4], "");  // the CR ended the text

    f = splitSettingFields(std::string(40, '7') + ",5");
    EXPECT_EQ(f[0], std::string(19, '7'));
    EXPECT_EQ(f[1], "5");
}

TEST(ChartValues, QueryCutsLongValuesAndStoreFailsSilently) {
    MemoryValueStore store;
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "SayaMode"), "");
    store.set(kChartSubkey, "A", std::string(5000, 'a'));
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "A").size(), 199u);
    store.set(kChartSubkey, "C", std::string("1,2\0junk", 8));
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "C"), "1,2");
    // A three-byte character across the limit is dropped whole.
    store.set(kMenuSubkey, "D", std::string(198, 'd') + "\xE3\x81\x82");
    EXPECT_EQ(queryChartValue(store, kMenuSubkey, "D"), std::string(198, 'd'));

    store.readOnly = true;
    storeChartValue(store, kChartSubkey, "A", "3, 4");
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "A").size(), 199u);
}

TEST(ScanIntegerFields, StopsAtTheFirstFieldThatDoesNotMatch) {
    std::array<int32_t, 5> n{};
    EXPECT_EQ(scanIntegerFields(" 1,\t-2, +3,4,5,6", n), 5);
    EXPECT_EQ(n, (std::array<int32_t, 5>{1, -2, 3, 4, 5}));

    n = {9, 9, 9, 9, 9};
    EXPECT_EQ(scanIntegerFields("1,1,x,1", n), 2);
    EXPECT_EQ(n, (std::array<int32_t, 5>{1, 1, 9, 9, 9}));

    EXPECT_EQ(scanIntegerFields("7 ,8", n), 1);  // the comma must follow the number at once
    EXPECT_EQ(scanIntegerFields("", n), 0);
    EXPECT_EQ(scanIntegerFields("-,1", n), 0);
    EXPECT_EQ(scanIntegerFields("99999999999,-99999999999", n), 2);
    EXPECT_EQ(n[0], INT32_MAX);
    EXPECT_EQ(n[1], INT32_MIN);
}

}  // namespace
}  // namespace zepa
