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

// At the limit a text is not longer than its count; one below, it is.
TEST(Text, CountsCharactersNotUnits) {
    const CountCase cases[] = {
        {u"", 0},
        {u"1F", 2},
        {u"比特", 2},
        {astral, 2},
        {loneHigh, 2},
        {Text(1, char16_t(0xDC00)) + u"A", 2},
        {u"\U00010000", 1}, // the first and last pairs: D800 DC00, DBFF DFFF
        {u"\U0010FFFF", 1},
        {Text{char16_t(0xD7FF), char16_t(0xDC00)}, 2}, // just below the high range
        {Text{char16_t(0xDBFF), char16_t(0xE000)}, 2}, // just above the low range
        {Text{char16_t(0xDC00), char16_t(0xD800)}, 2}, // low before high is no pair
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.text));
        EXPECT_EQ(characterCount(c.text), c.characters);
        EXPECT_FALSE(hasMoreCharactersThan(c.text, c.characters));
        if (c.characters > 0) {
            EXPECT_TRUE(hasMoreCharactersThan(c.text, c.characters - 1));
        }
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

enum Way { Both, ToUtf8, FromUtf8 };
struct Utf8Case {
    std::string utf8;
    Text utf16;
    Way way = Both;
};

// The edges of each encoding length and of both surrogate ranges. Surrogates are not
// characters: a lone one in UTF-16, or one encoded in UTF-8, becomes U+FFFD.
TEST(Text, Utf8AtTheEdgesOfEveryRange) {
    const Text lone[] = {
        {char16_t(0xD800)}, {char16_t(0xDBFF)}, {char16_t(0xDC00)}, {char16_t(0xDFFF)}};
    const Utf8Case cases[] = {
        {"\x7F", u"\x7F"},
        {"\xC2\x80", u"\u0080"},
        {"\xDF\xBF", u"\u07FF"},
        {"\xE0\xA0\x80", u"\u0800"},
        {"\xED\x9F\xBF", u"\uD7FF"},
        {"\xEE\x80\x80", u"\uE000"},
        {"\xEF\xBF\xBF", u"\uFFFF"},
        {"\xF0\x90\x80\x80", u"\U00010000"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"出错", u"出错"},
        {"\xEF\xBF\xBD", lone[0], ToUtf8},
        {"\xEF\xBF\xBD", lone[1], ToUtf8},
        {"\xEF\xBF\xBD", lone[2], ToUtf8},
        {"\xEF\xBF\xBD", lone[3], ToUtf8},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", FromUtf8},           // U+D800 in UTF-8
        {"\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD", FromUtf8},           // U+DFFF
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", FromUtf8}, // U+110000
        {"a\xFF", u"a\uFFFD", FromUtf8},
        {"\xE5\x87", u"\uFFFD\uFFFD", FromUtf8}, // truncated sequence
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.utf8));
        if (c.way != FromUtf8) {
            EXPECT_EQ(toUtf8(c.utf16), c.utf8);
        }
        if (c.way != ToUtf8) {
            EXPECT_EQ(fromUtf8(c.utf8), c.utf16);
        }
    }
}

} // namespace
} // namespace pelmora
