#pragma once
// The form in character cells, for a terminal: every rectangle in columns and rows of an
// 80x24 screen, the top row left to the window's caption. It is a second layout of the same
// design rather than a scaling of the twips: the bit rows keep an even pitch of two columns,
// the bit numbers stand on end (tens above units, as bit-field diagrams write them), and each
// caption gets the cells its characters need, Chinese ones two a character. It draws nothing.

#include "view/front_end.h"
#include "view/geometry.h"

namespace pelmora::view {

class CellGeometry final : public Geometry {
public:
    static constexpr int Columns = 80, Rows = 24;

    PixelRect rect(const Control& control) const override;
    PixelRect band(const Line& line) const override;
    PixelSize client(const FormSettings&) const override { return {Columns, Rows}; }
    int fontHeight(const Font&) const override { return 1; }
};

// The terminal colour nearest to `colour` on a terminal with `count` colours: of xterm's cube
// and greys (16 to 255) where it has 256, since its first sixteen vary with the terminal's
// theme; else of the eight ANSI colours, one bit for each primary.
int terminalColour(Rgb colour, int count);

} // namespace pelmora::view
