// The composer row: the value its boxes build, in binary and hex, its cells, and what a
// screen reader is given to say.
#include <gtest/gtest.h>

#include "recording_front_end.h"

namespace pelmora::testing {
namespace {

using Log = std::vector<std::string>;

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
