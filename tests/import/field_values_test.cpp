// The strict value readers at their edges.
#include <gtest/gtest.h>

#include "base/codepage.h"
#include "tools/import/field_values.h"

namespace zepa {
namespace {

TEST(FieldValues, Dates) {
    const std::pair<const char*, int32_t> cases[] = {
        {"2024/01/04", 20240104},
        {"2024-01-04 00:00:00", 20240104},
        {"2024-01-04T09:00", 20240104},
        {"2024-02-29", 20240229},
        {"2023-02-29", 0},
        {"2100-02-29", 0},
        {"1969-12-31", 0},
        {"2226-01-01", 0},
        {"2024-1-4x", 0},
        {"2024/01-04", 0},
        {"24/1/4", 0},
        {"2024-001-04", 0},
        {"", 0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(parseDate(text), value) << text;
    }
}

TEST(FieldValues, WholeNumbers) {
    struct Case {
        const char* text;
        NumberResult result;
        int64_t value;
        bool rounded;
    };
    const Case cases[] = {
        {"3,204", NumberResult::Ok, 3204, false},
        {"2.5", NumberResult::Ok, 3, true},
        {"2.4999", NumberResult::Ok, 2, true},
        {"100.00", NumberResult::Ok, 100, false},
        {"+7", NumberResult::Ok, 7, false},
        {"1.5e3", NumberResult::Ok, 1500, false},
        {"2147483647", NumberResult::Ok, 2147483647, false},
        {"2147483647.5", NumberResult::TooLarge, 0, true},
        {"1,,000", NumberResult::NotANumber, 0, false},
        {"1,", NumberResult::NotANumber, 0, false},
        {".", NumberResult::NotANumber, 0, false},
        {"12円", NumberResult::NotANumber, 0, false},
        {"1e400", NumberResult::NotANumber, 0, false},
    };
    for (const Case& c : cases) {
        int64_t value = 0;
        bool rounded = false;
        EXPECT_EQ(parseWholeNumber(c.text, 2147483647, value, rounded), c.result) << c.text;
        if (c.result == NumberResult::Ok) {
            EXPECT_EQ(value, c.value) << c.text;
            EXPECT_EQ(rounded, c.rounded) << c.text;
        }
    }
}

TEST(FieldValues, CodesFileNamesFactorsAndNameCuts) {
    // 7203, 72030, 72031 and 130A go through whole imports.
    const std::pair<const char*, int32_t> codes[] = {
        {"1301", 1301}, {"0000", 0}, {"720", 0}, {"720300", 0}};
    for (const auto& [text, code] : codes) {
        int32_t got = -1;
        EXPECT_EQ(parseStockCode(text, got), code ? CodeResult::Ok : CodeResult::Other) << text;
        EXPECT_EQ(got, code) << text;
    }
    const std::pair<const char*, const char*> names[] = {
        {"7203.jp.csv", "7203"}, {"7203_daily.csv", "7203"}, {"7203daily.csv", "7203"}};
    for (const auto& [name, code] : names) {
        EXPECT_EQ(codeTextOfFileName(name), code) << name;
    }
    EXPECT_EQ(adjustmentOfFactor(1.0), 0);
    EXPECT_EQ(adjustmentOfFactor(0.5), 50);
    EXPECT_EQ(adjustmentOfFactor(1.0 / 3), 33);
    EXPECT_EQ(adjustmentOfFactor(0.001), -1);
    EXPECT_EQ(adjustmentOfFactor(700), -1);
    // A cut never leaves a lead byte without its second byte.
    const std::string wide = cp932FromUtf8("aトヨタ自動車");
    EXPECT_EQ(cutCp932(wide, 12), cp932FromUtf8("aトヨタ自動"));
    EXPECT_EQ(cutCp932(wide, 13), wide);
    EXPECT_EQ(cutCp932("\x81", 12), "");
}

}  // namespace
}  // namespace zepa
