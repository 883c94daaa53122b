#include "frontends/web/web_form_view.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>

#include "app/accessible_names.h"
#include "frontends/web/web_page.h"
#include "view/layout.h"

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

std::string cssColour(Colour colour) {
    if (isSystemColour(colour)) {
        const int index = systemColourIndex(colour);
        for (const SystemColour& s : CssSystemColours)
            if (s.index == index) return s.css;
        colour = classicSystemColour(index).value_or(colours::Black);
    }
    std::array<char, 8> hex{};
    std::snprintf(hex.data(), hex.size(), "#%02x%02x%02x", redOf(colour), greenOf(colour),
                  blueOf(colour));
    return hex.data();
}

// The page's faces: its subsets of the substitutes the Linux program uses, with the CJK
// face for every character the first lacks.
std::string cssFont(const Font& font) {
    std::string css = font.italic ? "italic " : "";
    css += font.bold ? "bold " : "";
    css += std::to_string(view::fontPixelHeight(font.points)) + "px ";
    css += font.face == fonts::Kai ? "pelmora-kai" : "pelmora-sans";
    return css + ", pelmora-hei";
}

const char* cssAlignment(Alignment a) {
    switch (a) {
    case Alignment::Right: return "right";
    case Alignment::Centre: return "center";
    case Alignment::Left: break;
    }
    return "left";
}

void setText(int element, const Text& text) { pelmora_text(element, text.data(), text.size()); }

void setRect(int element, const view::PixelRect& r) {
    pelmora_css(element, "left", (std::to_string(r.x) + "px").c_str());
    pelmora_css(element, "top", (std::to_string(r.y) + "px").c_str());
    pelmora_css(element, "width", (std::to_string(r.width) + "px").c_str());
    pelmora_css(element, "height", (std::to_string(r.height) + "px").c_str());
}

Text eventText() {
    Text text(pelmora_event_text(nullptr, 0), u'\0');
    pelmora_event_text(text.data(), text.size());
    return text;
}

} // namespace

WebFormView::WebFormView(Form& form, view::ViewPolicy& policy)
    : form_(form), policy_(policy), controls_(form.controls()), timers_(view::timersOf(form)) {
    const Text& caption = form_.settings().caption;
    pelmora_title(caption.data(), caption.size());
    const view::PixelSize size = view::clientSize(form_.settings());
    setRect(0, {0, 0, size.width, size.height});
    pelmora_css(0, "background", cssColour(colours::ButtonFace).c_str());
    pelmora_css(0, "font", cssFont(form_.settings().font).c_str());
    for (Control* control : controls_)
        if (control->kind() == ControlKind::Line) create(*control);
    for (Control* control : view::widgetsAtStart(form_)) create(*control);
    for (std::size_t i = 0; i < timers_.size(); ++i)
        pelmora_clock(static_cast<int>(i), timers_[i]->interval(), timers_[i]->enabled());
    applyOrders();
    if (const std::vector<Control*> order = form_.tabOrder(); !order.empty())
        pelmora_focus(elementOf(*order.front()));
    form_.setObserver(this);
}

WebFormView::~WebFormView() { form_.setObserver(nullptr); }

int WebFormView::elementOf(const Control& control) const {
    const auto it = elements_.find(&control);
    return it == elements_.end() ? 0 : it->second;
}

void WebFormView::create(Control& control) {
    const auto position = std::find(controls_.begin(), controls_.end(), &control);
    const int element = static_cast<int>(std::distance(controls_.begin(), position)) + 1;
    elements_.emplace(&control, element);
    switch (control.kind()) {
    case ControlKind::Label:
        pelmora_make(element, "div", "");
        setText(element, static_cast<Label&>(control).caption());
        if (control.border())
            pelmora_css(element, "border",
                        ("1px solid " + cssColour(colours::ButtonShadow)).c_str());
        break;
    case ControlKind::TextBox:
        pelmora_make(element, "input", "text");
        setText(element, static_cast<TextBox&>(control).text());
        break;
    case ControlKind::CheckBox:
        pelmora_make(element, "input", "checkbox");
        pelmora_checked(element, static_cast<CheckBox&>(control).value() != 0);
        break;
    case ControlKind::CommandButton:
        pelmora_make(element, "button", "");
        setText(element, static_cast<CommandButton&>(control).caption());
        break;
    case ControlKind::Line:
    case ControlKind::Timer: pelmora_make(element, "div", ""); break;
    }
    const std::string name =
        control.name() +
        (control.isArrayMember() ? "(" + std::to_string(control.index()) + ")" : "");
    pelmora_attribute(element, "data-name", name.c_str());
    if (const Text label = accessibleName(control); !label.empty()) {
        pelmora_attribute(element, "aria-label", toUtf8(label).c_str());
        // Named static text: a note carries its name and reads its caption as content.
        if (control.kind() == ControlKind::Label) pelmora_attribute(element, "role", "note");
    }
    if (control.kind() != ControlKind::Line)
        pelmora_css(element, "font", cssFont(control.font()).c_str());
    // A button centres its caption whatever its alignment, as on the desktop.
    if (control.kind() == ControlKind::Label || control.kind() == ControlKind::TextBox)
        pelmora_css(element, "text-align", cssAlignment(control.alignment()));
    place(control);
    applyColours(control);
    if (!control.visible()) pelmora_css(element, "display", "none");
}

