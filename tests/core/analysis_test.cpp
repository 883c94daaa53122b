#include <gtest/gtest.h>

#include "window_fixture.h"

namespace pelmora::testing {
namespace {

const Text tooLong = u"不处理超过32bit的数据";
const Text invalid = u"请正确输入16进制数";

struct ValidEntry {
    const char* typed;
    std::int32_t high, low;
    std::uint32_t value;
};
inline void PrintTo(const ValidEntry& c, std::ostream* os) { *os << c.typed; }

class ValidEntries : public Window, public ::testing::WithParamInterface<ValidEntry> {};

TEST_P(ValidEntries, PaintEveryCellFromTheHalves) {
    const ValidEntry& e = GetParam();
    type(e.typed);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(w.dataDef().HighWord, e.high);
    EXPECT_EQ(w.dataDef().LowWord, e.low);
    for (int i = 0; i <= 31; ++i) {
        SCOPED_TRACE(i);
        const bool one = (e.value >> i) & 1;
        EXPECT_EQ(w.dataDef().BitArray(i), one ? 1 : 0);
        EXPECT_EQ(w.LblBitInfo(i).caption(), one ? u"1" : u"0");
        EXPECT_EQ(w.LblBitInfo(i).backColour(), one ? colours::Red : colours::LightBlue);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ValidEntries,
    ::testing::Values(ValidEntry{"1F", 0, 31, 0x1F}, ValidEntry{"fff", 0, 4095, 0xFFF},
                      ValidEntry{"FFFF", 0, 65535, 0xFFFF}, ValidEntry{"12345", 1, 0x2345, 0x12345},
                      ValidEntry{"FFFFFFFF", 65535, 65535, 0xFFFFFFFF},
                      ValidEntry{"0000FFFF", 0, 65535, 0xFFFF},
                      ValidEntry{"80000000", 0x8000, 0, 0x80000000}, ValidEntry{"0", 0, 0, 0},
                      ValidEntry{"aBcD1234", 0xABCD, 0x1234, 0xABCD1234}),
    [](const auto& info) { return std::string("Entry_") + info.param.typed; });

struct BadEntry {
    const char* name;
    const char* before; // a value that parsed first
    const char* typed;  // then typed character by character
    std::vector<Text> entriesAtMessages;
    Text finalEntry;
    std::uint32_t finalValue;
};
inline void PrintTo(const BadEntry& c, std::ostream* os) { *os << c.name; }

class BadEntries : public Window, public ::testing::WithParamInterface<BadEntry> {};

TEST_P(BadEntries, TakeTheLastCharacterBackOncePerMessage) {
    const BadEntry& e = GetParam();
    type(e.before);
    platform.messages.clear();
    const Text start = fromUtf8(e.before);
    w.txtDataIn.setText(start + fromUtf8(e.typed)); // pasted at once
    ASSERT_EQ(platform.messages.size(), e.entriesAtMessages.size());
    for (std::size_t k = 0; k < platform.messages.size(); ++k) {
        EXPECT_EQ(platform.messages[k].prompt, invalid);
        EXPECT_EQ(platform.messages[k].title, u"出错");
        EXPECT_EQ(platform.messages[k].flags, 16);
        EXPECT_EQ(platform.messages[k].entryText, e.entriesAtMessages[k]) << k;
    }
    EXPECT_EQ(w.txtDataIn.text(), e.finalEntry);
    EXPECT_EQ(static_cast<std::uint32_t>(w.dataDef().HighWord) * 65536u +
                  static_cast<std::uint32_t>(w.dataDef().LowWord),
              e.finalValue);
    for (int i = 0; i <= 31; ++i)
        EXPECT_EQ(w.LblBitInfo(i).caption(), ((e.finalValue >> i) & 1) ? u"1" : u"0");
    EXPECT_LE(w.form().maxEventDepth(), 9);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, BadEntries,
    ::testing::Values(
        BadEntry{"GAfterOne", "1", "G", {u"1G"}, u"1", 1},
        BadEntry{"InvalidInTheMiddle", "", "1G23", {u"1G23", u"1G2", u"1G"}, u"1", 1},
        BadEntry{"InvalidInTheLowHalf",
                 "",
                 "1234G678",
                 {u"1234G678", u"1234G67", u"1234G6", u"1234G"},
                 u"1234",
                 0x1234},
        BadEntry{"OneInvalidCharacterAlone", "", "Z", {u"Z"}, u"", 0},
        BadEntry{"AloneKeepsTheEarlierValue", "AB", "", {}, u"AB", 0xAB},
        BadEntry{"Sign", "", "-1", {u"-1", u"-"}, u"", 0},
        BadEntry{"TypedPrefix", "", "&H1", {u"&H1", u"&H", u"&"}, u"", 0},
        BadEntry{"BlankBetweenDigits", "", "1 2", {u"1 2", u"1 "}, u"1", 1},
        BadEntry{"FullWidthDigit", "7", "１", {u"7１"}, u"7", 7},
        BadEntry{"AstralCharacter", "5", "\U0001F600", {u"5\U0001F600"}, u"5", 5},
        // Eight characters in nine units: at the limit, so not "too long".
        BadEntry{
            "AstralEighth", "1234567", "\U0001F600", {u"1234567\U0001F600"}, u"1234567", 0x1234567},
        BadEntry{"InvalidLowHalf",
                 "ABCD",
                 "X234",
                 {u"ABCDX234", u"ABCDX23", u"ABCDX2", u"ABCDX"},
                 u"ABCD",
                 0xABCD}),
    [](const auto& info) { return info.param.name; });

TEST_F(Window, HalvesAreStoredTogetherOrNotAtAll) {
    type("1");
    w.txtDataIn.setText(u"FFFFG"); // the high part converts, the low part does not
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_EQ(platform.messages[0].highWord, 0);
    EXPECT_EQ(platform.messages[0].lowWord, 1);
    EXPECT_EQ(w.txtDataIn.text(), u"FFFF");
}

TEST_F(Window, NineCharactersOrMoreAreRefusedAsTyped) {
    type("1F");
    platform.messages.clear();
    const Text entries[] = {u"123456789", u"GGGGGGGGG", u"FFFFFFFFFF", u"12345678\U0001F600"};
    for (const Text& entry : entries) {
        SCOPED_TRACE(utf8(entry));
        w.txtDataIn.setText(entry);
        ASSERT_FALSE(platform.messages.empty());
        EXPECT_EQ(platform.messages.back().prompt, tooLong);
        EXPECT_EQ(platform.messages.back().flags, 16);
        EXPECT_EQ(w.txtDataIn.text(), entry);
        EXPECT_EQ(w.dataDef().LowWord, 31);
        EXPECT_EQ(cells(), Text(27, u'0') + u"11111");
    }
    EXPECT_EQ(platform.messages.size(), 4u); // one per change, nothing else
}

TEST_F(Window, InvalidCharacterAfterALongEntryIsStillOnlyTooLong) {
    type("12345678");
    type("G");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, tooLong);
    EXPECT_EQ(w.txtDataIn.text(), u"12345678G");
}

TEST_F(Window, AMegabytePasteBringsOneMessageAndKeepsItsText) {
    type("A");
    const Text huge(1 << 20, u'F');
    w.txtDataIn.setText(huge);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, tooLong);
    EXPECT_EQ(w.txtDataIn.text().size(), huge.size());
    EXPECT_EQ(w.dataDef().LowWord, 10);
}

TEST_F(Window, EmptyingTheEntryChangesNothing) {
    type("F0");
    w.txtDataIn.setText(u"F");
    w.txtDataIn.setText(u"");
    EXPECT_EQ(w.dataDef().LowWord, 15);
    EXPECT_EQ(cells(), Text(28, u'0') + u"1111");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(Window, LoneSurrogateIsOneCharacterAndLeavesNoBrokenText) {
    w.txtDataIn.setText(Text(u"3") + char16_t(0xD800));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(w.txtDataIn.text(), u"3");
    EXPECT_EQ(w.dataDef().LowWord, 3);
}

TEST_F(Window, TypingLeavesTheFieldReadoutsAndBoxesAlone) {
    type("1F");
    tickSelection(0, 3);
    EXPECT_EQ(w.LblBitSelected.caption(), u"1111B");
    w.txtDataIn.setText(u"");
    type("0");
    EXPECT_EQ(w.LblBitSelected.caption(), u"1111B");
    EXPECT_EQ(w.lblBitSelectedHex.caption(), u"0FH");
    EXPECT_EQ(w.BitCheck(0).value(), 1);
}

} // namespace
} // namespace pelmora::testing
