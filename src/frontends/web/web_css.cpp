#include "frontends/web/web_css.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "view/look.h"

namespace pelmora {
namespace {

// System colours the browser knows by a CSS name; the rest take their classic value.
struct SystemColour {
    int index;
    const char* css;
};
constexpr std::array<SystemColour, 4> CssSystemColours = {{
    {5, "Canvas"},      // window (text box) background
    {8, "CanvasText"},  // window text
    {15, "ButtonFace"}, // dialog background
    {18, "ButtonText"},
}};

const char* cssAlignment(Alignment a) {
    switch (a) {
    case Alignment::Right: return "right";
    case Alignment::Centre: return "center";
    case Alignment::Left: break;
    }
    return "left";
}

} // namespace

void CssWriter::piece(const char* text) { css_ += text; }

void CssWriter::piece(int number) {
    std::array<char, 12> digits{};
    const auto end = std::to_chars(digits.begin(), digits.end(), number).ptr;
    css_.append(digits.begin(), end);
}

template <class... Pieces> void CssWriter::add(Pieces... pieces) { (piece(pieces), ...); }

void CssWriter::addColour(Colour colour) {
    if (isSystemColour(colour)) {
        const int index = systemColourIndex(colour);
        for (const SystemColour& s : CssSystemColours)
            if (s.index == index) return add(s.css);
        colour = classicSystemColour(index).value_or(colours::Black);
    }
    add("rgb(", redOf(colour), ",", greenOf(colour), ",", blueOf(colour), ")");
}

// The page's faces: its subsets of the substitutes the Linux program uses, with the CJK
// face for every character the first lacks.
void CssWriter::addFont(const Font& font, int pixels) {
    add("font:", font.italic ? "italic " : "", font.bold ? "bold " : "", pixels, "px ",
        font.face == fonts::Kai ? "pelmora-kai" : "pelmora-sans", ", pelmora-hei;");
}

void CssWriter::addPlace(const Control& control) {
    const auto* line = dynamic_cast<const Line*>(&control);
    const view::PixelRect r = line ? view::lineBand(*line) : view::controlRect(control);
    add("left:", r.x, "px;top:", r.y, "px;width:", r.width, "px;height:", r.height, "px;");
}

void CssWriter::addColours(const Control& control) {
    if (control.kind() == ControlKind::Line) { // a line has the one colour
        css_ += "background:";
        addColour(control.foreColour());
        css_ += ";";
        return;
    }
    const view::Look look = view::lookOf(control, view::BaseDpi);
    css_ += "color:";
    addColour(look.fore);
    css_ += ";background:";
    addColour(look.back);
    css_ += ";";
}

const char* CssWriter::client(const FormSettings& settings) {
    css_.clear();
    const view::PixelSize size = view::clientSize(settings);
    add("width:", size.width, "px;height:", size.height, "px;background:");
    addColour(colours::ButtonFace);
    css_ += ";";
    addFont(settings.font, view::fontPixelHeight(settings.font.points));
    return css_.c_str();
}

const char* CssWriter::style(const Control& control, int layer) {
    css_.clear();
    add("z-index:", layer, ";");
    addPlace(control);
    addColours(control);
    if (!control.visible()) css_ += "display:none;";
    if (control.kind() == ControlKind::Line) return css_.c_str();
    const view::Look look = view::lookOf(control, view::BaseDpi);
    addFont(control.font(), look.fontPixels);
    // A button centres its caption whatever its alignment, as on the desktop.
    if (control.kind() == ControlKind::Label || control.kind() == ControlKind::TextBox)
        add("text-align:", cssAlignment(control.alignment()), ";");
    if (look.border) {
        css_ += "border:1px solid ";
        addColour(*look.border);
        css_ += ";";
    }
    return css_.c_str();
}

const char* CssWriter::place(const Control& control) {
    css_.clear();
    addPlace(control);
    return css_.c_str();
}

const char* CssWriter::colours(const Control& control) {
    css_.clear();
    addColours(control);
    return css_.c_str();
}

} // namespace pelmora
