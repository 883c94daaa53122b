#include <gtest/gtest.h>

#include <map>
#include <string_view>

#include "app/accessible_names.h"
#include "window_fixture.h"

namespace pelmora::testing {
namespace {

using StartUp = Window;

TEST_F(StartUp, EveryBitRowHasExactlyMembersZeroToThirtyOne) {
    const std::pair<const char*, std::size_t> rows[] = {
        {"BitCheck", 32},       {"lblBitIndex", 32},   {"LblBitInfo", 32},  {"BitSetCheck", 32},
        {"lblBitSetIndex", 32}, {"LblBitSetInfo", 32}, {"LblBitSetHex", 8}, {"Label1", 2},
        {"Label4", 4},          {"Label5", 2},         {"Line1", 4},        {"Line2", 4},
    };
    for (const auto& [name, count] : rows) {
        SCOPED_TRACE(name);
        std::size_t members = 0;
        for (Control* c : w.form().controls())
            if (c->name() == name) {
                EXPECT_EQ(c->index(), static_cast<int>(members));
                ++members;
            }
        EXPECT_EQ(members, count);
    }
    EXPECT_THROW(w.BitCheck(32), RuntimeError);
    EXPECT_THROW(w.LblBitSetHex(8), RuntimeError);
}

// Bit 31 leftmost: each row from its bit 0 to bit 31 at an even pitch, except the composer's
// 310 twips between bits 0 and 1; every member keeps the top and size of member 0.
TEST_F(StartUp, RowsArePlacedBitThirtyOneLeftmost) {
    const struct {
        const char* row;
        float bit0, bit1, last, pitch;
    } rows[] = {
        {"BitCheck", 9480, 9180, 180, 300},
        {"lblBitIndex", 9480, 9180, 180, 300},
        {"LblBitInfo", 9480, 9180, 180, 300}, // member 0 moved from 9435
        {"BitSetCheck", 9480, 9170, 170, 300},
        {"lblBitSetIndex", 9420, 9110, 110, 300},
        {"LblBitSetInfo", 9420, 9110, 110, 300},
        {"LblBitSetHex", 8307, 7907, 5507, 400}, // the eight nibbles
    };
    for (const auto& row : rows) {
        std::vector<const Control*> members;
        for (const Control* c : w.form().controls())
            if (c->name() == row.row) members.push_back(c);
        ASSERT_GE(members.size(), 8u);
        EXPECT_EQ(members[0]->left(), row.bit0) << row.row;
        EXPECT_EQ(members[1]->left(), row.bit1) << row.row;
        EXPECT_EQ(members.back()->left(), row.last) << row.row;
        for (std::size_t i = 1; i < members.size(); ++i) {
            if (i > 1) {
                EXPECT_EQ(members[i - 1]->left() - members[i]->left(), row.pitch) << row.row << i;
            }
            EXPECT_EQ(members[i]->top(), members[0]->top()) << row.row << i;
            EXPECT_EQ(members[i]->width(), members[0]->width()) << row.row << i;
            EXPECT_EQ(members[i]->height(), members[0]->height()) << row.row << i;
        }
    }
}

TEST_F(StartUp, CaptionsAndColours) {
    // The bit numbers marked in dark blue, bit 31 first.
    const std::string_view marks = "D.......D.......D.......D......D";
    for (int i = 0; i <= 31; ++i) {
        SCOPED_TRACE(i);
        const bool marked = marks[static_cast<std::size_t>(31 - i)] == 'D';
        EXPECT_EQ(w.lblBitIndex(i).caption(), decimalText(i));
        EXPECT_EQ(w.lblBitSetIndex(i).caption(), decimalText(i));
        EXPECT_EQ(w.lblBitIndex(i).foreColour(), marked ? colours::DarkBlue : colours::Purple);
        EXPECT_EQ(w.lblBitSetIndex(i).foreColour(), marked ? colours::DarkBlue : colours::Magenta);
        EXPECT_EQ(w.LblBitInfo(i).caption(), u"0");
        EXPECT_EQ(w.LblBitInfo(i).backColour(), colours::LightBlue);
        EXPECT_EQ(w.LblBitSetInfo(i).backColour(), colours::LightBlue);
        EXPECT_EQ(w.BitCheck(i).value(), 0);
        EXPECT_EQ(w.BitSetCheck(i).value(), 0);
        EXPECT_TRUE(w.BitCheck(i).visible());
        EXPECT_TRUE(w.LblBitSetInfo(i).visible());
    }
    EXPECT_EQ(w.LblBitSelected.caption(), u"0B");
    EXPECT_EQ(w.lblBitSelectedHex.caption(), u"0H");
    EXPECT_EQ(w.TxtBitSetBinary.text(), u"0");
    EXPECT_EQ(w.TxtBitSetHex.text(), u"0");
    EXPECT_EQ(w.txtDataIn.text(), u"");
    EXPECT_EQ(w.txtSelectRang.text(), u"");
    EXPECT_EQ(w.Label3.caption(), u"Label3");
    EXPECT_FALSE(w.LblBitSetBinary.visible());
    for (int k = 0; k <= 7; ++k) EXPECT_FALSE(w.LblBitSetHex(k).visible());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StartUp, TheWindowAndItsTabOrder) {
    const FormSettings& s = w.form().settings();
    EXPECT_EQ(s.caption, u"Pelmoria");
    EXPECT_EQ(s.clientWidth / TwipsPerPixel, 662);
    EXPECT_EQ(s.clientHeight / TwipsPerPixel, 341);
    EXPECT_EQ(s.font.charset, 134);

    std::vector<std::string> order;
    for (Control* c : w.form().tabOrder())
        if (!c->isArrayMember() || c->index() == 0) order.push_back(c->name());
    EXPECT_EQ(order, (std::vector<std::string>{"txtDataIn", "Command2", "BitCheck", "txtSelectRang",
                                               "Command3", "BitSetCheck", "TxtBitSetBinary",
                                               "TxtBitSetHex", "CmdClrSet"}));
    // The created boxes follow their member 0, bit 0 first.
    const auto tab = w.form().tabOrder();
    EXPECT_EQ(tab.size(), 9u + 62u);
    EXPECT_EQ(tab[2], &w.BitCheck(0));
    EXPECT_EQ(tab[3], &w.BitCheck(1));
    EXPECT_EQ(tab[33], &w.BitCheck(31));
    EXPECT_EQ(w.form().defaultButton(), &w.Command2);
}

TEST_F(StartUp, TheClockWritesTheTimeOnEveryTick) {
    EXPECT_EQ(w.Timer1.interval(), 500);
    EXPECT_TRUE(w.Timer1.enabled());
    w.Timer1.tick();
    EXPECT_EQ(w.Label3.caption(), u"14:05:09");
    platform.time = u"14:05:10";
    w.Timer1.tick();
    EXPECT_EQ(w.Label3.caption(), u"14:05:10");
}

} // namespace
} // namespace pelmora::testing

namespace pelmora::testing {
namespace {

TEST_F(Window, EveryBoxAndCellIsNamedByRowAndBit) {
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
    // Every focusable control has a name a screen reader can say.
    for (Control* c : w.form().tabOrder()) {
        const bool captioned = c->kind() == ControlKind::CommandButton;
        EXPECT_TRUE(captioned || !accessibleName(*c).empty()) << c->name() << c->index();
    }
}

} // namespace
} // namespace pelmora::testing
