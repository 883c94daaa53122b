#include "view/layout.h"

#include <algorithm>
#include <cmath>

namespace pelmora::view {
namespace {

constexpr int TwipsPerInch = 1440;

} // namespace

int twipsToPixels(double twips, int dpi) {
    return static_cast<int>(std::lround(twips * dpi / TwipsPerInch));
}

PixelRect controlRect(const Control& c, int dpi) {
    const int x = twipsToPixels(c.left(), dpi), y = twipsToPixels(c.top(), dpi);
    return {x, y, twipsToPixels(double(c.left()) + c.width(), dpi) - x,
            twipsToPixels(double(c.top()) + c.height(), dpi) - y};
}

PixelRect lineBand(const Line& line, int dpi) {
    const int thickness =
        std::max(1, static_cast<int>(std::lround(double(line.lineWidth()) * dpi / BaseDpi)));
    const int x1 = twipsToPixels(std::min(line.x1(), line.x2()), dpi);
    const int x2 = twipsToPixels(std::max(line.x1(), line.x2()), dpi);
    const int y1 = twipsToPixels(std::min(line.y1(), line.y2()), dpi);
    const int y2 = twipsToPixels(std::max(line.y1(), line.y2()), dpi);
    return {x1, y1, std::max(x2 - x1, thickness), std::max(y2 - y1, thickness)};
}

PixelSize clientSize(const FormSettings& settings, int dpi) {
    return {twipsToPixels(settings.clientWidth, dpi), twipsToPixels(settings.clientHeight, dpi)};
}

int fontPixelHeight(float points, int dpi) {
    return static_cast<int>(std::lround(double(points) * dpi / 72.0));
}

} // namespace pelmora::view
