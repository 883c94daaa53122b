// What the view decides without the loop: where controls land in pixels at each DPI, how a
// widget looks, which faces stand in for the design's, the colours as painted, a message
// box's icon and the clock's text (the loop that applies these: form_view_test.cpp).
#include <gtest/gtest.h>

#include "recording_front_end.h"
#include "view/cell_geometry.h"
#include "view/clock_text.h"
#include "view/layout.h"

namespace pelmora::testing {
namespace {

using view::PixelRect;

class Layout : public ::testing::Test, public ShownWindow {};

TEST_F(Layout, ClientAreaAndFontHeightsAtEachDpi) {
    const struct {
        int dpi;
        view::PixelSize client;
        int fonts[4]; // 8.25, 9.75, 12 and 15.75 points
    } cases[] = {{96, {662, 341}, {11, 13, 16, 21}},
                 {120, {828, 426}, {14, 16, 20, 26}},
                 {144, {993, 512}, {17, 20, 24, 32}},
                 {192, {1324, 682}, {22, 26, 32, 42}}};
    for (const auto& c : cases) {
        EXPECT_EQ(view::clientSize(w.form().settings(), c.dpi), c.client) << c.dpi;
        const float points[] = {8.25f, 9.75f, 12, 15.75f};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(view::fontPixelHeight(points[i], c.dpi), c.fonts[i]) << points[i] << c.dpi;
    }
}

TEST_F(Layout, ControlsLandOnTheDesignsTwipsOverFifteen) {
    const std::pair<const Control*, PixelRect> cases[] = {
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
    for (const auto& [control, rect] : cases)
        EXPECT_EQ(view::controlRect(*control), rect) << control->name() << control->index();
}

TEST_F(Layout, CellsKeepAnEvenPitchAndTouchNothingAtAnyDpi) {
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

TEST_F(Layout, GroovesAreBandsOfTheLineWidthPaintedInTheLinesColour) {
    // Shadow band directly above the window-coloured band: an etched groove.
    EXPECT_EQ(view::lineBand(w.Line1(3)), (PixelRect{0, 16, 267, 2}));
    EXPECT_EQ(view::lineBand(w.Line2(3)), (PixelRect{0, 18, 267, 2}));
    EXPECT_EQ(view::lineBand(w.Line1(1), 144), (PixelRect{600, 276, 400, 3}));
    const PixelRect right = view::lineBand(w.Line1(2));
    EXPECT_GT(right.x + right.width, view::clientSize(w.form().settings()).width);
    // The client paints every visible line, and none hidden.
    const auto painted = [this](const Line& line, view::Rgb colour) {
        return std::count(screen.bands.begin(), screen.bands.end(),
                          view::PaintedBand{view::lineBand(line), colour});
    };
    EXPECT_EQ(painted(w.Line1(1), {160, 160, 160}), 1);
    w.Line2(3).setVisible(false);
    EXPECT_EQ(screen.bands.size(), 7u);
    EXPECT_EQ(painted(w.Line2(3), {255, 255, 255}), 0);
}

TEST_F(Layout, EveryWidgetTakesItsFontAndColoursAndFramedLabelsTheFrameColour) {
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

// System colours take one fixed table, Windows' default scheme; the rest are as designed.
TEST(ViewColours, AreOneFixedTableForSystemColoursTheRestAsDesigned) {
    const std::pair<Colour, view::Rgb> cases[] = {
        {colours::Red, {255, 0, 0}},
        {colours::LightBlue, {192, 192, 255}},
        {colours::ButtonFace, {240, 240, 240}},
        {colours::ButtonShadow, {160, 160, 160}},
        {colours::system(0), {200, 200, 200}},
        {colours::system(6), {100, 100, 100}},
        {colours::WindowBackground, {255, 255, 255}},
        {colours::system(30), {240, 240, 240}},
        {colours::system(31), {0, 0, 0}},
        {colours::system(99), {0, 0, 0}},
    };
    for (const auto& [design, painted] : cases)
        EXPECT_EQ(view::resolveColour(design), painted) << design;
}

TEST(ViewFaces, EveryDesignFaceEndsInTheFaceWithAllOfChinese) {
    const Text cjk = u"WenQuanYi Zen Hei";
    const std::pair<Text, std::vector<Text>> cases[] = {
        {fonts::SansSerif, {u"Liberation Sans", u"DejaVu Sans", cjk}},
        {fonts::Kai, {u"AR PL KaitiM GB", cjk}},
        {u"Courier New", {cjk}},
    };
    for (const auto& [design, faces] : cases) EXPECT_EQ(view::substituteFaces(design), faces);
    for (const Text face : {u"AR PL KaitiM GB", u"WenQuanYi Zen Hei"})
        EXPECT_TRUE(view::coversGb2312(face));
    for (const Text face : {u"Liberation Sans", u"DejaVu Sans", u""})
        EXPECT_FALSE(view::coversGb2312(face));
}

TEST(ViewMessageIcon, IsTheIconOfTheFlagsIconBitsOnly) {
    using enum view::MessageIcon;
    const std::pair<int, view::MessageIcon> cases[] = {
        {0, None},      {message_box::Critical, Stop},
        {16 | 1, Stop}, {32, Question},
        {48, Warning},  {64, Information},
        {80, None},     {112, None},
        {4 | 256, None}};
    for (const auto& [flags, icon] : cases) EXPECT_EQ(view::messageIcon(flags), icon) << flags;
}

TEST(ViewClockText, IsTheLocalesPatternInWindowsNotation) {
    const std::pair<view::LocalTime, const char16_t*> cases[] = {
        {{14, 5, 9, u"HH:mm:ss"}, u"14:05:09"},
        {{9, 5, 9, u"H:mm:ss"}, u"9:05:09"},
        {{0, 0, 0, u"h:mm:ss tt"}, u"12:00:00 AM"},
        {{12, 30, 0, u"hh:mm:ss t"}, u"12:30:00 P"},
        {{23, 59, 59, u"tt h:mm:ss", u"上午", u"下午"}, u"下午 11:59:59"},
        {{7, 8, 9, u"H'h'mm 'o''clock'"}, u"7h08 o'clock"},
    };
    for (const auto& [time, text] : cases)
        EXPECT_EQ(view::timeOfDayText(time), text) << toUtf8(text);
    // A terminal's locale gives its format as strftime's: fields translated, letters quoted,
    // a zone dropped.
    const std::pair<const char*, const char16_t*> strftimes[] = {
        {"%H:%M:%S", u"14:05:09"}, {"%r", u"02:05:09 PM"},      {"%l.%M %P", u"2.05 PM"},
        {"%Ih%M", u"02h05"},       {"%EH时%OM分", u"14时05分"}, {"%T %Z", u"14:05:09 "}};
    for (const auto& [format, text] : strftimes)
        EXPECT_EQ(view::timeOfDayText({14, 5, 9, view::patternOfStrftime(format)}), text) << format;
}

TEST(ViewTerminalColour, IsTheNearestOfTheCubeAndGreysOrOfEight) {
    const struct {
        view::Rgb colour;
        int of256, of8;
    } cases[] = {{{255, 0, 0}, 196, 1},     {{0, 0, 255}, 21, 4},      {{0, 0, 0}, 16, 0},
                 {{188, 188, 188}, 250, 7}, {{255, 255, 255}, 231, 7}, {{0, 0, 192}, 19, 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(view::terminalColour(c.colour, 256), c.of256) << c.of256;
        EXPECT_EQ(view::terminalColour(c.colour, 8), c.of8) << c.of256;
    }
}

} // namespace
} // namespace pelmora::testing
