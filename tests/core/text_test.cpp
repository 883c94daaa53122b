// Text by character, a surrogate pair being one, and UTF-8 both ways.
#include <gtest/gtest.h>

#include "toolkit/text.h"

namespace pelmora {
namespace {

const Text astral = u"1\U0001F600"; // a character outside the basic plane
const Text loneHigh = u"1\xD83D";

// At the limit a text is not longer than its count; one below, it is.
TEST(Text, CountsCharactersNotUnits) {
    const std::pair<Text, std::size_t> cases[] = {
        {u"", 0},
        {u"1F", 2},
        {u"比特", 2},
        {astral, 2},
        {loneHigh, 2},
        {Text{0xDC00, u'A'}, 2},
        {u"\U00010000", 1}, // the first and last pairs: D800 DC00, DBFF DFFF
        {u"\U0010FFFF", 1},
        {u"\xD7FF\xDC00", 2}, // just below the high range
        {u"\xDBFF\xE000", 2}, // just above the low range
        {u"\xDC00\xD800", 2}, // low before high is no pair
    };
    for (const auto& [text, characters] : cases) {
        SCOPED_TRACE(toUtf8(text));
        EXPECT_EQ(characterCount(text), characters);
        EXPECT_FALSE(hasMoreCharactersThan(text, characters));
        if (characters > 0) {
            EXPECT_TRUE(hasMoreCharactersThan(text, characters - 1));
        }
    }
}

TEST(Text, SlicesByCharacterAndNeverSplitsAPair) {
    EXPECT_EQ(withoutLastCharacter(astral), u"1");
    EXPECT_EQ(withoutLastCharacter(loneHigh), u"1");
    EXPECT_EQ(withoutLastCharacter(u"A"), u"");
    EXPECT_EQ(withoutLastCharacter(u""), u"");
    // A view that starts on the low half of a pair never looks back at the high half.
    EXPECT_EQ(withoutLastCharacter(TextView(astral).substr(2)), u"");
    const Text mixed = u"\U0001F600"
                       u"2345";
    EXPECT_EQ(leftCharacters(mixed, 1), u"\U0001F600");
    EXPECT_EQ(charactersFrom(mixed, 2), u"2345");
    EXPECT_EQ(charactersFrom(u"3,", 3), u"");
    EXPECT_EQ(findCharacter(u"\U0001F600,3", u','), 2u);
    EXPECT_EQ(findCharacter(u"12", u','), 0u);
}

// The edges of each encoding length and of both surrogate ranges, both ways; a surrogate is
// no character: a lone one in UTF-16, or one encoded in UTF-8, becomes U+FFFD, as does
// every byte of a sequence that is not UTF-8.
TEST(Text, Utf8AtTheEdgesOfEveryRangeAndRepairsWhatIsNoCharacter) {
    const std::pair<std::string, Text> same[] = {
        {"\x7F", u"\x7F"},           {"\xC2\x80", u"\u0080"},
        {"\xDF\xBF", u"\u07FF"},     {"\xE0\xA0\x80", u"\u0800"},
        {"\xED\x9F\xBF", u"\uD7FF"}, {"\xEE\x80\x80", u"\uE000"},
        {"\xEF\xBF\xBF", u"\uFFFF"}, {"\xF0\x90\x80\x80", u"\U00010000"},
        {"出错", u"出错"},           {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    };
    for (const auto& [utf8, utf16] : same) {
        EXPECT_EQ(toUtf8(utf16), utf8);
        EXPECT_EQ(fromUtf8(utf8), utf16) << ::testing::PrintToString(utf8);
    }
    for (char16_t unit : {0xD800, 0xDBFF, 0xDC00, 0xDFFF})
        EXPECT_EQ(toUtf8(Text(1, unit)), "\xEF\xBF\xBD") << int(unit);
    const std::pair<std::string, Text> repaired[] = {
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // U+D800
        {"\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD"},           // U+DFFF
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // U+110000
        {"a\xFF", u"a\uFFFD"},
        {"\xC3!", u"\uFFFD!"},         // a lead byte without its continuation
        {"\xE5\x87", u"\uFFFD\uFFFD"}, // cut short
    };
    for (const auto& [utf8, utf16] : repaired)
        EXPECT_EQ(fromUtf8(utf8), utf16) << ::testing::PrintToString(utf8);
}

} // namespace
} // namespace pelmora
