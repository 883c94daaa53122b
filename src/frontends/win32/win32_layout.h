#pragma once
// Twips to pixels for the Win32 window, at whatever DPI the window is on. Every edge is
// rounded on its own, so neighbouring controls that touch in twips still touch in
// pixels and a row of cells keeps an even pitch. This header knows no Windows API, so
// the arithmetic is checked on any machine.

#include <algorithm>
#include <cmath>

#include "toolkit/control.h"
#include "toolkit/form.h"

namespace pelmora::win32 {

inline constexpr int TwipsPerInch = 1440;
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
inline int twipsToPixels(double twips, int dpi) {
    return static_cast<int>(std::lround(twips * dpi / TwipsPerInch));
}

// A length given in 96-dpi pixels (a line width) at `dpi`; never thinner than 1.
inline int scalePixels(int pixelsAt96, int dpi) {
    return std::max(1, static_cast<int>(std::lround(double(pixelsAt96) * dpi / BaseDpi)));
}

// Where a control sits in the client area.
inline PixelRect controlRect(const Control& c, int dpi) {
    const int x = twipsToPixels(c.left(), dpi), y = twipsToPixels(c.top(), dpi);
    return {x, y, twipsToPixels(double(c.left()) + c.width(), dpi) - x,
            twipsToPixels(double(c.top()) + c.height(), dpi) - y};
}

// The band a line covers: a horizontal or vertical stroke of its width, starting at its
// first point and running to its second (diagonals get their bounding box).
inline PixelRect lineBand(const Line& line, int dpi) {
    const int thickness = scalePixels(line.lineWidth(), dpi);
    const int x1 = twipsToPixels(std::min(line.x1(), line.x2()), dpi);
    const int x2 = twipsToPixels(std::max(line.x1(), line.x2()), dpi);
    const int y1 = twipsToPixels(std::min(line.y1(), line.y2()), dpi);
    const int y2 = twipsToPixels(std::max(line.y1(), line.y2()), dpi);
    return {x1, y1, std::max(x2 - x1, thickness), std::max(y2 - y1, thickness)};
}

// The client area the window asks for.
inline PixelSize clientSize(const FormSettings& settings, int dpi) {
    return {twipsToPixels(settings.clientWidth, dpi), twipsToPixels(settings.clientHeight, dpi)};
}

// A font's character height in pixels (the negative lfHeight CreateFontW wants).
inline int fontPixelHeight(float points, int dpi) {
    return -static_cast<int>(std::lround(double(points) * dpi / 72.0));
}

} // namespace pelmora::win32
