#include "frontends/web/web_markup.h"

#include "app/accessible_names.h"
#include "view/look.h"

namespace pelmora {

void ElementMarkup::escaped(const std::string& utf8) {
    for (const char c : utf8) {
        switch (c) {
        case '&': html_ += "&amp;"; break;
        case '<': html_ += "&lt;"; break;
        case '>': html_ += "&gt;"; break;
        case '"': html_ += "&quot;"; break;
        default: html_ += c;
        }
    }
}

void ElementMarkup::attribute(const char* name, const std::string& value) {
    html_ += ' ';
    html_ += name;
    html_ += "=\"";
    escaped(value);
    html_ += '"';
}

void ElementMarkup::add(const Control& control, int layer) {
    const ControlKind kind = control.kind();
    const bool input = kind == ControlKind::TextBox || kind == ControlKind::CheckBox;
    const char* tag = input ? "input" : kind == ControlKind::CommandButton ? "button" : "div";
    html_ += '<';
    html_ += tag;
    if (input) attribute("type", kind == ControlKind::TextBox ? "text" : "checkbox");
    attribute("style", css_.style(control, layer));
    if (const Text name = accessibleName(control); !name.empty()) {
        attribute("aria-label", toUtf8(name));
        // Named static text: a note carries its name and reads its caption as content.
        if (kind == ControlKind::Label) attribute("role", "note");
    }
    const std::string text = toUtf8(view::shownText(control));
    if (kind == ControlKind::TextBox) attribute("value", text);
    if (kind == ControlKind::CheckBox && static_cast<const CheckBox&>(control).value() != 0)
        html_ += " checked";
    html_ += '>';
    if (input) return;
    escaped(text);
    html_ += "</";
    html_ += tag;
    html_ += '>';
}

} // namespace pelmora
