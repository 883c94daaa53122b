#include <gtest/gtest.h>

#include "recording_front_end.h"
#include "window_fixture.h"

namespace pelmora::testing {
namespace {

const Text rangeError = u"输入查看位范围有错";

struct RangeCase {
    const char* name;
    const char* range;
    int firstTicked, lastTicked; // -1: none
    Text binary, hex;
    bool message;
};
inline void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }

class RangeSelect : public Window, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeSelect, TicksTheRangeAndTheReadoutsFollow) {
    const RangeCase& c = GetParam();
    type("1F");
    tickSelection(6, 7); // "Select" always starts from a cleared row
    w.txtSelectRang.setText(fromUtf8(c.range));
    w.Command2.click();
    for (int i = 0; i <= 31; ++i) {
        const bool ticked = c.firstTicked >= 0 && i >= c.firstTicked && i <= c.lastTicked;
        EXPECT_EQ(w.BitCheck(i).value(), ticked ? 1 : 0) << i;
    }
    EXPECT_EQ(w.LblBitSelected.caption(), c.binary);
    EXPECT_EQ(w.lblBitSelectedHex.caption(), c.hex);
    ASSERT_EQ(platform.messages.size(), c.message ? 1u : 0u);
    if (c.message) {
        EXPECT_EQ(platform.messages[0].prompt, rangeError);
        EXPECT_EQ(platform.messages[0].title, u"出错");
        EXPECT_EQ(platform.messages[0].flags, 16);
    }
    EXPECT_EQ(w.txtSelectRang.text(), fromUtf8(c.range)); // left as typed
}

const Text thirtyTwo = Text(27, u'0') + u"11111B";

INSTANTIATE_TEST_SUITE_P(
    WithEntry1F, RangeSelect,
    ::testing::Values(RangeCase{"ThreeToTen", "3,10", 3, 10, u"00000011B", u"03H", false},
                      RangeCase{"Reversed", "10,3", 3, 10, u"00000011B", u"03H", false},
                      RangeCase{"Single", "5", 5, 5, u"0B", u"00H", false},
                      RangeCase{"LowNibble", "0,3", 0, 3, u"1111B", u"0FH", false},
                      RangeCase{"SameBounds", "3,3", 3, 3, u"1B", u"01H", false},
                      RangeCase{"Blanks", " 0 , 3 ", 0, 3, u"1111B", u"0FH", false},
                      RangeCase{"Signed", "+0,3", 0, 3, u"1111B", u"0FH", false},
                      RangeCase{"Whole", "31,0", 0, 31, thirtyTwo, u"01FH", false},
                      RangeCase{"HighBeyond", "30,40", 30, 31, u"00B", u"00H", true},
                      RangeCase{"NegativeLow", "-1,3", -1, -1, u"0B", u"00H", true},
                      RangeCase{"ThirtyTwo", "32", -1, -1, u"0B", u"00H", true},
                      RangeCase{"Empty", "", -1, -1, u"0B", u"00H", true},
                      RangeCase{"NoHigh", "3,", -1, -1, u"0B", u"00H", true},
                      RangeCase{"NoLow", ",3", -1, -1, u"0B", u"00H", true},
                      RangeCase{"Letters", "a,b", -1, -1, u"0B", u"00H", true},
                      RangeCase{"SecondComma", "1,2,3", -1, -1, u"0B", u"00H", true},
                      RangeCase{"Fraction", "1.5", -1, -1, u"0B", u"00H", true},
                      RangeCase{"Hex", "&H3", -1, -1, u"0B", u"00H", true},
                      RangeCase{"OutOfSixteenBits", "0,40000", -1, -1, u"0B", u"00H", true},
                      RangeCase{"HugeRange", "-32768,32767", -1, -1, u"0B", u"00H", true}),
    [](const auto& info) { return info.param.name; });

struct FieldCase {
    const char* name;
    const char* entry;
    std::vector<int> ticked;
    Text binary, hex;
};
inline void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }

