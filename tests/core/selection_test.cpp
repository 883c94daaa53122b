// The selection row: "Select" reading a range, the field readouts, and both rows' clear
// buttons.
#include <gtest/gtest.h>

#include "recording_front_end.h"

namespace pelmora::testing {
namespace {

class Selection : public ::testing::Test, public ShownWindow {};

// With 1F entered and boxes 6 and 7 ticked ("Select" always starts from a cleared row);
// pressed twice, the second time changes nothing but its message. A refused range ticks
// what it can before its message, or nothing.
TEST_F(Selection, SelectTicksTheRangeAndTheReadoutsFollow) {
    struct Case {
        const char16_t* range;
        int first, last; // ticked, -1: none
        Text binary, hex;
        bool refused;
    };
    std::vector<Case> cases = {
        {u"3,10", 3, 10, u"00000011B", u"03H", false},
        {u"10,3", 3, 10, u"00000011B", u"03H", false},
        {u"5", 5, 5, u"0B", u"00H", false},
        {u"0,3", 0, 3, u"1111B", u"0FH", false},
        {u"3,3", 3, 3, u"1B", u"01H", false},
        {u" 0 , 3 ", 0, 3, u"1111B", u"0FH", false},
        {u"+0,3", 0, 3, u"1111B", u"0FH", false},
        {u"31,0", 0, 31, Text(27, u'0') + u"11111B", u"01FH", false},
        {u"30,40", 30, 31, u"00B", u"00H", true},
    };
    for (const char16_t* range : {u"-1,3", u"32", u"", u"3,", u",3", u"a,b", u"1,2,3", u"1.5",
                                  u"&H3", u"0,40000", u"-32768,32767"})
        cases.push_back({range, -1, -1, u"0B", u"00H", true});
    for (const Case& c : cases) {
        SCOPED_TRACE(toUtf8(c.range));
        ShownWindow fresh;
        Main& w = fresh.w;
        fresh.type(w.txtDataIn, u"1F");
        fresh.click(w.BitCheck(6));
        fresh.click(w.BitCheck(7));
        fresh.paste(w.txtSelectRang, c.range);
        fresh.view.turnOver();
        const std::size_t from = fresh.screen.log.size();
        for (std::size_t pressed = 1; pressed <= 2; ++pressed) {
            fresh.click(w.Command2);
            fresh.view.turnOver();
            for (int i = 0; i <= 31; ++i)
                EXPECT_EQ(w.BitCheck(i).value(), i >= c.first && i <= c.last ? 1 : 0) << i;
            EXPECT_EQ(w.LblBitSelected.caption(), c.binary);
            EXPECT_EQ(w.lblBitSelectedHex.caption(), c.hex);
            EXPECT_EQ(fresh.screen.lines("box "),
                      Log(c.refused ? pressed : 0, "box 出错 输入查看位范围有错 stop"));
            EXPECT_EQ(fresh.screen.lines("say ", from),
                      Log(c.refused ? 0 : pressed, "say " + toUtf8(c.binary + u", " + c.hex)));
            EXPECT_EQ(w.txtSelectRang.text(), c.range); // left as typed
        }
    }
}

TEST_F(Selection, SelectAtStartWithAnEmptyRangeKeepsTheDesignCaptions) {
    click(w.Command2);
    EXPECT_EQ(screen.lines("box ").size(), 1u);
    EXPECT_EQ(w.LblBitSelected.caption(), u"0B");
    EXPECT_EQ(w.lblBitSelectedHex.caption(), u"0H");
}

// Boxes clicked in turn; a box clicked twice is unticked again.
TEST_F(Selection, TheFieldIsTheLowestContiguousRunOfTickedBoxes) {
    std::vector<int> all;
    for (int i = 0; i <= 31; ++i) all.push_back(i);
    const struct {
        const char16_t* entry;
        std::vector<int> clicked;
        Text binary, hex;
    } cases[] = {{u"1F", {2, 3, 5}, u"11B", u"03H"},
                 {u"1F", {4, 3}, u"11B", u"03H"},
                 {u"1F", {0, 31}, u"1B", u"01H"},
                 {u"1F", {7}, u"0B", u"00H"},
                 {u"1F", {2, 2}, u"0B", u"00H"},
                 {u"7FFFFFFF", all, u"0" + Text(31, u'1') + u"B", u"07FFFFFFFH"},
                 // Beyond the signed range the readout shows the unsigned value, no error.
                 {u"FFFFFFFF", all, Text(32, u'1') + u"B", u"0FFFFFFFFH"},
                 {u"80000000", all, u"1" + Text(31, u'0') + u"B", u"080000000H"}};
    for (const auto& c : cases) {
        ShownWindow fresh;
        fresh.paste(fresh.w.txtDataIn, c.entry);
        for (int i : c.clicked) fresh.click(fresh.w.BitCheck(i));
        fresh.view.turnOver();
        EXPECT_EQ(fresh.w.LblBitSelected.caption(), c.binary) << toUtf8(c.entry);
        EXPECT_EQ(fresh.w.lblBitSelectedHex.caption(), c.hex) << toUtf8(c.entry);
        EXPECT_EQ(fresh.screen.lines("say "), Log{"say " + toUtf8(c.binary + u", " + c.hex)});
        EXPECT_TRUE(fresh.screen.lines("box ").empty());
    }
}

// Each box's handler has finished, its readouts shown, before the next box is unticked; the
// action is said once, when it is over.
TEST_F(Selection, ClearUnticksEachRowsTickedBoxesInAscendingOrder) {
    const struct {
        ControlArray<CheckBox>* boxes;
        const CommandButton* clear;
        const char* readout;
        Log shown; // each unticked box and the last readout shown before the next
        const char* said;
    } cases[] = {
        {&w.BitCheck,
         &w.Command3,
         "text LblBitSelected",
         {"tick BitCheck(0) 0", "text LblBitSelected 1B @0", "tick BitCheck(3) 0",
          "text LblBitSelected 0B @0", "tick BitCheck(9) 0", "text LblBitSelected 0B @0",
          "tick BitCheck(31) 0", "text LblBitSelected 0B @0"},
         "say 0B, 00H"},
        {&w.BitSetCheck,
         &w.CmdClrSet,
         "text TxtBitSetHex",
         {"tick BitSetCheck(0) 0", "text TxtBitSetHex 80000208 @0", "tick BitSetCheck(3) 0",
          "text TxtBitSetHex 80000200 @0", "tick BitSetCheck(9) 0", "text TxtBitSetHex 80000000 @0",
          "tick BitSetCheck(31) 0", "text TxtBitSetHex 0 @0"},
         "say 二进制 0, Hex 0"},
    };
    type(w.txtDataIn, u"1F");
    for (const auto& c : cases) {
        for (int i : {9, 31, 3, 0}) click((*c.boxes)(i));
        view.turnOver();
        const std::size_t from = screen.log.size();
        const int depthBefore = w.form().maxEventDepth();
        click(*c.clear);
        view.turnOver();
        Log seen;
        for (const std::string& line : screen.lines("", from)) {
            const bool readout = line.rfind(c.readout, 0) == 0;
            if (readout && !seen.empty() && seen.back().rfind("text", 0) == 0) seen.pop_back();
            if (readout || line.rfind("tick ", 0) == 0) seen.push_back(line);
        }
        EXPECT_EQ(seen, c.shown) << c.readout;
        EXPECT_EQ(screen.lines("say ", from), Log{c.said});
        EXPECT_GE(w.form().maxEventDepth(), std::max(depthBefore, 2)); // nested in the command
    }
    EXPECT_EQ(w.LblBitSelected.caption(), u"0B");
    EXPECT_EQ(w.TxtBitSetBinary.text(), u"0");
    for (int i : {0, 3, 9, 31}) // not back to light blue
        EXPECT_EQ(w.LblBitSetInfo(i).backColour(), colours::Silver) << i;
}

} // namespace
} // namespace pelmora::testing
