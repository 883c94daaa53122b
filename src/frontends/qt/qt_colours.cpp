#include "frontends/qt/qt_colours.h"

#include <optional>

namespace pelmora {
namespace {

// The palette role standing for a Windows system colour index, where one fits.
std::optional<QPalette::ColorRole> paletteRole(int index) {
    switch (index) {
    case 5: return QPalette::Base; // window (text box) background
    case 8: return QPalette::Text; // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Window; // button face, the dialog background
    case 16: return QPalette::Dark;   // button shadow
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;    // button highlight
    case 21: return QPalette::Shadow;   // 3-D dark shadow
    case 22: return QPalette::Midlight; // 3-D light
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return std::nullopt;
    }
}

QColor fromBgr(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

} // namespace

QColor resolveColourQt(Colour colour, const QPalette& palette) {
    if (!isSystemColour(colour)) return fromBgr(colour);
    const int index = systemColourIndex(colour);
    if (const auto role = paletteRole(index)) return palette.color(QPalette::Active, *role);
    if (const auto classic = classicSystemColour(index)) return fromBgr(*classic);
    return palette.color(QPalette::Active, QPalette::WindowText);
}

} // namespace pelmora