class FieldReadout : public Window, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldReadout, ReadsTheLowestContiguousRun) {
    const FieldCase& c = GetParam();
    type(c.entry);
    for (int i : c.ticked) w.BitCheck(i).setValue(1);
    EXPECT_EQ(w.LblBitSelected.caption(), c.binary);
    EXPECT_EQ(w.lblBitSelectedHex.caption(), c.hex);
    EXPECT_TRUE(platform.messages.empty());
}

std::vector<int> all32() {
    std::vector<int> v;
    for (int i = 0; i <= 31; ++i) v.push_back(i);
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldReadout,
    ::testing::Values(
        FieldCase{"GapEndsTheRun", "1F", {2, 3, 5}, u"11B", u"03H"},
        FieldCase{"ClickOrderDoesNotMatter", "1F", {4, 3}, u"11B", u"03H"},
        FieldCase{"FirstAndLast", "1F", {0, 31}, u"1B", u"01H"},
        FieldCase{"SingleZeroBit", "1F", {7}, u"0B", u"00H"},
        FieldCase{"All32Signed", "7FFFFFFF", all32(), u"0" + Text(31, u'1') + u"B", u"07FFFFFFFH"},
        // Beyond the signed range the readout shows the unsigned value, no error.
        FieldCase{"All32Ones", "FFFFFFFF", all32(), Text(32, u'1') + u"B", u"0FFFFFFFFH"},
        FieldCase{"TopBitOnly", "80000000", all32(), u"1" + Text(31, u'0') + u"B", u"080000000H"}),
    [](const auto& info) { return info.param.name; });

TEST_F(Window, UntickingTheLastBoxShowsTheEmptySelection) {
    type("1F");
    w.BitCheck(2).setValue(1);
    w.BitCheck(2).setValue(0);
    EXPECT_EQ(w.LblBitSelected.caption(), u"0B");
    EXPECT_EQ(w.lblBitSelectedHex.caption(), u"00H");
}

// The window seen through the view, which logs each box as it changes.
class ShownSelection : public ::testing::Test, public ShownWindow {};

TEST_F(ShownSelection, ClearSelectUnticksTickedBoxesInAscendingOrder) {
    type(w.txtDataIn, "1F");
    for (int i : {31, 10, 9, 8, 7, 6, 5, 4, 3, 0}) w.BitCheck(i).setValue(1);
    const std::size_t from = screen.log.size();
    const int depthBefore = w.form().maxEventDepth();
    w.Command3.click();
    std::vector<std::string> unticked;
    for (int i : {0, 3, 4, 5, 6, 7, 8, 9, 10, 31})
        unticked.push_back("tick BitCheck(" + std::to_string(i) + ") 0");
    EXPECT_EQ(screen.lines("tick ", from), unticked);
    EXPECT_EQ(w.LblBitSelected.caption(), u"0B");
    EXPECT_EQ(w.lblBitSelectedHex.caption(), u"00H");
    EXPECT_GE(w.form().maxEventDepth(), std::max(depthBefore, 2)); // nested in the command
}

TEST_F(Window, SelectTwiceEqualsOnce) {
    type("1F");
    w.txtSelectRang.setText(u"2,6");
    w.Command2.click();
    const Text once = w.LblBitSelected.caption() + w.lblBitSelectedHex.caption();
    w.Command2.click();
    EXPECT_EQ(w.LblBitSelected.caption() + w.lblBitSelectedHex.caption(), once);
    EXPECT_EQ(once, u"00111B07H");
}

TEST_F(Window, SelectAtStartWithAnEmptyRangeKeepsTheDesignCaptions) {
    w.Command2.click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, rangeError);
    EXPECT_EQ(w.LblBitSelected.caption(), u"0B");
    EXPECT_EQ(w.lblBitSelectedHex.caption(), u"0H");
}

TEST_F(Window, ANewEntryShowsOnlyAtTheNextBoxChange) {
    type("1F");
    tickSelection(0, 3);
    w.txtDataIn.setText(u"A");
    EXPECT_EQ(w.LblBitSelected.caption(), u"1111B");
    w.BitCheck(4).setValue(1);
    EXPECT_EQ(w.LblBitSelected.caption(), u"01010B");
    EXPECT_EQ(w.lblBitSelectedHex.caption(), u"0AH");
}

} // namespace
} // namespace pelmora::testing
