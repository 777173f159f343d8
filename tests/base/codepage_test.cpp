// The code-page conversions, which have a platform half each (iconv, Windows' code page 932):
// both must give the same characters and the same stand-ins for damaged bytes.
#include <gtest/gtest.h>

#include <string>

#include "base/codepage.h"

namespace zepa {
namespace {

TEST(CodePage, RoundTripsAndDamagedBytesGiveOneReplacement) {
    const std::string utf8 = "東証 T7203 さや　ＤＢ";
    EXPECT_EQ(cp932FromUtf8(utf8).substr(0, 4), "\x93\x8c\x8f\xd8");  // 東証
    EXPECT_EQ(utf8FromCp932(cp932FromUtf8(utf8)), utf8);
    EXPECT_EQ(utf16FromCp932(cp932FromUtf8(utf8)), u"東証 T7203 さや　ＤＢ");
    // A name cut after a lead byte, and a lead byte before a byte that cannot trail it.
    EXPECT_EQ(utf16FromCp932("AB\x93"), u"AB\uFFFD");
    EXPECT_EQ(utf8FromCp932("\x81\x0a"
                            "C"),
              "\xEF\xBF\xBD\x0a"
              "C");
    EXPECT_EQ(utf8FromCp932(std::string("a\0b", 3)), std::string("a\0b", 3));
    // No CP932 form; cut UTF-8 sequences are dropped.
    EXPECT_EQ(cp932FromUtf8("a😀b"), "a?b");
    EXPECT_EQ(cp932FromUtf8("a\xC3"
                            "b"),
              "ab");
    EXPECT_EQ(cp932FromUtf8("x\xE6\x9D"), "x");
}

TEST(CodePage, EveryKindOfByteReadsTheSameOnEveryPlatform) {
    const struct {
        std::string cp932;
        std::u16string utf16;
    } cases[] = {
        {"\x5c\x7e", u"\\~"},                     // ASCII, not yen and overline
        {"\xb1\xdf", u"\uFF71\uFF9F"},            // half-width kana
        {"\x81\x5f\x81\x60", u"\uFF3C\uFF5E"},    // the full-width backslash and tilde
        {"\x87\x40\xfa\x40", u"\u2460\u2170"},    // the vendor rows: circled one, small roman one
        {"\xf0\x40", u"\uE000"},                  // the user-defined area
        {"\x80\xa0\xfd", u"\uFFFD\uFFFD\uFFFD"},  // single bytes with no character
        {"\x81\x7f\x41", u"\uFFFD\u007f\u0041"},  // a lead byte before a byte that cannot trail
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf16FromCp932(c.cp932), c.utf16) << c.cp932;
    }
    const struct {
        std::string utf8;
        std::string cp932;
    } back[] = {
        {"\xEF\xBD\xB1", "\xb1"},      // half-width kana
        {"\xE2\x91\xA0", "\x87\x40"},  // circled one
        {"\xC0\x80x", "?x"},           // an overlong NUL is a character CP932 lacks
        {"\xED\xA0\x80", "?"},         // a lone surrogate likewise
        {"\x80y\xFF", "y"},            // stray bytes are dropped
    };
    for (const auto& c : back) {
        EXPECT_EQ(cp932FromUtf8(c.utf8), c.cp932) << c.utf8;
    }
}

}  // namespace
}  // namespace zepa
