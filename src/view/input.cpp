#include "view/input.h"

namespace pelmora::view {

std::int16_t valueAfterClick(const CheckBox& box) { return box.value() == 0 ? 1 : 0; }

CommandButton* buttonForEnter(const Form& form, const Control* focus, KeyModifiers modifiers) {
    if (modifiers.shift || modifiers.control || modifiers.alt) return nullptr;
    for (Control* c : form.tabOrder())
        if (c == focus && c->kind() == ControlKind::CommandButton)
            return static_cast<CommandButton*>(c);
    return form.defaultButton();
}

Control* firstFocus(const Form& form) {
    for (Control* c : form.tabOrder())
        if (c->visible()) return c;
    return nullptr;
}

} // namespace pelmora::view
