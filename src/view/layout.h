#pragma once
// Where the window's controls land in pixels, for every front end. The design places
// them in twips; a front end draws at some DPI (96 for device-independent pixels, where
// one pixel is 15 twips). Every edge is rounded to the nearest pixel on its own, so
// controls that touch in twips still touch in pixels and a row of cells keeps an even
// pitch.

#include "toolkit/control.h"
#include "toolkit/form.h"

#include <vector>

namespace pelmora::view {

inline constexpr int BaseDpi = 96;

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

struct PixelSize {
    int width = 0, height = 0;
    bool operator==(const PixelSize&) const = default;
};

// A position in twips as a pixel position at `dpi`, rounded to the nearest pixel.
int twipsToPixels(double twips, int dpi = BaseDpi);

// Where a control sits in the client area.
PixelRect controlRect(const Control& control, int dpi = BaseDpi);

// The band a line covers: a stroke of its width (in 96-dpi pixels, never thinner than one
// pixel) running from its first point to its second; a diagonal gets its bounding box.
// A shadow line and a window-coloured line 30 twips below it meet as an etched groove.
PixelRect lineBand(const Line& line, int dpi = BaseDpi);

// The client area of the form.
PixelSize clientSize(const FormSettings& settings, int dpi = BaseDpi);

// A font's character height in pixels at `dpi`.
int fontPixelHeight(float points, int dpi = BaseDpi);

} // namespace pelmora::view
