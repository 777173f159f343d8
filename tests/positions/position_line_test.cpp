#include <gtest/gtest.h>

#include "base/codepage.h"
#include "positions/position_line.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

PositionLeg named(char letter, int32_t code, std::string_view utf8Name, int32_t date,
                  int32_t quantity) {
    PositionLeg l = leg(letter, code, date);
    l.shortName = cp932FromUtf8(utf8Name);
    l.quantity = quantity;
    return l;
}

TEST(PositionLine, ShortNamesAreCutAtCharacterEdgesWithoutSpaces) {
    const struct {
        std::string_view in;  // CP932 bytes
        std::string_view out;
    } cases[] = {
        {"ABCDEFGH", "ABCDEF"},
        {"A B C", "ABC"},
        {"\x83\x67\x83\x88\x83\x5E\x8E\xA9", "\x83\x67\x83\x88\x83\x5E"},  // 3 of 4 kanji
        {"A\x83\x67\x83\x88\x83\x5E", "A\x83\x67\x83\x88"},            // the third would split at 6
        {"\xB1\xB2\xB3\xB4\xB5\xB6\xB7", "\xB1\xB2\xB3\xB4\xB5\xB6"},  // half-width kana
        {"AB\x83", "AB"},                                              // a lone lead byte
        {"A\x83\nB", "A"},                                             // no trail byte
        {std::string_view("A\tB\0C\r", 6), "ABC"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(writableShortName(c.in), c.out) << c.in;
    }
}

TEST(PositionLine, WrittenLinesReadBackAsTheSamePosition) {
    const PositionRecord cases[] = {
        {named('T', 7203, "トヨタ自動車", 250401, 100), named('T', 7267, "本田", 250401, 300)},
        {named('O', 1, "", 700101, 999999999), named('N', 99999, "ABCDEFGHIJ", 691231, 1)},
        {named('K', 12345, "ｱｲｳｴｵｶｷｸ", 0, 0), named('G', 0, "A全角", 101, 42)},
        {named('I', 1, "指数", 991231, 5), named('t', 8306, "三菱", 200229, 1000)},
        {named('o', 2, "x", 10101, 7), named('Z', 3, "　", 500101, 9)},
    };
    for (const PositionRecord& p : cases) {
        ASSERT_TRUE(legFitsLine(p.buy) && legFitsLine(p.sell));
        const std::string line = formatPositionLine(p);
        PositionRecord read;
        ASSERT_EQ(parsePositionLine(line, read), PositionLineKind::Position) << line;
        EXPECT_TRUE(samePosition(read, recordAsRead(p))) << line;
        EXPECT_NE(line.back(), ' ');
    }
}

TEST(PositionLine, LegsThatNoLineCanHoldAreRefused) {
    const PositionLeg fits = named('T', 1, "A", 250401, 100);
    EXPECT_TRUE(legFitsLine(fits));
    const auto with = [&](auto change) {
        PositionLeg l = fits;
        change(l);
        return legFitsLine(l);
    };
    EXPECT_FALSE(with([](PositionLeg& l) { l.marketLetter[0] = '#'; }));
    EXPECT_FALSE(with([](PositionLeg& l) { l.marketLetter[0] = ' '; }));
    EXPECT_FALSE(with([](PositionLeg& l) { l.marketLetter[0] = '\x83'; }));
    EXPECT_FALSE(with([](PositionLeg& l) { l.stockCode = 100000; }));
    EXPECT_FALSE(with([](PositionLeg& l) { l.quantity = 1000000000; }));
    EXPECT_FALSE(with([](PositionLeg& l) { l.quantity = -1; }));
    EXPECT_FALSE(with([](PositionLeg& l) { l.entryDate = 100; }));
    EXPECT_FALSE(with([](PositionLeg& l) { l.entryDate = 1000101; }));
}

}  // namespace
}  // namespace zepa::test