void WebFormView::place(const Control& control) {
    if (const auto* line = dynamic_cast<const Line*>(&control))
        setRect(elementOf(control), view::lineBand(*line));
    else
        setRect(elementOf(control), view::controlRect(control));
}

void WebFormView::applyColours(const Control& control) {
    const int element = elementOf(control);
    const std::string fore = cssColour(control.foreColour());
    if (control.kind() == ControlKind::Line) {
        pelmora_css(element, "background", fore.c_str());
        return;
    }
    pelmora_css(element, "color", fore.c_str());
    // A check box shows no colour of its own behind its mark.
    if (control.kind() != ControlKind::CheckBox)
        pelmora_css(element, "background", cssColour(control.backColour()).c_str());
}

void WebFormView::applyOrders() {
    int layer = 0;
    for (Control* control : view::stackingOrder(form_))
        if (const int element = elementOf(*control))
            pelmora_css(element, "z-index", std::to_string(++layer).c_str());
    for (Control* control : form_.tabOrder())
        if (const int element = elementOf(*control)) pelmora_append(element);
}

void WebFormView::controlChanged(Control& control, Property property) {
    if (auto* timer = dynamic_cast<Timer*>(&control)) {
        const auto it = std::find(timers_.begin(), timers_.end(), timer);
        pelmora_clock(static_cast<int>(it - timers_.begin()), timer->interval(), timer->enabled());
        return;
    }
    const int element = elementOf(control);
    if (!element) {
        // First shown now: the element is made late, as if it had been there hidden.
        if (property == Property::Visible && control.visible() && view::hasWidget(control)) {
            create(control);
            applyOrders();
        }
        return;
    }
    const auto mirroring = policy_.mirroring();
    switch (property) {
    case Property::Caption: setText(element, static_cast<Label&>(control).caption()); break;
    case Property::Text: showText(static_cast<TextBox&>(control)); break;
    case Property::Value:
        pelmora_checked(element, static_cast<CheckBox&>(control).value() != 0);
        break;
    case Property::ForeColour:
    case Property::BackColour: applyColours(control); break;
    case Property::Left: place(control); break;
    case Property::Visible: pelmora_css(element, "display", control.visible() ? "" : "none"); break;
    case Property::Enabled: break;
    }
}

void WebFormView::showText(const TextBox& box) {
    const int element = elementOf(box);
    const auto caret = static_cast<std::size_t>(pelmora_caret(element));
    setText(element, box.text());
    pelmora_set_caret(element, static_cast<int>(view::caretAfterMirror(caret, box.text().size())));
}

void WebFormView::run() {
    for (;;) handleEvent(pelmora_next_event());
}

void WebFormView::handleEvent(int kind) {
    const int element = pelmora_event_element();
    Control* control = element > 0 && element <= static_cast<int>(controls_.size())
                           ? controls_[static_cast<std::size_t>(element - 1)]
                           : nullptr;
    switch (static_cast<web::PageEvent>(kind)) {
    case web::PageEvent::Edit:
        if (auto* box = dynamic_cast<TextBox*>(control))
            policy_.forward([box, text = eventText()] { box->setText(text); });
        break;
    case web::PageEvent::Click:
        if (auto* box = dynamic_cast<CheckBox*>(control)) {
            const std::int16_t value = pelmora_event_value() ? 1 : 0;
            policy_.forward([box, value] { box->setValue(value); });
        } else if (auto* button = dynamic_cast<CommandButton*>(control)) {
            policy_.forward([button] { button->click(); });
        }
        break;
    case web::PageEvent::Tick:
        if (element >= 0 && element < static_cast<int>(timers_.size()))
            policy_.tick(*timers_[static_cast<std::size_t>(element)]);
        break;
    case web::PageEvent::Enter: pressDefaultButton(control); break;
    }
}

void WebFormView::pressDefaultButton(Control* focused) {
    auto* button = dynamic_cast<CommandButton*>(focused);
    if (!button) button = form_.defaultButton();
    if (button) policy_.forward([button] { button->click(); });
}

} // namespace pelmora
