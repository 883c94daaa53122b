#include "view/look.h"

#include "view/layout.h"

namespace pelmora::view {
namespace {

const Text CjkFallback = u"WenQuanYi Zen Hei";
const Text KaiFace = u"AR PL KaitiM GB";

} // namespace

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

std::vector<Text> substituteFaces(TextView designFace) {
    if (designFace == fonts::SansSerif) return {u"Liberation Sans", u"DejaVu Sans", CjkFallback};
    if (designFace == fonts::Kai) return {KaiFace, CjkFallback};
    return {CjkFallback};
}

bool coversGb2312(TextView face) { return face == KaiFace || face == CjkFallback; }

MessageIcon messageIcon(int flags) {
    const int icon = (flags & 0x70) / 16; // the icon bits, 0 for none
    return icon <= 4 ? static_cast<MessageIcon>(icon) : MessageIcon::None;
}

} // namespace pelmora::view
