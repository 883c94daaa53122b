// The decisions a front end takes from the view besides the layout: what a click on a box
// and Enter mean, where the focus starts, how a widget looks, when a mirrored text is
// left alone, and which announcement is said.
#include <optional>

#include "view/announcement.h"
#include "view/input.h"
#include "view/look.h"
#include "view/view_policy.h"
#include "window_fixture.h"

namespace pelmora::testing {
namespace {

TEST_F(Window, AClickGivesABoxTheOtherStateOfTheModel) {
    for (const std::int16_t before : {0, 1, 0}) {
        EXPECT_EQ(w.BitSetCheck(4).value(), before);
        w.BitSetCheck(4).setValue(view::valueAfterClick(w.BitSetCheck(4)));
    }
    EXPECT_EQ(w.BitSetCheck(4).value(), 1);
    EXPECT_EQ(w.TxtBitSetHex.text(), u"10");
}

TEST_F(Window, EnterPressesTheFocusedButtonElseTheDefaultOneUnmodified) {
    const view::KeyModifiers none, shift{true}, control{false, true}, alt{false, false, true};
    const struct {
        Control* focus;
        view::KeyModifiers modifiers;
        const CommandButton* pressed;
    } cases[] = {
        {&w.txtSelectRang, none, &w.Command2}, {&w.BitCheck(2), none, &w.Command2},
        {nullptr, none, &w.Command2},          {&w.Command3, none, &w.Command3},
        {&w.CmdClrSet, none, &w.CmdClrSet},    {&w.txtSelectRang, shift, nullptr},
        {&w.txtSelectRang, control, nullptr},  {&w.Command3, alt, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(view::buttonForEnter(w.form(), c.focus, c.modifiers), c.pressed)
            << (c.focus ? c.focus->name() : "no focus");
}

TEST_F(Window, TheFocusStartsOnTheFirstVisibleControlInTabOrder) {
    EXPECT_EQ(view::firstFocus(w.form()), &w.txtDataIn);
    w.txtDataIn.setVisible(false);
    EXPECT_EQ(view::firstFocus(w.form()), &w.Command2);
}

TEST_F(Window, EveryWidgetTakesItsFontAndColoursAndFramedLabelsTheFrameColour) {
    const auto frame = view::LabelBorderColour;
    const struct {
        const Control* control;
        int dpi;
        view::Look look;
    } cases[] = {
        {&w.LblBitSelected, 96, {colours::ButtonText, colours::ButtonFace, frame, 16}},
        {&w.LblBitInfo(3), 96, {colours::ButtonText, colours::LightBlue, std::nullopt, 16}},
        {&w.Label2, 144, {colours::Red, colours::ButtonFace, frame, 17}},
        {&w.BitSetCheck(0), 96, {colours::Black, colours::ButtonFace, std::nullopt, 11}},
        {&w.txtDataIn, 96, {colours::WindowText, colours::WindowBackground, std::nullopt, 16}},
        {&w.Command2, 192, {colours::ButtonText, colours::ButtonFace, std::nullopt, 22}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(view::lookOf(*c.control, c.dpi), c.look) << c.control->name() << " " << c.dpi;
    EXPECT_EQ(frame, colours::system(6)); // what Windows frames a control in
}

TEST_F(Window, AWidgetShowsItsCaptionOrText) {
    type("1F");
    const struct {
        const Control* control;
        Text shown;
    } cases[] = {{&w.Label3, u"Label3"},
                 {&w.Command3, u"Clear Select"},
                 {&w.txtDataIn, u"1F"},
                 {&w.LblBitInfo(4), u"1"},
                 {&w.BitCheck(0), u""}};
    for (const auto& c : cases)
        EXPECT_EQ(view::shownText(*c.control), c.shown) << c.control->name();
}

TEST(ViewMirrorText, LeavesThePersonsOwnEditAloneAndKeepsTheCaretInTheText) {
    const struct {
        const char16_t *shown, *model;
        std::size_t caret;
        std::optional<std::size_t> after;
    } cases[] = {
        {u"1F", u"1F", 2, std::nullopt}, // the echo of the person's keystroke
        {u"1FG", u"1F", 3, 2},           // the refused character removed by code
        {u"1FG", u"1F", 1, 1},
        {u"", u"0", 0, 0},
        {u"101", u"", 3, 0}, // a composer box emptied before it is rebuilt
        {u"0", u"0", 1, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(view::mirrorText(c.shown, c.model, c.caret), c.after)
            << utf8(c.shown) << " -> " << utf8(c.model);
}

TEST(ViewAnnouncement, SaysTheLastTextOfATurnOnceAfterIt) {
    const struct {
        std::vector<Text> given; // in one turn of the event loop
        std::size_t arranged;    // calls of take() the front end must arrange
        Text said;
    } cases[] = {
        {{u"1F"}, 1, u"1F"},
        {{u"1", u"1F"}, 1, u"1F"},
        {{u"0B", u"1B", u"11B"}, 1, u"11B"},
        {{}, 0, u""},
    };
    view::PendingAnnouncement pending;
    for (const auto& c : cases) {
        std::size_t arranged = 0;
        for (const Text& text : c.given) arranged += pending.hold(text) ? 1 : 0;
        EXPECT_EQ(arranged, c.arranged) << c.given.size();
        EXPECT_EQ(pending.take(), c.said);
        EXPECT_EQ(pending.take(), u""); // said once
    }
}

} // namespace
} // namespace pelmora::testing
