// The view's loop, once for every front end, against the recording front end: what is made
// at start and on first show, the echo guard and the caret, clicks, Enter and ticks, the
// announcement after the turn, the escaped error and a new DPI.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "recording_front_end.h"

namespace pelmora::testing {
namespace {

class Loop : public ::testing::Test, public ShownWindow {
protected:
    std::ptrdiff_t stackedAt(const Control& c) const {
        return std::find(screen.stacking.begin(), screen.stacking.end(), id(c)) -
               screen.stacking.begin();
    }
};

TEST_F(Loop, StartShowsTheWindowItsVisibleWidgetsClocksAndFocus) {
    EXPECT_EQ(screen.log.front(), "window Pelmoria 662x341 240,240,240"); // ButtonFace, fixed
    // A widget for each visible control but lines and timers, the focusable ones first in
    // tab order; the hidden readouts get none yet.
    const Log made = screen.lines("make ");
    std::size_t visible = 0;
    for (const Control* c : w.form().controls())
        visible += c->visible() && c->kind() != ControlKind::Line && c != &w.Timer1;
    EXPECT_EQ(made.size(), visible);
    const std::vector<Control*> tabs = w.form().tabOrder();
    for (std::size_t i = 0; i < tabs.size(); ++i)
        EXPECT_EQ(made[i], "make " + view::widgetName(*tabs[i]));
    EXPECT_EQ(id(w.LblBitSetBinary), 0);
    EXPECT_EQ(screen.lines("clock "), Log{"clock 0 500 on"});
    EXPECT_EQ(screen.focused, id(w.txtDataIn));
    EXPECT_EQ(screen.tabOrder.front(), id(w.txtDataIn));
    // Labels lie under the rest, a cell over its bit number; the first in tab order on top.
    EXPECT_EQ(screen.stacking.back(), id(w.txtDataIn));
    EXPECT_LT(stackedAt(w.Label1(1)), stackedAt(w.CmdClrSet));
    EXPECT_LT(stackedAt(w.lblBitIndex(0)), stackedAt(w.LblBitInfo(0)));
    const std::pair<const Control*, Text> texts[] = {{&w.Label3, u"Label3"},
                                                     {&w.Command3, u"Clear Select"},
                                                     {&w.LblBitInfo(7), u"0"},
                                                     {&w.BitCheck(0), u""}};
    for (const auto& [control, text] : texts) EXPECT_EQ(widget(*control).text, text);
    EXPECT_TRUE(widget(w.LblBitInfo(7)).visible);
    EXPECT_EQ(widget(w.lblBitIndex(7)).fore, (view::Rgb{0, 0, 192})); // dark blue
    EXPECT_FALSE(screen.bands.empty());
    // Widgets know themselves from their first call: nothing is said before it is made.
    EXPECT_EQ(std::count_if(screen.log.begin(), screen.log.end(),
                            [](const std::string& l) { return l.find(" #") != l.npos; }),
              0);
    w.txtDataIn.setVisible(false); // a hidden control cannot take the first focus
    EXPECT_EQ(view::firstFocus(w.form()), &w.Command2);
}

TEST_F(Loop, OnlyTheChangeThatFirstShowsAControlMakesItsWidget) {
    const std::size_t from = screen.log.size();
    w.LblBitSetHex(3).setCaption(u"9");
    w.Line1(0).setVisible(false);
    w.Line1(0).setVisible(true);
    w.LblBitSetHex(3).setVisible(true);
    EXPECT_EQ(screen.lines("make ", from), Log{"make LblBitSetHex(3)"});
    EXPECT_EQ(screen.lines("orders", from).size(), 1u);
    EXPECT_LT(stackedAt(w.LblBitSetHex(3)), std::ssize(screen.stacking));
    EXPECT_TRUE(widget(w.LblBitSetHex(3)).visible);
    EXPECT_EQ(widget(w.LblBitSetHex(3)).text, u"9");
}

TEST_F(Loop, ThePersonsOwnEditIsNotShownAgainAndARefusalKeepsTheCaret) {
    const struct {
        const char16_t* typed;
        std::size_t caretBefore; // where the person puts the caret before the last key
        Log shown;               // what the view then sets on the entry
    } cases[] = {
        {u"1F", 1, {}},                        // the echo of the person's edit: nothing to set
        {u"1FG", 3, {"text txtDataIn 1F @2"}}, // taken back; the caret follows the text's end
        {u"123456789", 9, {}},                 // a ninth refused, kept: nothing
        {u"12G", 2, {"text txtDataIn 1G @2", "text txtDataIn 1 @1"}}, // G typed between 1 and 2
    };
    for (const auto& c : cases) {
        ShownWindow fresh;
        const Text typed = c.typed;
        fresh.type(fresh.w.txtDataIn, TextView(typed).substr(0, typed.size() - 1));
        fresh.widget(fresh.w.txtDataIn).caret = c.caretBefore - 1;
        const std::size_t from = fresh.screen.log.size();
        fresh.type(fresh.w.txtDataIn, TextView(typed).substr(typed.size() - 1));
        EXPECT_EQ(fresh.screen.lines("text txtDataIn", from), c.shown) << toUtf8(typed);
    }
}

// Each click on what the click before left; the widget ends showing what the model holds.
TEST_F(Loop, AClickTogglesABoxFromTheModelRunsAButtonAndLeavesTheRestAlone) {
    const struct {
        const Control* clicked;
        bool tickedItself; // the widget ticked itself before telling the view
        std::int16_t box;  // BitSetCheck(4) afterwards
        const char16_t* hex;
    } clicks[] = {
        {&w.BitSetCheck(4), false, 1, u"10"}, {&w.BitSetCheck(4), true, 0, u"0"},
        {&w.BitSetCheck(4), true, 1, u"10"},  {&w.LblBitSetInfo(4), false, 1, u"10"},
        {&w.TxtBitSetHex, false, 1, u"10"},   {&w.CmdClrSet, false, 0, u"0"},
    };
    for (const auto& c : clicks) {
        if (c.tickedItself) widget(*c.clicked).ticked ^= true;
        click(*c.clicked);
        EXPECT_EQ(w.BitSetCheck(4).value(), c.box) << c.clicked->name();
        EXPECT_EQ(widget(w.BitSetCheck(4)).ticked, c.box == 1);
        EXPECT_EQ(widget(w.TxtBitSetHex).text, c.hex) << c.clicked->name();
    }
    EXPECT_EQ(widget(w.LblBitSetInfo(4)).back, (view::Rgb{192, 192, 192}));
}

TEST_F(Loop, WhatTheViewSetsNeverComesBackAsThePersons) {
    // As Win32 reports them: every text shown and tick set comes straight back as an action.
    screen.echoTo = &view;
    const std::size_t from = screen.log.size();
    w.BitCheck(2).setValue(1);
    w.BitSetCheck(4).setValue(1);
    w.txtDataIn.setText(u"3");
    EXPECT_EQ(w.BitCheck(2).value(), 1);
    EXPECT_EQ(w.BitSetCheck(4).value(), 1);
    EXPECT_EQ(w.TxtBitSetHex.text(), u"10");
    EXPECT_EQ(screen.lines("text txtDataIn", from), Log{"text txtDataIn 3 @0"});
}

TEST_F(Loop, EnterPressesTheFocusedButtonElseTheDefaultOneUnmodified) {
    const CommandButton* pressed = nullptr;
    for (CommandButton* b : {&w.Command2, &w.Command3, &w.CmdClrSet})
        b->setHandler([&pressed, b](std::int16_t) { pressed = b; });
    const view::KeyModifiers none, shift{true}, control{false, true}, alt{false, false, true};
    const struct {
        const Control* focus;
        view::KeyModifiers held;
        const CommandButton* pressed;
    } cases[] = {
        {&w.txtSelectRang, none, &w.Command2}, {&w.BitCheck(2), none, &w.Command2},
        {nullptr, none, &w.Command2},          {&w.Command3, none, &w.Command3},
        {&w.CmdClrSet, none, &w.CmdClrSet},    {&w.txtSelectRang, shift, nullptr},
        {&w.txtSelectRang, control, nullptr},  {&w.Command3, alt, nullptr},
    };
    for (const auto& c : cases) {
        pressed = nullptr;
        view.enter(c.focus ? id(*c.focus) : 0, c.held);
        EXPECT_EQ(pressed, c.pressed) << (c.focus ? c.focus->name() : "no focus");
    }
}

TEST_F(Loop, ATickShowsTheTimeButIsDroppedWhileABoxIsUp) {
    screen.time = {21, 7, 3, u"tt h:mm:ss", u"上午", u"下午"};
    screen.whileShown = [this] { view.tick(0); };
    type(w.txtDataIn, u"G");
    EXPECT_EQ(w.Label3.caption(), u"Label3");
    view.tick(0);
    view.turnOver();
    EXPECT_EQ(widget(w.Label3).text, u"下午 9:07:03");
    EXPECT_EQ(screen.lines("say "), Log{}); // the box spoke for the refusal; the clock is not said
}

TEST_F(Loop, OnlyTheLastResultIsSaidAndOnlyAfterTheTurn) {
    type(w.txtDataIn, u"1F");
    EXPECT_EQ(screen.lines("say "), Log{});
    EXPECT_EQ(screen.lines("later").size(), 1u); // asked once for the two results
    view.turnOver();
    EXPECT_EQ(screen.lines("say "), Log{"say 二进制 11111"});
    view.turnOver();
    EXPECT_EQ(screen.lines("say ").size(), 1u);
}

TEST_F(Loop, AnEscapedErrorIsToldUnderTheCaptionAndEndsTheProgramWithOne) {
    w.txtDataIn.setHandler([](std::int16_t) { throw std::runtime_error("overflow"); });
    type(w.txtDataIn, u"1");
    w.txtDataIn.setHandler([](std::int16_t) { throw 7; });
    type(w.txtDataIn, u"2");
    view.fail("from the toolkit");
    EXPECT_EQ(screen.lines("box "),
              (Log{"box Pelmoria overflow stop", "box Pelmoria unexpected error stop",
                   "box Pelmoria from the toolkit stop"}));
    EXPECT_EQ(screen.lines("quit "), (Log{"quit 1", "quit 1", "quit 1"}));
}

TEST(LoopLoad, AFailedLoadIsReportedAndNothingIsShown) {
    RecordingFrontEnd screen;
    view::FormView view(screen);
    Main w(view);
    EXPECT_FALSE(view.load(w.form(), [] { throw std::runtime_error("no memory"); }));
    EXPECT_EQ(screen.log, Log{"box Pelmoria no memory stop"});
}

TEST_F(Loop, ANewDpiPlacesAndSizesEverythingAgain) {
    view.setGeometry(std::make_unique<view::PixelGeometry>(192));
    EXPECT_EQ(screen.lines("window ").back(), "window Pelmoria 1324x682 240,240,240");
    EXPECT_EQ(widget(w.BitCheck(0)).rect, (view::PixelRect{1264, 224, 34, 34}));
    EXPECT_EQ(screen.lines("font txtDataIn").back(), "font txtDataIn 32");
}

} // namespace
} // namespace pelmora::testing
