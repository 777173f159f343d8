#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace zepa {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(CodePage, RoundTripsJapaneseAndAscii) {
    const std::string utf8 = "東証 T7203 さや　ＤＢ";
    const std::string cp932 = cp932FromUtf8(utf8);
    EXPECT_EQ(cp932.substr(0, 4), "\x93\x8c\x8f\xd8");  // 東証
    EXPECT_EQ(utf8FromCp932(cp932), utf8);
    EXPECT_EQ(utf16FromCp932(cp932), u"東証 T7203 さや　ＤＢ");
    // The full-width space the position file pads names with.
    EXPECT_EQ(cp932FromUtf8("　"), "\x81\x40");
}

TEST(CodePage, DamagedBytesNeverCrashAndShowOneReplacement) {
    // A name cut after the lead byte of a double-byte character.
    EXPECT_EQ(utf8FromCp932("AB\x93"), "AB" + kReplacement);
    EXPECT_EQ(utf16FromCp932("AB\x93"), u"AB\uFFFD");
    // A lead byte followed by a byte that cannot trail it.
    EXPECT_EQ(utf8FromCp932(std::string("\x81\x0a") + "C"), kReplacement + "\x0a" + "C");
    // NUL bytes pass through.
    EXPECT_EQ(utf8FromCp932(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(utf8FromCp932(""), "");
}

TEST(CodePage, UnmappableOrInvalidUtf8) {
    EXPECT_EQ(cp932FromUtf8("a😀b"), "a?b");                      // no CP932 form
    EXPECT_EQ(cp932FromUtf8(std::string("a\xC3") + "b"), "ab");  // a cut sequence is dropped
    EXPECT_EQ(cp932FromUtf8("x\xE6\x9D"), "x");                  // cut at the end
}

TEST(CodePage, EveryByteSequenceIsSafe) {
    std::string all;
    for (int i = 0; i < 256; ++i) {
        for (int j = 0; j < 256; j += 7) {
            all += static_cast<char>(i);
            all += static_cast<char>(j);
        }
    }
    EXPECT_FALSE(utf8FromCp932(all).empty());
    EXPECT_FALSE(utf16FromCp932(all).empty());
    EXPECT_FALSE(cp932FromUtf8(all).empty());
}

}  // namespace
}  // namespace zepa
