#include <gtest/gtest.h>

#include <map>

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

TEST_F(StartUp, RowsArePlacedBitThirtyOneLeftmost) {
    for (int i = 0; i <= 31; ++i) {
        SCOPED_TRACE(i);
        const float analysis = 9480.0f - 300.0f * i;
        EXPECT_EQ(w.BitCheck(i).left(), analysis);
        EXPECT_EQ(w.lblBitIndex(i).left(), analysis);
        EXPECT_EQ(w.LblBitInfo(i).left(), analysis); // member 0 moved from 9435
        const float box = i == 0 ? 9480.0f : 9470.0f - 300.0f * i;
        EXPECT_EQ(w.BitSetCheck(i).left(), box);
        const float cell = i == 0 ? 9420.0f : box - 60.0f;
        EXPECT_EQ(w.lblBitSetIndex(i).left(), cell);
        EXPECT_EQ(w.LblBitSetInfo(i).left(), cell);
        // Every row keeps the top and size of its member 0.
        EXPECT_EQ(w.LblBitInfo(i).top(), 1320);
        EXPECT_EQ(w.BitSetCheck(i).width(), 195);
    }
    EXPECT_EQ(w.BitSetCheck(0).left() - w.BitSetCheck(1).left(), 310.0f);
    EXPECT_EQ(w.BitSetCheck(1).left() - w.BitSetCheck(2).left(), 300.0f);
    EXPECT_EQ(w.BitCheck(31).left(), 180.0f);
    EXPECT_EQ(w.BitSetCheck(31).left(), 170.0f);
    EXPECT_EQ(w.LblBitSetInfo(31).left(), 110.0f);
    for (int k = 0; k <= 7; ++k) EXPECT_EQ(w.LblBitSetHex(k).left(), 8307.0f - 400.0f * k);
}

TEST_F(StartUp, CaptionsAndColours) {
    for (int i = 0; i <= 31; ++i) {
        SCOPED_TRACE(i);
        const bool marked = i == 0 || i == 7 || i == 15 || i == 23 || i == 31;
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
