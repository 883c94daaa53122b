// Twips-to-pixel placement of the Win32 window, checked against the design at the DPIs
// Windows offers (100 %, 125 %, 150 %, 200 %).

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "frontends/win32/win32_layout.h"
#include "toolkit/platform.h"

namespace pelmora::win32 {
namespace {

class SilentPlatform final : public Platform {
public:
    void messageBox(const Text&, int, const Text&) override {}
    Text timeOfDayText() override { return u"12:00:00"; }
};

struct Loaded {
    SilentPlatform platform;
    Main window{platform};
    Loaded() { window.load(); }
};

TEST(Win32Layout, ClientAreaAtEachDpi) {
    const FormSettings settings = Loaded().window.form().settings();
    const struct { int dpi; PixelSize size; } cases[] = {
        {96, {662, 341}}, {120, {828, 426}}, {144, {993, 512}}, {192, {1324, 682}}};
    for (const auto& c : cases) EXPECT_EQ(clientSize(settings, c.dpi), c.size) << c.dpi;
}

TEST(Win32Layout, CellsKeepAnEvenPitchAndTouchNothing) {
    Loaded loaded;
    for (int dpi : {96, 120, 144, 168, 192}) {
        for (int i = 1; i < 32; ++i) {
            const PixelRect right = controlRect(loaded.window.LblBitInfo(i - 1), dpi);
            const PixelRect left = controlRect(loaded.window.LblBitInfo(i), dpi);
            // 300 twips apart and 255 wide: a gap between every pair of cells, at most
            // one pixel of rounding either way.
            EXPECT_NEAR(right.x - left.x, 300.0 * dpi / 1440, 1.0) << dpi << " bit " << i;
            EXPECT_LT(left.x + left.width, right.x) << dpi << " bit " << i;
            EXPECT_EQ(left.y, right.y);
            EXPECT_EQ(left.height, right.height);
        }
    }
}

TEST(Win32Layout, DesignPlacesAt96Dpi) {
    Loaded loaded;
    Main& w = loaded.window;
    const struct { const Control* control; PixelRect rect; } cases[] = {
        {&w.BitCheck(0), {632, 112, 17, 17}},
        {&w.LblBitInfo(0), {632, 88, 17, 17}},   // moved onto its box by the load event
        {&w.LblBitInfo(31), {12, 88, 17, 17}},
        {&w.BitSetCheck(0), {632, 248, 13, 13}},
        {&w.BitSetCheck(31), {11, 248, 13, 13}}, // 9470 - 9300 = 170 twips
        {&w.txtDataIn, {64, 40, 153, 22}},
        {&w.Label3, {387, 320, 273, 20}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(controlRect(*c.control, 96), c.rect) << c.control->name() << c.control->index();
}

TEST(Win32Layout, GroovesAreTwoPixelBandsClippedByTheClient) {
    Loaded loaded;
    Main& w = loaded.window;
    // Shadow band directly above the window-coloured band: an etched groove.
    EXPECT_EQ(lineBand(w.Line1(3), 96), (PixelRect{0, 16, 267, 2}));
    EXPECT_EQ(lineBand(w.Line2(3), 96), (PixelRect{0, 18, 267, 2}));
    EXPECT_EQ(lineBand(w.Line1(1), 144), (PixelRect{600, 276, 400, 3}));
    // The right-hand lines run past the client width, as designed.
    const PixelRect right = lineBand(w.Line1(2), 96);
    EXPECT_GT(right.x + right.width, clientSize(w.form().settings(), 96).width);
}

TEST(Win32Layout, FontHeights) {
    const struct { float points; int dpi; int height; } cases[] = {
        {8.25f, 96, -11}, {9.75f, 96, -13}, {12, 96, -16}, {15.75f, 96, -21},
        {8.25f, 144, -17}, {12, 192, -32}};
    for (const auto& c : cases)
        EXPECT_EQ(fontPixelHeight(c.points, c.dpi), c.height) << c.points << "pt " << c.dpi;
}

} // namespace
} // namespace pelmora::win32
