#include "frontends/web/web_form_view.h"

#include <algorithm>
#include <iterator>

#include "frontends/web/web_page.h"
#include "view/input.h"
#include "view/look.h"

namespace pelmora {
namespace {

void setText(int element, const Text& text) { pelmora_text(element, text.data(), text.size()); }

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
    pelmora_style(0, css_.client(form_.settings()));
    // Lines lie under every widget, the widgets as the view stacks them.
    int layer = 0;
    for (Control* control : view::stackingOrder(form_)) layers_.emplace(control, ++layer);
    std::vector<int> made;
    for (Control* control : controls_)
        if (control->kind() == ControlKind::Line) made.push_back(create(*control));
    // Made in the view's order, focusable ones first in tab order, which is then the page's.
    for (Control* control : view::widgetsAtStart(form_)) made.push_back(create(*control));
    pelmora_add(markup_.html().c_str(), made.data(), made.size());
    markup_.clear();
    for (std::size_t i = 0; i < timers_.size(); ++i)
        pelmora_clock(static_cast<int>(i), timers_[i]->interval(), timers_[i]->enabled());
    if (const Control* first = view::firstFocus(form_)) pelmora_focus(elementOf(*first));
    form_.setObserver(this);
}

WebFormView::~WebFormView() { form_.setObserver(nullptr); }

int WebFormView::elementOf(const Control& control) const {
    const auto it = elements_.find(&control);
    return it == elements_.end() ? 0 : it->second;
}

int WebFormView::create(Control& control) {
    const auto position = std::find(controls_.begin(), controls_.end(), &control);
    const int element = static_cast<int>(std::distance(controls_.begin(), position)) + 1;
    elements_.emplace(&control, element);
    const auto layer = layers_.find(&control);
    markup_.add(control, layer == layers_.end() ? 0 : layer->second);
    return element;
}

void WebFormView::applyTabOrder() {
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
            const int element = create(control);
            pelmora_add(markup_.html().c_str(), &element, 1);
            markup_.clear();
            applyTabOrder();
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
    case Property::BackColour: pelmora_style(element, css_.colours(control)); break;
    case Property::Left: pelmora_style(element, css_.place(control)); break;
    case Property::Visible:
        pelmora_style(element, control.visible() ? "display:block" : "display:none");
        break;
    case Property::Enabled: break;
    }
}

void WebFormView::showText(const TextBox& box) {
    const int element = elementOf(box);
    Text shown(pelmora_value(element, nullptr, 0), u'\0');
    pelmora_value(element, shown.data(), shown.size());
    const auto caret = view::mirrorText(shown, box.text(), pelmora_caret(element));
    if (!caret) return;
    setText(element, box.text());
    pelmora_set_caret(element, *caret);
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
            policy_.forward([box] { box->setValue(view::valueAfterClick(*box)); });
            // The box ticked itself before the view was asked; it shows what the model holds.
            const auto mirroring = policy_.mirroring();
            pelmora_checked(element, box->value() != 0);
        } else if (auto* button = dynamic_cast<CommandButton*>(control)) {
            policy_.forward([button] { button->click(); });
        }
        break;
    case web::PageEvent::Tick:
        if (element >= 0 && element < static_cast<int>(timers_.size()))
            policy_.tick(*timers_[static_cast<std::size_t>(element)]);
        break;
    case web::PageEvent::Enter: {
        const int held = pelmora_event_value(); // Shift 1, Ctrl 2, Alt 4
        if (CommandButton* button = view::buttonForEnter(
                form_, control, {(held & 1) != 0, (held & 2) != 0, (held & 4) != 0}))
            policy_.forward([button] { button->click(); });
        break;
    }
    case web::PageEvent::Announce: break; // the platform's
    }
}

} // namespace pelmora
