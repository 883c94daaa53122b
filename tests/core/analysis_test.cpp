// The data entry: what parses, what is refused and taken back, the analysis cells; the
// composer row: the value its boxes build, in binary and hex, and its cells; and what a
// screen reader is given to say of each.
#include <gtest/gtest.h>

#include <bitset>
#include <cstdlib>

#include "recording_front_end.h"

namespace pelmora::testing {
namespace {

const std::string invalid = "请正确输入16进制数", tooLongText = "不处理超过32bit的数据";

class Entry : public ::testing::Test, public ShownWindow {};

// The entry's new text after one that parsed (`before`): each refusal shows a message while
// the text is still up, then takes the last character back, until what is `kept` parses;
// over eight characters there is one message and the text stays as the person left it.
// The value shown is always the last that parsed, written out here by the C library.
TEST_F(Entry, KeepsTheLastTextThatParsedAndTakesBackOneCharacterPerMessage) {
    struct Case {
        Text before, entered, kept;
        std::size_t refusals;
    };
    std::vector<Case> cases = {
        {u"1", u"1G", u"1", 1},
        {u"", u"1G23", u"1", 3},
        {u"", u"1234G678", u"1234", 4}, // the low half fails: neither half is stored
        {u"1", u"FFFFG", u"FFFF", 1},   // the high half parses, the low does not
        {u"12345", u"FF", u"FF", 0},    // a short entry clears the high half
        {u"ABCD", u"ABCDX234", u"ABCD", 4},
        {u"", u"Z", u"", 1},
        {u"", u"-1", u"", 2},
        {u"", u"&H1", u"", 3},
        {u"", u"1 2", u"1", 2},
        {u"7", u"7１", u"7", 1},
        {u"5", u"5\U0001F600", u"5", 1},
        {u"", u"3\xD800", u"3", 1},                               // a lone surrogate is one
        {u"1234567", u"1234567\U0001F600", u"1234567", 1},        // eight in nine units
        {u"1F", u"123456789", u"123456789", 1},                   // too long, as typed
        {u"1F", u"GGGGGGGGG", u"GGGGGGGGG", 1},                   //
        {u"12345678", u"12345678G", u"12345678G", 1},             // too long, not invalid
        {u"1F", u"12345678\U0001F600", u"12345678\U0001F600", 1}, //
        {u"A", Text(1 << 20, u'F'), Text(1 << 20, u'F'), 1},      // a megabyte pasted
        {u"F0", u"", u"", 0},                                     // emptied: nothing changes
    };
    for (const Text valid : {u"1F", u"fff", u"FFFF", u"12345", u"FFFFFFFF", u"0000FFFF",
                             u"80000000", u"0", u"aBcD1234"})
        cases.push_back({u"", valid, valid, 0});
    for (const Case& c : cases) {
        ShownWindow fresh;
        Main& w = fresh.w;
        SCOPED_TRACE(toUtf8(c.entered.substr(0, 12)));
        fresh.paste(w.txtDataIn, c.before);
        fresh.view.turnOver();
        const bool tooLong = c.refusals && c.kept == c.entered; // refused, kept as typed
        const Text& parsed = c.kept.empty() || tooLong ? c.before : c.kept;
        const std::uint32_t value = std::strtoul(toUtf8(parsed).c_str(), nullptr, 16);
        const std::uint32_t before = std::strtoul(toUtf8(c.before).c_str(), nullptr, 16);
        std::vector<Text> atMessages, expectedAtMessages;
        fresh.screen.whileShown = [&] {
            atMessages.push_back(w.txtDataIn.text());
            EXPECT_EQ(w.dataDef().HighWord * 65536u + w.dataDef().LowWord, before); // both or none
        };
        const std::size_t from = fresh.screen.log.size();
        fresh.paste(w.txtDataIn, c.entered, true);
        fresh.view.turnOver();

        Text shown = c.entered;
        for (std::size_t k = 0; k < c.refusals; ++k) {
            expectedAtMessages.push_back(shown);
            const bool pair = shown.size() > 1 && (shown.back() & 0xFC00) == 0xDC00 &&
                              (shown[shown.size() - 2] & 0xFC00) == 0xD800;
            shown.resize(shown.size() - (pair ? 2 : 1));
        }
        EXPECT_EQ(atMessages, expectedAtMessages);
        EXPECT_EQ(fresh.screen.lines("box ", from),
                  Log(c.refusals, "box 出错 " + (tooLong ? tooLongText : invalid) + " stop"));
        // A refusal is said by its message box; an emptied entry is not analysed.
        std::string binary = std::bitset<32>(value).to_string();
        binary.erase(0, std::min(binary.find('1'), std::size_t{31}));
        EXPECT_EQ(fresh.screen.lines("say ", from),
                  Log(c.refusals || c.entered.empty() ? 0 : 1, "say 二进制 " + binary));
        EXPECT_EQ(w.txtDataIn.text(), c.kept);
        EXPECT_EQ(fresh.widget(w.txtDataIn).text, c.kept);
        EXPECT_EQ(fresh.widget(w.txtDataIn).caret, c.kept.size());
        EXPECT_EQ(w.dataDef().HighWord, static_cast<std::int32_t>(value >> 16));
        EXPECT_EQ(w.dataDef().LowWord, static_cast<std::int32_t>(value & 0xFFFF));
        for (int i = 0; i <= 31; ++i) {
            const bool one = (value >> i) & 1;
            EXPECT_EQ(w.dataDef().BitArray(i), one ? 1 : 0) << i;
            EXPECT_EQ(w.LblBitInfo(i).caption(), one ? u"1" : u"0") << i;
            EXPECT_EQ(w.LblBitInfo(i).backColour(), one ? colours::Red : colours::LightBlue) << i;
        }
        // The box spoke for its own action only: the next one is said again.
        const std::size_t next = fresh.screen.log.size();
        fresh.click(w.BitSetCheck(0));
        fresh.view.turnOver();
        EXPECT_EQ(fresh.screen.lines("say ", next), Log{"say 二进制 1, Hex 1"});
        EXPECT_LE(w.form().maxEventDepth(), 9);
    }
}

TEST_F(Entry, ANewEntryLeavesTheBoxesAndShowsInTheReadoutsAtTheNextBoxChange) {
    type(w.txtDataIn, u"1F");
    for (int i = 0; i <= 3; ++i) click(w.BitCheck(i));
    paste(w.txtDataIn, u"A", true);
    EXPECT_EQ(w.LblBitSelected.caption(), u"1111B");
    EXPECT_EQ(w.lblBitSelectedHex.caption(), u"0FH");
    EXPECT_EQ(w.BitCheck(0).value(), 1);
    click(w.BitCheck(4));
    EXPECT_EQ(w.LblBitSelected.caption(), u"01010B");
    EXPECT_EQ(w.lblBitSelectedHex.caption(), u"0AH");
}

class Composer : public ::testing::Test, public ShownWindow {};

// Boxes clicked in turn, a box clicked twice unticked again. A cell never touched keeps its
// start-up light blue; one unticked turns silver. The hidden readouts follow, unseen.
TEST_F(Composer, ShowsTheComposedValueWithoutLeadingZeros) {
    std::vector<int> all;
    for (int i = 0; i <= 31; ++i) all.push_back(i);
    const struct {
        std::vector<int> clicked;
        Text binary, hex;
    } cases[] = {
        {{0}, u"1", u"1"},
        {{31}, u"1" + Text(31, u'0'), u"80000000"},
        {{0, 4}, u"10001", u"11"},
        {{3, 2, 1, 0}, u"1111", u"F"},
        {all, Text(32, u'1'), u"FFFFFFFF"},
        {{8, 31}, u"1" + Text(22, u'0') + u"100000000", u"80000100"},
        {{5, 5}, u"0", u"0"},
        {{5, 6, 5}, u"1000000", u"40"},
    };
    for (const auto& c : cases) {
        ShownWindow fresh;
        Main& w = fresh.w;
        SCOPED_TRACE(toUtf8(c.hex));
        std::uint32_t value = 0, touched = 0;
        for (int i : c.clicked) {
            fresh.click(w.BitSetCheck(i));
            value ^= 1u << i;
            touched |= 1u << i;
        }
        fresh.view.turnOver();
        EXPECT_EQ(w.TxtBitSetBinary.text(), c.binary);
        EXPECT_EQ(w.TxtBitSetHex.text(), c.hex);
        EXPECT_EQ(fresh.screen.lines("say "),
                  Log{"say 二进制 " + toUtf8(c.binary + u", Hex " + c.hex)});
        EXPECT_EQ(w.LblBitSetBinary.caption(), value ? c.binary : u"");
        EXPECT_FALSE(w.LblBitSetBinary.visible());
        for (int k = 0; k <= 7; ++k) {
            char nibble[2];
            std::snprintf(nibble, sizeof nibble, "%X", (value >> (4 * k)) & 0xF);
            EXPECT_EQ(toUtf8(w.LblBitSetHex(k).caption()), nibble) << k;
            EXPECT_FALSE(w.LblBitSetHex(k).visible());
        }
        for (int i = 0; i <= 31; ++i) {
            const bool on = (value >> i) & 1;
            EXPECT_EQ(w.dataDef().BitSetArray(i), on ? 1 : 0);
            EXPECT_EQ(w.LblBitSetInfo(i).caption(), on ? u"1" : u"0");
            const Colour cell = on                   ? colours::Red
                                : (touched >> i) & 1 ? colours::Silver
                                                     : colours::LightBlue;
            EXPECT_EQ(w.LblBitSetInfo(i).backColour(), cell) << i;
        }
    }
}

TEST_F(Composer, ClearSetWithNothingTickedChangesNoReadout) {
    paste(w.TxtBitSetBinary, u"edited", true); // a person's edit stays until a box changes
    click(w.CmdClrSet);
    EXPECT_EQ(w.TxtBitSetBinary.text(), u"edited");
    EXPECT_EQ(w.TxtBitSetHex.text(), u"0");
    EXPECT_EQ(w.LblBitSetInfo(0).backColour(), colours::LightBlue);
}

TEST_F(Composer, AndTheAnalysisRowsAreIndependent) {
    type(w.txtDataIn, u"FF");
    click(w.BitSetCheck(0));
    EXPECT_EQ(w.LblBitInfo(1).caption(), u"1");
    EXPECT_EQ(w.BitCheck(0).value(), 0);
    EXPECT_EQ(w.LblBitSelected.caption(), u"0B");
    click(w.BitCheck(0));
    EXPECT_EQ(w.TxtBitSetHex.text(), u"1");
}

} // namespace
} // namespace pelmora::testing
