#include <gtest/gtest.h>

#include "toolkit/text.h"

namespace pelmora {
namespace {

const Text astral = u"1\U0001F600"; // a character outside the basic plane
const Text loneHigh = Text(u"1") + char16_t(0xD83D);

struct CountCase {
    Text text;
    std::size_t characters;
};

TEST(Text, CountsCharactersNotUnits) {
    const CountCase cases[] = {
        {u"", 0},    {u"1F", 2},    {u"比特", 2},
        {astral, 2}, {loneHigh, 2}, {Text(1, char16_t(0xDC00)) + u"A", 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(characterCount(c.text), c.characters);
        EXPECT_EQ(hasMoreCharactersThan(c.text, 1), c.characters > 1);
    }
}

TEST(Text, RemovingTheLastCharacterNeverSplitsAPair) {
    EXPECT_EQ(withoutLastCharacter(astral), u"1");
    EXPECT_EQ(withoutLastCharacter(loneHigh), u"1");
    EXPECT_EQ(withoutLastCharacter(u"A"), u"");
    EXPECT_EQ(withoutLastCharacter(u""), u"");
}

TEST(Text, SlicesByCharacter) {
    const Text mixed = u"\U0001F600"
                       u"2345";
    EXPECT_EQ(leftCharacters(mixed, 1), u"\U0001F600");
    EXPECT_EQ(charactersFrom(mixed, 2), u"2345");
    EXPECT_EQ(charactersFrom(u"3,", 3), u"");
    EXPECT_EQ(findCharacter(u"\U0001F600,3", u','), 2u);
    EXPECT_EQ(findCharacter(u"12", u','), 0u);
}

TEST(Text, Utf8RoundTripAndRepair) {
    EXPECT_EQ(toUtf8(fromUtf8("出错 \xF0\x9F\x98\x80")), "出错 \xF0\x9F\x98\x80");
    EXPECT_EQ(fromUtf8("a\xFF"), u"a\uFFFD");
    EXPECT_EQ(fromUtf8("\xE5\x87"), u"\uFFFD\uFFFD"); // truncated sequence
    EXPECT_EQ(toUtf8(loneHigh), "1\xEF\xBF\xBD");
}

} // namespace
} // namespace pelmora
