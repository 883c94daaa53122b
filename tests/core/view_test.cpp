// Where controls land in pixels at each DPI, and which get a widget and when (the loop
// that applies these is tested in form_view_test.cpp).
#include "view/layout.h"
#include "view/view_policy.h"
#include "window_fixture.h"

namespace pelmora::testing {
namespace {

using view::PixelRect;

TEST_F(Window, ClientAreaAtEachDpi) {
    const struct {
        int dpi;
        view::PixelSize size;
    } cases[] = {{96, {662, 341}}, {120, {828, 426}}, {144, {993, 512}}, {192, {1324, 682}}};
    for (const auto& c : cases)
        EXPECT_EQ(view::clientSize(w.form().settings(), c.dpi), c.size) << c.dpi;
}

TEST_F(Window, ControlsLandOnTheDesignsTwipsOverFifteen) {
    const struct {
        const Control* control;
        PixelRect rect;
    } cases[] = {
        {&w.BitCheck(0), {632, 112, 17, 17}},
        {&w.LblBitInfo(0), {632, 88, 17, 17}}, // moved onto its box by the load event
        {&w.LblBitInfo(31), {12, 88, 17, 17}},
        {&w.BitSetCheck(1), {611, 248, 13, 13}}, // 9170 twips: single-precision lefts rounded
        {&w.BitSetCheck(31), {11, 248, 13, 13}},
        {&w.LblBitSetHex(1), {527, 234, 25, 25}},
        {&w.txtDataIn, {64, 40, 153, 22}},
        // Edges round on their own: 6669 + 3055 twips end at pixel 648, not 649.
        {&w.TxtBitSetHex, {445, 276, 203, 29}},
        {&w.Label3, {387, 320, 273, 20}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(view::controlRect(*c.control), c.rect) << c.control->name() << c.control->index();
}

TEST_F(Window, CellsKeepAnEvenPitchAndTouchNothingAtAnyDpi) {
    for (int dpi : {96, 120, 144, 168, 192}) {
        for (int i = 1; i < 32; ++i) {
            const PixelRect right = view::controlRect(w.LblBitInfo(i - 1), dpi);
            const PixelRect left = view::controlRect(w.LblBitInfo(i), dpi);
            EXPECT_NEAR(right.x - left.x, 300.0 * dpi / 1440, 1.0) << dpi << " bit " << i;
            EXPECT_LT(left.x + left.width, right.x) << dpi << " bit " << i;
            EXPECT_EQ(left.height, right.height);
        }
    }
}

TEST_F(Window, GroovesAreBandsOfTheLineWidthClippedByTheClient) {
    // Shadow band directly above the window-coloured band: an etched groove.
    EXPECT_EQ(view::lineBand(w.Line1(3)), (PixelRect{0, 16, 267, 2}));
    EXPECT_EQ(view::lineBand(w.Line2(3)), (PixelRect{0, 18, 267, 2}));
    EXPECT_EQ(view::lineBand(w.Line1(1), 144), (PixelRect{600, 276, 400, 3}));
    const PixelRect right = view::lineBand(w.Line1(2));
    EXPECT_GT(right.x + right.width, view::clientSize(w.form().settings()).width);
    // What a front end paints: every visible line's band in its own colour, none hidden.
    w.Line2(3).setVisible(false);
    const std::vector<view::LineBand> bands = view::visibleLineBands(w.form(), 144);
    EXPECT_EQ(std::count(bands.begin(), bands.end(),
                         view::LineBand{view::lineBand(w.Line1(1), 144), w.Line1(1).foreColour()}),
              1);
    EXPECT_EQ(
        std::count_if(bands.begin(), bands.end(),
                      [&](const auto& b) { return b.rect == view::lineBand(w.Line2(3), 144); }),
        0);
}

TEST(ViewLayout, FontHeights) {
    const struct {
        float points;
        int dpi;
        int height;
    } cases[] = {{8.25f, 96, 11},  {9.75f, 96, 13},  {12, 96, 16},
                 {15.75f, 96, 21}, {8.25f, 144, 17}, {12, 192, 32}};
    for (const auto& c : cases)
        EXPECT_EQ(view::fontPixelHeight(c.points, c.dpi), c.height) << c.points << "pt " << c.dpi;
}

TEST_F(Window, WidgetsAtStartAreTheVisibleControlsFocusableFirstInTabOrder) {
    const std::vector<Control*> atStart = view::widgetsAtStart(w.form());
    const std::vector<Control*> tabs = w.form().tabOrder();
    ASSERT_GE(atStart.size(), tabs.size());
    EXPECT_TRUE(std::equal(tabs.begin(), tabs.end(), atStart.begin()));
    for (const Control* c : w.form().controls()) {
        const bool expected = view::hasWidget(*c) && c->visible();
        EXPECT_EQ(std::count(atStart.begin(), atStart.end(), c), expected ? 1 : 0)
            << c->name() << c->index();
    }
    // Lines and timers never get one; the hidden readouts only when first shown.
    EXPECT_FALSE(view::hasWidget(w.Line1(0)));
    // Labels lie under the rest; Tab walks down from the top.
    const std::vector<Control*> stack = view::stackingOrder(w.form());
    EXPECT_EQ(stack.back(), &w.txtDataIn);
    const auto at = [&](const Control& c) { return std::find(stack.begin(), stack.end(), &c); };
    EXPECT_LT(at(w.Label1(1)), at(w.CmdClrSet));
    EXPECT_LT(at(w.lblBitIndex(0)), at(w.LblBitInfo(0))); // the cell over its bit number
    EXPECT_FALSE(view::hasWidget(w.Timer1));
    EXPECT_EQ(std::count(atStart.begin(), atStart.end(), &w.LblBitSetBinary), 0);
    EXPECT_EQ(view::timersOf(w.form()), std::vector<Timer*>{&w.Timer1});
}

} // namespace
} // namespace pelmora::testing
