#include "view/cell_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace pelmora::view {
namespace {

// The design's rows, by a control's top edge in twips, and the character row each lands on:
// a blank row between groups, the bit numbers two rows high.
struct RowBand {
    int fromTop, row, height;
};
constexpr std::array<RowBand, 12> RowBands{{
    {0, 2, 1},     // the first heading between its lines
    {500, 4, 1},   // entry, range, the three buttons
    {1000, 6, 2},  // bit numbers
    {1300, 8, 1},  // cells
    {1600, 9, 1},  // selection boxes
    {1900, 11, 1}, // field readouts
    {2500, 13, 1}, // the second heading
    {3000, 15, 2}, // composer bit numbers
    {3300, 17, 1}, // composer cells
    {3600, 18, 1}, // composer boxes
    {4000, 20, 1}, // composer readouts
    {4600, 23, 1}, // credit and clock
}};

const RowBand& bandAt(int top) {
    const auto after = std::find_if(RowBands.begin(), RowBands.end(),
                                    [top](const RowBand& band) { return band.fromTop > top; });
    return after == RowBands.begin() ? *after : *(after - 1);
}

// Where the controls wider than a bit go across: each caption gets its full width, so the
// command row takes 78 columns where the design's proportions would give it too few.
struct Span {
    std::string_view name;
    int index; // the array member, -1 for a plain control
    int column, width;
};
constexpr std::array<Span, 19> Spans{{
    {"Label5", 1, 36, 8},
    {"Label5", 0, 36, 8},
    {"Label1", 1, 1, 8},
    {"txtDataIn", -1, 10, 11},
    {"Label1", 0, 23, 10},
    {"txtSelectRang", -1, 34, 7},
    {"Command2", -1, 42, 10},
    {"Command3", -1, 53, 14},
    {"CmdClrSet", -1, 68, 11},
    {"Label4", 1, 1, 6},
    {"LblBitSelected", -1, 8, 36},
    {"Label4", 2, 46, 3},
    {"lblBitSelectedHex", -1, 50, 29},
    {"Label4", 0, 1, 6},
    {"TxtBitSetBinary", -1, 8, 36},
    {"Label4", 3, 46, 3},
    {"TxtBitSetHex", -1, 50, 29},
    {"Label2", -1, 0, 52},
    {"Label3", -1, 52, 28},
}};

// The bit rows step 300 twips a bit; two columns a bit put all 32 in 64 columns, centred on
// the screen: the middle of the rows (between bits 16 and 15) on column 40.
constexpr int BitPitchTwips = 300, BitRowsCentreTwips = 4922, CentreColumn = 40;
// Anything else scales: the client's 9930 twips over 80 columns.
constexpr double TwipsPerColumn = 9930.0 / CellGeometry::Columns;

int scaledColumn(double twips) {
    return std::clamp(static_cast<int>(std::lround(twips / TwipsPerColumn)), 0,
                      CellGeometry::Columns);
}

} // namespace

PixelRect CellGeometry::rect(const Control& control) const {
    const RowBand& band = bandAt(control.top());
    if (control.width() < BitPitchTwips) {
        const double centre = control.left() + control.width() / 2.0;
        const int column =
            CentreColumn +
            static_cast<int>(std::lround((centre - BitRowsCentreTwips) / (BitPitchTwips / 2)));
        // A box is drawn "[x]": its brackets fall on the columns between it and its
        // neighbours, which share them.
        if (control.kind() == ControlKind::CheckBox) return {column - 1, band.row, 3, 1};
        return {column, band.row, 1, band.height};
    }
    for (const Span& span : Spans)
        if (span.name == control.name() && span.index == control.index())
            return {span.column, band.row, span.width, 1};
    const int left = scaledColumn(control.left());
    return {left, band.row, std::max(1, scaledColumn(control.left() + control.width()) - left), 1};
}

PixelRect CellGeometry::band(const Line& line) const {
    const int left = scaledColumn(std::min(line.x1(), line.x2()));
    const int right = scaledColumn(std::max(line.x1(), line.x2()));
    return {left, bandAt(std::min(line.y1(), line.y2())).row, std::max(1, right - left), 1};
}

int terminalColour(Rgb c, int count) {
    if (count < 256) return (c.red > 127) | (c.green > 127) << 1 | (c.blue > 127) << 2;
    const auto step = [](int v) { return v < 48 ? 0 : v < 115 ? 1 : (v - 35) / 40; };
    const auto level = [](int n) { return n ? 55 + 40 * n : 0; };
    const auto distance = [c](int r, int g, int b) {
        return (r - c.red) * (r - c.red) + (g - c.green) * (g - c.green) +
               (b - c.blue) * (b - c.blue);
    };
    const int r = step(c.red), g = step(c.green), b = step(c.blue);
    const int grey = std::clamp(((c.red + c.green + c.blue) / 3 - 3) / 10, 0, 23),
              v = 8 + 10 * grey;
    return distance(level(r), level(g), level(b)) <= distance(v, v, v) ? 16 + 36 * r + 6 * g + b
                                                                       : 232 + grey;
}

} // namespace pelmora::view
