#include <gtest/gtest.h>

#include "base/table_text.h"

namespace zepa {
namespace {

TEST(CsvQuoted, QuotesOnlyWhatASpreadsheetWouldSplit) {
    EXPECT_EQ(csvQuoted("-12345"), "-12345");
    EXPECT_EQ(csvQuoted("-12,345"), "\"-12,345\"");
    EXPECT_EQ(csvQuoted("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvQuoted("a\r\nb"), "\"a\r\nb\"");
    EXPECT_EQ(csvQuoted(""), "");
}

}  // namespace
}  // namespace zepa
