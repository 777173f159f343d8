// Reads of a file kept open for many reads (the price files while a screen reads every stock):
// from a view of the whole file where the platform maps it, through the handle otherwise, with
// the same bytes, counts and zero fill either way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marketdata/binary_file.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

struct ReadCase {
    int64_t offset;
    size_t size;
};

// The bytes read and the count returned, for each case in turn on one open file.
std::vector<std::pair<std::string, size_t>> readAll(BinaryFile& file,
                                                    const std::vector<ReadCase>& cases) {
    std::vector<std::pair<std::string, size_t>> out;
    for (const ReadCase& c : cases) {
        std::string bytes(c.size, '\x7f');
        EXPECT_TRUE(file.seek(c.offset));
        const size_t got = file.readZeroFilled(bytes.data(), bytes.size());
        out.emplace_back(bytes, got);
    }
    return out;
}

TEST(BinaryFileView, MappedReadsMatchHandleReadsUpToAndPastTheEnd) {
    const TempInstallation dir;
    const std::string path = dir.dataFile("DBW.1");
    std::string content;
    for (int i = 0; i < 1000; ++i) {
        content.push_back(static_cast<char>(i * 7));
    }
    TempInstallation::writeText(path, content);
    const std::vector<ReadCase> cases = {
        {0, 4},    {4, 12},    {990, 10}, {995, 10},              // the end inside the read
        {1000, 3}, {5000, 20}, {0, 1000}, {int64_t{1} << 36, 8},  // past the end
        {999, 1},  {0, 0},
    };
    BinaryFile plain;
    ASSERT_TRUE(plain.open(path));
    BinaryFile mapped;
    ASSERT_TRUE(mapped.open(path));
#ifdef _WIN32
    ASSERT_TRUE(mapped.mapWhole());
#else
    EXPECT_FALSE(mapped.mapWhole());
#endif
    const auto expected = readAll(plain, cases);
    EXPECT_EQ(readAll(mapped, cases), expected);
    EXPECT_EQ(expected[2].second, 10u);
    EXPECT_EQ(expected[3], std::make_pair(content.substr(995) + std::string(5, '\0'), size_t{5}));
    EXPECT_EQ(expected[5], std::make_pair(std::string(20, '\0'), size_t{0}));

    // A read goes on where the one before ended.
    ASSERT_TRUE(mapped.seek(998));
    char two[2], more[2];
    mapped.readZeroFilled(two, 2);
    EXPECT_EQ(mapped.readZeroFilled(more, 2), 0u);
    EXPECT_EQ(std::string(two, 2), content.substr(998));

    // An empty file is not mapped and reads as zeros.
    TempInstallation::writeText(dir.dataFile("DBW.2"), "");
    BinaryFile empty;
    ASSERT_TRUE(empty.open(dir.dataFile("DBW.2")));
    EXPECT_FALSE(empty.mapWhole());
    EXPECT_EQ(readAll(empty, {{0, 3}})[0], std::make_pair(std::string(3, '\0'), size_t{0}));
}

}  // namespace
}  // namespace zepa::test
