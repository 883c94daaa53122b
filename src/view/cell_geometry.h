#pragma once
// The form in character cells, for a terminal: every rectangle in columns and rows of an
// 80x24 screen, the top row left to the window's caption. It is a second layout of the same
// design rather than a scaling of the twips: the bit rows keep an even pitch of two columns,
// the bit numbers stand on end (tens above units, as bit-field diagrams write them), and each
// caption gets the cells its characters need, Chinese ones two a character. It draws nothing.

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

} // namespace pelmora::view
