#include "toolkit/form.h"

#include <algorithm>

namespace pelmora {
namespace {

template <class T>
Control& addTo(std::vector<std::unique_ptr<ControlArrayBase>>& arrays, Form& form,
               const ControlSpec& spec) {
    ControlArray<T>* target = nullptr;
    for (const auto& a : arrays)
        if (a->name() == spec.name) target = dynamic_cast<ControlArray<T>*>(a.get());
    if (!target) {
        auto created = std::make_unique<ControlArray<T>>(spec.name, spec.index >= 0);
        target = created.get();
        arrays.push_back(std::move(created));
    }
    if (target->contains(spec.index) || target->isArray() != (spec.index >= 0))
        throw RuntimeError(ErrorCode::SubscriptOutOfRange, "duplicate control " + spec.name);
    return target->add(std::make_unique<T>(form, spec));
}

} // namespace

Control& Form::add(const ControlSpec& spec) {
    switch (spec.kind) {
    case ControlKind::Label: return addTo<Label>(arrays_, *this, spec);
    case ControlKind::TextBox: return addTo<TextBox>(arrays_, *this, spec);
    case ControlKind::CheckBox: return addTo<CheckBox>(arrays_, *this, spec);
    case ControlKind::CommandButton: return addTo<CommandButton>(arrays_, *this, spec);
    case ControlKind::Line: return addTo<Line>(arrays_, *this, spec);
    case ControlKind::Timer: return addTo<Timer>(arrays_, *this, spec);
    }
    throw RuntimeError(ErrorCode::TypeMismatch, "unknown control kind");
}

std::vector<Control*> Form::controls() const {
    std::vector<Control*> out;
    for (const auto& a : arrays_)
        for (Control* c : a->members()) out.push_back(c);
    return out;
}

std::vector<Control*> Form::tabOrder() const {
    std::vector<Control*> out;
    for (Control* c : controls())
        if (c->canFocus() && c->tabIndex() >= 0) out.push_back(c);
    std::stable_sort(out.begin(), out.end(), [](const Control* a, const Control* b) {
        if (a->tabIndex() != b->tabIndex()) return a->tabIndex() < b->tabIndex();
        return a->index() < b->index();
    });
    return out;
}

CommandButton* Form::defaultButton() const {
    for (Control* c : controls())
        if (auto* button = dynamic_cast<CommandButton*>(c); button && button->isDefault())
            return button;
    return nullptr;
}

void Form::dispatch(const Control& source, const Handler& handler, std::int16_t index) {
    {
        struct Depth {
            int& depth;
            explicit Depth(int& d, int& max) : depth(d) { max = std::max(max, ++depth); }
            ~Depth() { --depth; }
        } guard(depth_, maxDepth_);
        handler(index);
    }
    if (depth_ == 0 && actionEnded_) actionEnded_(source);
}

} // namespace pelmora
