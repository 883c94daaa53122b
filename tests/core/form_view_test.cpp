// The view's loop, once for every front end, against the recording front end: what is made
// at start and on first show, the echo guard and the caret, clicks, Enter and ticks, the
// announcement after the turn, the escaped error, colours and a new DPI.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "recording_front_end.h"

namespace pelmora::testing {
namespace {

using Log = std::vector<std::string>;

class Loop : public ::testing::Test, public ShownWindow {
protected:
    std::size_t mark() const { return screen.log.size(); }
};

TEST_F(Loop, StartShowsTheWindowItsVisibleWidgetsClocksAndFocus) {
    EXPECT_EQ(screen.log.front(), "window Pelmoria 662x341 240,240,240"); // ButtonFace, fixed
    // One widget for each visible control that has one; hidden readouts, lines, timers none.
    std::size_t made = 0;
    for (const Control* c : w.form().controls()) made += view::hasWidget(*c) && c->visible();
    EXPECT_EQ(screen.lines("make ").size(), made);
    EXPECT_EQ(id(w.LblBitSetBinary), 0);
    EXPECT_EQ(screen.lines("clock "), Log{"clock 0 500 on"});
    EXPECT_EQ(screen.focused, id(w.txtDataIn));
    EXPECT_EQ(screen.tabOrder.front(), id(w.txtDataIn));
    EXPECT_EQ(screen.stacking.back(), id(w.txtDataIn)); // first in tab order, on top
    EXPECT_EQ(screen.widgets.at(id(w.LblBitInfo(7))).text, u"0");
    EXPECT_TRUE(screen.widgets.at(id(w.LblBitInfo(7))).visible);
    EXPECT_EQ(screen.widgets.at(id(w.lblBitIndex(7))).fore, (view::Rgb{0, 0, 192})); // dark blue
    EXPECT_FALSE(screen.bands.empty());
    // Widgets know themselves from their first call: nothing is said before it is made.
    EXPECT_EQ(std::count_if(screen.log.begin(), screen.log.end(),
                            [](const std::string& l) { return l.find(" #") != l.npos; }),
              0);
}

TEST_F(Loop, FirstShowMakesTheWidgetAndPutsItIntoTheOrders) {
    const std::size_t from = mark();
    w.LblBitSetBinary.setVisible(true);
    EXPECT_EQ(screen.lines("make ", from), Log{"make LblBitSetBinary"});
    EXPECT_EQ(screen.lines("orders", from).size(), 1u);
    EXPECT_NE(std::find(screen.stacking.begin(), screen.stacking.end(), id(w.LblBitSetBinary)),
              screen.stacking.end());
    EXPECT_TRUE(screen.widgets.at(id(w.LblBitSetBinary)).visible);
}

TEST_F(Loop, ThePersonsOwnEditIsNotShownAgainAndARefusalKeepsTheCaret) {
    const struct {
        const char* typed;
        std::size_t caretBefore; // where the person puts the caret before the last key
        Log shown;               // what the view then sets on the entry
    } cases[] = {
        {"1F", 1, {}},                        // the echo of the person's edit: nothing to set
        {"1FG", 3, {"text txtDataIn 1F @2"}}, // taken back; the caret follows the text's end
        {"123456789", 9, {}},                 // a ninth refused, kept: nothing
        {"12G", 2, {"text txtDataIn 1G @2", "text txtDataIn 1 @1"}}, // G typed between 1 and 2
    };
    for (const auto& c : cases) {
        ShownWindow fresh;
        const std::string typed = c.typed;
        fresh.type(fresh.w.txtDataIn, typed.substr(0, typed.size() - 1));
        fresh.screen.widgets.at(fresh.id(fresh.w.txtDataIn)).caret = c.caretBefore - 1;
        const std::size_t from = fresh.screen.log.size();
        fresh.type(fresh.w.txtDataIn, typed.substr(typed.size() - 1));
        EXPECT_EQ(fresh.screen.lines("text txtDataIn", from), c.shown) << c.typed;
    }
}

TEST_F(Loop, APastedRunOfRefusalsShowsEachStepAndEndsOnWhatTheModelHolds) {
    paste(w.txtDataIn, "1G23");
    EXPECT_EQ(screen.lines("box "),
              (Log{"box 出错 请正确输入16进制数 stop", "box 出错 请正确输入16进制数 stop",
                   "box 出错 请正确输入16进制数 stop"}));
    EXPECT_EQ(screen.widgets.at(id(w.txtDataIn)).text, u"1");
    EXPECT_EQ(screen.widgets.at(id(w.txtDataIn)).caret, 1u);
}

TEST_F(Loop, AClickTicksTheModelAndTheWidgetShowsWhatTheModelHolds) {
    screen.widgets.at(id(w.BitSetCheck(5))).ticked = true; // a widget that ticks itself first
    click(w.BitSetCheck(5));
    EXPECT_EQ(w.BitSetCheck(5).value(), 1);
    EXPECT_EQ(screen.widgets.at(id(w.TxtBitSetHex)).text, u"20");
    click(w.BitSetCheck(5));
    EXPECT_EQ(w.BitSetCheck(5).value(), 0);
    EXPECT_FALSE(screen.widgets.at(id(w.BitSetCheck(5))).ticked);
    EXPECT_EQ(screen.widgets.at(id(w.LblBitSetInfo(5))).back, (view::Rgb{192, 192, 192}));
}

TEST_F(Loop, WhatTheViewSetsNeverComesBackAsThePersons) {
    // As Win32 reports them: every text shown and tick set comes straight back as an action.
    screen.echoTo = &view;
    const std::size_t from = mark();
    w.BitCheck(2).setValue(1);
    w.BitSetCheck(4).setValue(1);
    w.txtDataIn.setText(u"3");
    EXPECT_EQ(w.BitCheck(2).value(), 1);
    EXPECT_EQ(w.BitSetCheck(4).value(), 1);
    EXPECT_EQ(w.TxtBitSetHex.text(), u"10");
    EXPECT_EQ(screen.lines("text txtDataIn", from), Log{"text txtDataIn 3 @0"});
}

TEST_F(Loop, EnterPressesWhatTheViewSaysAndNothingWithAModifier) {
    type(w.txtDataIn, "1F");
    const struct {
        const Control* focus;
        view::KeyModifiers held;
        const char* range;
        const char16_t* field; // the readout afterwards
    } cases[] = {
        {&w.txtSelectRang, {}, "0,3", u"1111B"},             // the default button, Select
        {&w.Command3, {}, "0,3", u"0B"},                     // the focused button, Clear Select
        {&w.txtSelectRang, {.alt = true}, "0,3", u"0B"},     // a chord presses nothing
        {&w.txtSelectRang, {.control = true}, "0,3", u"0B"}, //
    };
    for (const auto& c : cases) {
        w.Command3.click();
        w.txtSelectRang.setText(fromUtf8(c.range));
        view.enter(id(*c.focus), c.held);
        EXPECT_EQ(w.LblBitSelected.caption(), c.field) << c.focus->name();
    }
}

TEST_F(Loop, ATickShowsTheTimeButIsDroppedWhileABoxIsUp) {
    screen.time = {21, 7, 3, u"tt h:mm:ss", u"上午", u"下午"};
    screen.whileShown = [this] { view.tick(0); };
    type(w.txtDataIn, "G");
    EXPECT_EQ(w.Label3.caption(), u"Label3");
    view.tick(0);
    EXPECT_EQ(screen.widgets.at(id(w.Label3)).text, u"下午 9:07:03");
}

TEST_F(Loop, OnlyTheLastResultIsSaidAndOnlyAfterTheTurn) {
    type(w.txtDataIn, "1F");
    EXPECT_EQ(screen.lines("say "), Log{});
    EXPECT_EQ(screen.lines("later").size(), 1u); // asked once for the two results
    view.turnOver();
    EXPECT_EQ(screen.lines("say "), Log{"say 二进制 11111"});
    view.turnOver();
    EXPECT_EQ(screen.lines("say ").size(), 1u);
}

TEST_F(Loop, AnEscapedErrorIsToldUnderTheCaptionAndEndsTheProgramWithOne) {
    w.txtDataIn.setHandler([](std::int16_t) { throw std::runtime_error("overflow"); });
    type(w.txtDataIn, "1");
    w.txtDataIn.setHandler([](std::int16_t) { throw 7; });
    type(w.txtDataIn, "2");
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
    EXPECT_EQ(screen.widgets.at(id(w.BitCheck(0))).rect, (view::PixelRect{1264, 224, 34, 34}));
    EXPECT_EQ(screen.lines("font txtDataIn").back(), "font txtDataIn 32");
}

TEST(ColourTable, SystemColoursAreOneFixedTableTheRestAsDesigned) {
    const struct {
        Colour design;
        view::Rgb painted;
    } cases[] = {{colours::Red, {255, 0, 0}},
                 {colours::Silver, {192, 192, 192}},
                 {colours::ButtonFace, {240, 240, 240}},
                 {colours::system(6), {100, 100, 100}},
                 {colours::WindowText, {0, 0, 0}},
                 {colours::system(99), {0, 0, 0}}};
    for (const auto& c : cases) EXPECT_EQ(view::resolveColour(c.design), c.painted) << c.design;
}

TEST(ClockText, TheLocalesPatternInWindowsNotation) {
    const struct {
        view::LocalTime time;
        const char16_t* text;
    } cases[] = {
        {{14, 5, 9, u"HH:mm:ss"}, u"14:05:09"},
        {{9, 5, 9, u"H:mm:ss"}, u"9:05:09"},
        {{0, 0, 0, u"h:mm:ss tt"}, u"12:00:00 AM"},
        {{12, 30, 0, u"hh:mm:ss t"}, u"12:30:00 P"},
        {{23, 59, 59, u"tt h:mm:ss", u"上午", u"下午"}, u"下午 11:59:59"},
        {{7, 8, 9, u"H'h'mm 'o''clock'"}, u"7h08 o'clock"},
    };
    for (const auto& c : cases) EXPECT_EQ(view::timeOfDayText(c.time), c.text) << toUtf8(c.text);
}

} // namespace
} // namespace pelmora::testing
