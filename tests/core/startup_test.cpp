// The window after its load event: its rows, where they stand, their captions and colours,
// the tab order and the names a screen reader says.
#include <gtest/gtest.h>

#include <map>
#include <string_view>

#include "app/accessible_names.h"
#include "recording_front_end.h"

namespace pelmora::testing {
namespace {

class StartUp : public ::testing::Test, public ShownWindow {
protected:
    std::vector<const Control*> row(std::string_view name) const {
        std::vector<const Control*> members;
        for (const Control* c : w.form().controls())
            if (c->name() == name) members.push_back(c);
        return members;
    }
};

// Bit 31 leftmost: each row from its bit 0 to bit 31 at an even pitch, except the composer's
// 310 twips between bits 0 and 1; every member keeps the top and size of member 0, and the
// members are numbered 0 up with none beyond.
TEST_F(StartUp, RowsHaveTheirMembersPlacedBitThirtyOneLeftmost) {
    const struct {
        const char* row;
        std::size_t members;
        float bit0 = 0, bit1 = 0, last = 0, pitch = 0;
    } rows[] = {
        {"BitCheck", 32, 9480, 9180, 180, 300},
        {"lblBitIndex", 32, 9480, 9180, 180, 300},
        {"LblBitInfo", 32, 9480, 9180, 180, 300}, // member 0 moved from 9435
        {"BitSetCheck", 32, 9480, 9170, 170, 300},
        {"lblBitSetIndex", 32, 9420, 9110, 110, 300},
        {"LblBitSetInfo", 32, 9420, 9110, 110, 300},
        {"LblBitSetHex", 8, 8307, 7907, 5507, 400}, // the eight nibbles
        {"Label1", 2},
        {"Label4", 4},
        {"Label5", 2},
        {"Line1", 4},
        {"Line2", 4},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.row);
        const std::vector<const Control*> members = row(r.row);
        ASSERT_EQ(members.size(), r.members);
        for (std::size_t i = 0; i < members.size(); ++i)
            EXPECT_EQ(members[i]->index(), static_cast<int>(i));
        if (r.pitch == 0) continue;
        EXPECT_EQ(members[0]->left(), r.bit0);
        EXPECT_EQ(members[1]->left(), r.bit1);
        EXPECT_EQ(members.back()->left(), r.last);
        for (std::size_t i = 1; i < members.size(); ++i) {
            if (i > 1) {
                EXPECT_EQ(members[i - 1]->left() - members[i]->left(), r.pitch) << i;
            }
            EXPECT_EQ(members[i]->top(), members[0]->top()) << i;
            EXPECT_EQ(members[i]->width(), members[0]->width()) << i;
            EXPECT_EQ(members[i]->height(), members[0]->height()) << i;
        }
    }
    EXPECT_THROW(w.BitCheck(32), RuntimeError);
    EXPECT_THROW(w.LblBitSetHex(8), RuntimeError);
}

TEST_F(StartUp, CaptionsAndColours) {
    // The bit numbers marked in dark blue, bit 31 first.
    const std::string_view marks = "D.......D.......D.......D......D";
    for (int i = 0; i <= 31; ++i) {
        SCOPED_TRACE(i);
        const bool marked = marks[static_cast<std::size_t>(31 - i)] == 'D';
        EXPECT_EQ(toUtf8(w.lblBitIndex(i).caption()), std::to_string(i));
        EXPECT_EQ(toUtf8(w.lblBitSetIndex(i).caption()), std::to_string(i));
        EXPECT_EQ(w.lblBitIndex(i).foreColour(), marked ? colours::DarkBlue : colours::Purple);
        EXPECT_EQ(w.lblBitSetIndex(i).foreColour(), marked ? colours::DarkBlue : colours::Magenta);
        EXPECT_EQ(w.LblBitInfo(i).caption(), u"0");
        EXPECT_EQ(w.LblBitInfo(i).backColour(), colours::LightBlue);
        EXPECT_EQ(w.LblBitSetInfo(i).backColour(), colours::LightBlue);
        EXPECT_EQ(w.BitCheck(i).value() + w.BitSetCheck(i).value(), 0);
        EXPECT_TRUE(w.BitCheck(i).visible() && w.LblBitSetInfo(i).visible());
    }
    EXPECT_EQ(w.LblBitSelected.caption(), u"0B");
    EXPECT_EQ(w.lblBitSelectedHex.caption(), u"0H");
    EXPECT_EQ(w.TxtBitSetBinary.text(), u"0");
    EXPECT_EQ(w.TxtBitSetHex.text(), u"0");
    EXPECT_EQ(w.txtDataIn.text() + w.txtSelectRang.text(), u"");
    EXPECT_EQ(w.Label3.caption(), u"Label3");
    EXPECT_FALSE(w.LblBitSetBinary.visible());
    for (int k = 0; k <= 7; ++k) EXPECT_FALSE(w.LblBitSetHex(k).visible());
    EXPECT_EQ(w.form().settings().font.charset, 134);
    EXPECT_TRUE(screen.lines("box ").empty());
}

TEST_F(StartUp, TheTabOrderRunsEachRowFromBitZero) {
    std::vector<std::string> order;
    for (Control* c : w.form().tabOrder())
        if (!c->isArrayMember() || c->index() == 0) order.push_back(c->name());
    EXPECT_EQ(order, (std::vector<std::string>{"txtDataIn", "Command2", "BitCheck", "txtSelectRang",
                                               "Command3", "BitSetCheck", "TxtBitSetBinary",
                                               "TxtBitSetHex", "CmdClrSet"}));
    const auto tab = w.form().tabOrder();
    EXPECT_EQ(tab.size(), 9u + 62u);
    EXPECT_EQ(tab[2], &w.BitCheck(0));
    EXPECT_EQ(tab[3], &w.BitCheck(1));
    EXPECT_EQ(tab[33], &w.BitCheck(31));
    EXPECT_EQ(w.form().defaultButton(), &w.Command2);
}

TEST_F(StartUp, EveryBoxAndCellIsNamedByRowAndBit) {
    const std::pair<std::string, Text> expected[] = {
        {"BitCheck5", u"比特查看 第5位"},
        {"BitSetCheck31", u"比特设置 第31位"},
        {"LblBitInfo0", u"比特查看 第0位 数值"},
        {"LblBitSetInfo7", u"比特设置 第7位 数值"},
        {"lblBitIndex3", u"比特查看 第3位 位号"},
        {"lblBitSetIndex30", u"比特设置 第30位 位号"},
        {"txtDataIn-1", u"数据输入"},
        {"TxtBitSetHex-1", u"比特设置 Hex"},
    };
    std::map<std::string, Text> names;
    for (Control* c : w.form().controls())
        names[c->name() + std::to_string(c->index())] = accessibleName(*c);
    for (const auto& [key, name] : expected) EXPECT_EQ(names.at(key), name) << key;
    // Every focusable control has a name a screen reader can say, and its widget has it.
    for (Control* c : w.form().tabOrder()) {
        const bool captioned = c->kind() == ControlKind::CommandButton;
        EXPECT_TRUE(captioned || !accessibleName(*c).empty()) << c->name() << c->index();
        EXPECT_EQ(widget(*c).spec.accessibleName, accessibleName(*c));
    }
}

} // namespace
} // namespace pelmora::testing
