#include "toolkit/control.h"

#include "toolkit/form.h"

namespace pelmora {
namespace {

Colour defaultFore(ControlKind kind) {
    return kind == ControlKind::TextBox ? colours::WindowText : colours::ButtonText;
}
Colour defaultBack(ControlKind kind) {
    return kind == ControlKind::TextBox ? colours::WindowBackground : colours::ButtonFace;
}

} // namespace

Control::Control(Form& form, const ControlSpec& spec)
    : form_(&form), text_(spec.caption), kind_(spec.kind), name_(spec.name),
      index_(static_cast<std::int16_t>(spec.index)), left_(spec.left), top_(spec.top),
      width_(spec.width), height_(spec.height), fore_(spec.fore.value_or(defaultFore(spec.kind))),
      back_(spec.back.value_or(defaultBack(spec.kind))), font_(spec.font),
      alignment_(spec.alignment), border_(spec.border), visible_(spec.visible),
      tabIndex_(spec.tabIndex) {}

bool Control::canFocus() const {
    return kind_ == ControlKind::TextBox || kind_ == ControlKind::CheckBox ||
           kind_ == ControlKind::CommandButton;
}

void Control::changed(Property property) { form_->notifyChanged(*this, property); }

void Control::raise() {
    if (handler_) form_->dispatch(*this, handler_, index_ < 0 ? std::int16_t{0} : index_);
}

void Control::setLeft(float left) {
    if (left == left_) return;
    left_ = left;
    changed(Property::Left);
}

void Control::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    changed(Property::Visible);
}

void Control::setForeColour(Colour colour) {
    if (colour == fore_) return;
    fore_ = colour;
    changed(Property::ForeColour);
}

void Control::setBackColour(Colour colour) {
    if (colour == back_) return;
    back_ = colour;
    changed(Property::BackColour);
}

// Assigning into the held string reuses its storage: handlers that grow a caption digit
// by digit then cost no allocation per digit.
void Label::setCaption(TextView caption) {
    if (caption == text_) return;
    text_.assign(caption);
    changed(Property::Caption);
}

void TextBox::setText(TextView text) {
    if (text == text_) return;
    text_.assign(text);
    changed(Property::Text); // the screen shows the new text before the handler runs
    raise();
}

void CheckBox::setValue(std::int16_t value) {
    if (value == value_) return;
    value_ = value;
    changed(Property::Value);
    raise();
}

CommandButton::CommandButton(Form& form, const ControlSpec& spec)
    : Control(form, spec), isDefault_(spec.isDefault) {}

Line::Line(Form& form, const ControlSpec& spec)
    : Control(form, spec), x2_(spec.x2), y2_(spec.y2), lineWidth_(spec.lineWidth) {}

Timer::Timer(Form& form, const ControlSpec& spec) : Control(form, spec), interval_(spec.interval) {}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    changed(Property::Enabled);
}

void Timer::tick() {
    if (enabled_) raise();
}

} // namespace pelmora
