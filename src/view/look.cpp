#include "view/look.h"

#include "view/layout.h"

namespace pelmora::view {

Look lookOf(const Control& control, int dpi) {
    Look look{control.foreColour(), control.backColour(), std::nullopt,
              fontPixelHeight(control.font().points, dpi)};
    if (control.kind() == ControlKind::Label && control.border()) look.border = LabelBorderColour;
    return look;
}

Text shownText(const Control& control) {
    switch (control.kind()) {
    case ControlKind::Label: return static_cast<const Label&>(control).caption();
    case ControlKind::TextBox: return static_cast<const TextBox&>(control).text();
    case ControlKind::CommandButton: return static_cast<const CommandButton&>(control).caption();
    default: return Text();
    }
}

} // namespace pelmora::view
