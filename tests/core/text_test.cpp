// Text by character, a surrogate pair being one, and UTF-8 both ways; numbers read and
// written as the window's procedures expect, and 16-bit arithmetic.
#include <gtest/gtest.h>

#include "toolkit/convert.h"
#include "toolkit/errors.h"
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

// What a conversion gives, or the code of the error it raises.
template <class Convert> std::string outcome(Convert convert) {
    try {
        return std::to_string(convert());
    } catch (const RuntimeError& e) {
        return e.code() == ErrorCode::Overflow ? "overflow" : "mismatch";
    }
}

TEST(Convert, HexPartsAreStrict) {
    const std::pair<Text, const char*> parsed[] = {
        {u"0", "0"},
        {u"1F", "31"},
        {u"fff", "4095"},
        {u"FFFF", "65535"},
        {u"0000", "0"},
        {u"ffffFFFF", "-1"},
        {u"80000000", "-2147483648"},
    };
    for (const auto& [part, value] : parsed)
        EXPECT_EQ(outcome([&] { return hexPrefixedToLong(u"&H" + part); }), value);
    for (const Text part : {u"", u"G", u"-1", u"+1", u"1 2", u" 1", u"1 ", u"&H1", u"１", u"1.0",
                            u"123456789", u"\U0001F600"})
        EXPECT_EQ(outcome([&] { return hexPrefixedToLong(u"&H" + part); }), "mismatch")
            << toUtf8(part);
    EXPECT_EQ(outcome([] { return hexPrefixedToLong(u"1F"); }), "mismatch"); // needs "&H"
}

TEST(Convert, DecimalIntegers) {
    const std::pair<Text, const char*> parsed[] = {
        {u"3", "3"},  {u" 10 ", "10"}, {u"\t7", "7"},       {u"-1", "-1"},
        {u"+5", "5"}, {u"007", "7"},   {u"32767", "32767"}, {u"-32768", "-32768"},
    };
    for (const auto& [text, value] : parsed)
        EXPECT_EQ(outcome([&] { return textToInteger(text); }), value) << toUtf8(text);
    for (const Text text : {u"32768", u"-32769", u"99999999999999999999"})
        EXPECT_EQ(outcome([&] { return textToInteger(text); }), "overflow") << toUtf8(text);
    for (const Text text :
         {u"", u" ", u"-", u"a", u"1.5", u"1e2", u"&H10", u"1,000", u"2,3", u"--1", u"1 2", u"３"})
        EXPECT_EQ(outcome([&] { return textToInteger(text); }), "mismatch") << toUtf8(text);
}

TEST(Convert, NumberTextsAndSixteenBitArithmetic) {
    const std::pair<Text, Text> texts[] = {
        {decimalText(0), u"0"}, {decimalText(31), u"31"}, {decimalText(-7), u"-7"},
        {hexText(0), u"0"},     {hexText(0x1F), u"1F"},   {hexText(0xFFFFFFFFu), u"FFFFFFFF"}};
    for (const auto& [written, expected] : texts) EXPECT_EQ(written, expected);
    EXPECT_EQ(outcome([] { return checkedMul(300, 31); }), "9300");
    EXPECT_EQ(outcome([] { return checkedAdd(32766, 1); }), "32767");
    EXPECT_EQ(outcome([] { return checkedAdd(32767, 1); }), "overflow");
    EXPECT_EQ(outcome([] { return checkedMul(256, 128); }), "overflow");
    EXPECT_EQ(outcome([] { return checkedAdd(-32768, -1); }), "overflow");
}

} // namespace
} // namespace pelmora
