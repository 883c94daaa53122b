#include <gtest/gtest.h>

#include "recording_front_end.h"
#include "window_fixture.h"

namespace pelmora::testing {
namespace {

struct ComposeCase {
    const char* name;
    std::vector<int> ticked;
    Text binary, hex;
};
inline void PrintTo(const ComposeCase& c, std::ostream* os) { *os << c.name; }

class Composer : public Window, public ::testing::WithParamInterface<ComposeCase> {
protected:
    void expectHiddenReadoutsHidden() {
        EXPECT_FALSE(w.LblBitSetBinary.visible());
        for (int k = 0; k <= 7; ++k) EXPECT_FALSE(w.LblBitSetHex(k).visible());
    }
};

TEST_P(Composer, ShowsTheComposedValueWithoutLeadingZeros) {
    const ComposeCase& c = GetParam();
    std::uint32_t value = 0;
    for (int i : c.ticked) {
        w.BitSetCheck(i).setValue(1);
        value |= 1u << i;
    }
    EXPECT_EQ(w.TxtBitSetBinary.text(), c.binary);
    EXPECT_EQ(w.LblBitSetBinary.caption(), c.binary);
    EXPECT_EQ(w.TxtBitSetHex.text(), c.hex);
    for (int k = 0; k <= 7; ++k)
        EXPECT_EQ(w.LblBitSetHex(k).caption(), hexText((value >> (4 * k)) & 0xF)) << k;
    for (int i = 0; i <= 31; ++i) {
        const bool on = (value >> i) & 1;
        EXPECT_EQ(w.dataDef().BitSetArray(i), on ? 1 : 0);
        EXPECT_EQ(w.LblBitSetInfo(i).caption(), on ? u"1" : u"0");
        // A cell never touched keeps its start-up light blue.
        EXPECT_EQ(w.LblBitSetInfo(i).backColour(), on ? colours::Red : colours::LightBlue) << i;
    }
    expectHiddenReadoutsHidden();
}

std::vector<int> range(int first, int last) {
    std::vector<int> v;
    for (int i = first; i <= last; ++i) v.push_back(i);
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, Composer,
    ::testing::Values(ComposeCase{"BoxZero", {0}, u"1", u"1"},
                      ComposeCase{"BoxThirtyOne", {31}, u"1" + Text(31, u'0'), u"80000000"},
                      ComposeCase{"ZeroAndFour", {0, 4}, u"10001", u"11"},
                      ComposeCase{"LowNibble", range(0, 3), u"1111", u"F"},
                      ComposeCase{"HighOrderFirst", {3, 2, 1, 0}, u"1111", u"F"},
                      ComposeCase{"All", range(0, 31), Text(32, u'1'), u"FFFFFFFF"},
                      ComposeCase{
                          "NibbleGap", {8, 31}, u"1" + Text(22, u'0') + u"100000000", u"80000100"}),
    [](const auto& info) { return info.param.name; });

TEST_F(Window, UntickingTheOnlyBoxTurnsItsCellSilver) {
    w.BitSetCheck(5).setValue(1);
    w.BitSetCheck(5).setValue(0);
    EXPECT_EQ(w.TxtBitSetBinary.text(), u"0");
    EXPECT_EQ(w.LblBitSetBinary.caption(), u"");
    EXPECT_EQ(w.TxtBitSetHex.text(), u"0");
    for (int k = 0; k <= 7; ++k) EXPECT_EQ(w.LblBitSetHex(k).caption(), u"0");
    EXPECT_EQ(w.LblBitSetInfo(5).caption(), u"0");
    EXPECT_EQ(w.LblBitSetInfo(5).backColour(), colours::Silver);
    EXPECT_EQ(w.LblBitSetInfo(4).backColour(), colours::LightBlue);
}

TEST_F(Window, ClearSetWithNothingTickedChangesNoReadout) {
    w.TxtBitSetBinary.setText(u"edited"); // a person's edit stays until a box changes
    w.CmdClrSet.click();
    EXPECT_EQ(w.TxtBitSetBinary.text(), u"edited");
    EXPECT_EQ(w.TxtBitSetHex.text(), u"0");
    EXPECT_EQ(w.LblBitSetInfo(0).backColour(), colours::LightBlue);
}

class ShownComposer : public ::testing::Test, public ShownWindow {};

TEST_F(ShownComposer, ClearSetRunsTheHandlerPerTickedBoxAscending) {
    for (int i : {9, 31, 3, 0}) w.BitSetCheck(i).setValue(1);
    const std::size_t from = screen.log.size();
    w.CmdClrSet.click();
    // Each box's handler has finished, its readouts shown, before the next box changes:
    // the box, then the last hex readout shown before the next box.
    std::vector<std::string> seen;
    for (const std::string& line : screen.lines("", from)) {
        const bool hex = line.rfind("text TxtBitSetHex", 0) == 0;
        if (hex && seen.back().rfind("text", 0) == 0) seen.pop_back();
        if (hex || line.rfind("tick ", 0) == 0) seen.push_back(line);
    }
    EXPECT_EQ(seen,
              (std::vector<std::string>{"tick BitSetCheck(0) 0", "text TxtBitSetHex 80000208 @0",
                                        "tick BitSetCheck(3) 0", "text TxtBitSetHex 80000200 @0",
                                        "tick BitSetCheck(9) 0", "text TxtBitSetHex 80000000 @0",
                                        "tick BitSetCheck(31) 0", "text TxtBitSetHex 0 @0"}));
    EXPECT_EQ(w.TxtBitSetBinary.text(), u"0");
    for (int i : {0, 3, 9, 31}) // not back to light blue
        EXPECT_EQ(w.LblBitSetInfo(i).backColour(), colours::Silver) << i;
}

TEST_F(Window, TheComposerAndTheAnalysisRowsAreIndependent) {
    type("FF");
    w.BitSetCheck(0).setValue(1);
    EXPECT_EQ(w.LblBitInfo(1).caption(), u"1");
    EXPECT_EQ(w.BitCheck(0).value(), 0);
    EXPECT_EQ(w.LblBitSelected.caption(), u"0B");
    w.BitCheck(0).setValue(1);
    EXPECT_EQ(w.TxtBitSetHex.text(), u"1");
}

} // namespace
} // namespace pelmora::testing
