#include "view/form_view.h"

#include <algorithm>

#include "app/accessible_names.h"

namespace pelmora::view {
namespace {

WidgetKind widgetKind(const Control& control) {
    switch (control.kind()) {
    case ControlKind::TextBox: return WidgetKind::TextBox;
    case ControlKind::CheckBox: return WidgetKind::CheckBox;
    case ControlKind::CommandButton: return WidgetKind::Button;
    default: return WidgetKind::Label;
    }
}

} // namespace

Rgb resolveColour(Colour colour) {
    if (isSystemColour(colour))
        colour = classicSystemColour(systemColourIndex(colour)).value_or(colours::Black);
    return {redOf(colour), greenOf(colour), blueOf(colour)};
}

FormView::FormView(FrontEnd& frontEnd) : frontEnd_(frontEnd) {}

bool FormView::load(Form& form, const std::function<void()>& step) {
    form_ = &form;
    policy_.emplace(form, *this, [this](int code) { frontEnd_.quit(code); });
    return policy_->runOrReport(step);
}

void FormView::show(std::unique_ptr<const Geometry> geometry) {
    // The load step has made the form's run-time members: the form is complete now.
    controls_ = form_->controls();
    ids_.clear();
    for (std::size_t i = 0; i < controls_.size(); ++i)
        ids_.emplace(controls_[i], static_cast<WidgetId>(i) + 1);
    made_.assign(controls_.size(), false);
    shown_.assign(controls_.size(), Text());
    timers_ = timersOf(*form_);
    geometry_ = std::move(geometry);
    const FormSettings& settings = form_->settings();
    frontEnd_.setWindow(settings.caption, geometry_->client(settings),
                        resolveColour(colours::ButtonFace));
    paintBands();
    for (Control* control : widgetsAtStart(*form_)) make(*control);
    applyOrders();
    for (std::size_t i = 0; i < timers_.size(); ++i)
        frontEnd_.setClock(static_cast<int>(i), timers_[i]->interval(), timers_[i]->enabled());
    if (const Control* first = firstFocus(*form_)) frontEnd_.focus(widgetOf(*first));
    form_->setObserver(this);
}

void FormView::setGeometry(std::unique_ptr<const Geometry> geometry) {
    geometry_ = std::move(geometry);
    const FormSettings& settings = form_->settings();
    frontEnd_.setWindow(settings.caption, geometry_->client(settings),
                        resolveColour(colours::ButtonFace));
    paintBands();
    for (Control* control : controls_)
        if (const WidgetId id = widgetOf(*control)) {
            frontEnd_.place(id, geometry_->rect(*control));
            frontEnd_.setFont(id, control->font(), geometry_->fontHeight(control->font()));
        }
}

WidgetId FormView::widgetOf(const Control& control) const {
    const auto it = ids_.find(&control);
    return it != ids_.end() && made_[static_cast<std::size_t>(it->second - 1)] ? it->second : 0;
}

Control* FormView::controlOf(WidgetId id) const {
    if (id < 1 || id > static_cast<WidgetId>(controls_.size())) return nullptr;
    return made_[static_cast<std::size_t>(id - 1)] ? controls_[static_cast<std::size_t>(id - 1)]
                                                   : nullptr;
}

void FormView::make(Control& control) {
    const WidgetId id = ids_.at(&control);
    made_[static_cast<std::size_t>(id - 1)] = true;
    const Look look = lookOf(control, BaseDpi);
    WidgetSpec spec;
    spec.kind = widgetKind(control);
    spec.name = widgetName(control);
    spec.accessibleName = accessibleName(control);
    spec.alignment = control.alignment();
    if (look.border) spec.border = resolveColour(*look.border);
    if (const auto* button = dynamic_cast<const CommandButton*>(&control))
        spec.isDefault = button->isDefault();
    const auto mirroring = policy_->mirroring();
    frontEnd_.make(id, spec);
    frontEnd_.place(id, geometry_->rect(control));
    frontEnd_.setFont(id, control.font(), geometry_->fontHeight(control.font()));
    frontEnd_.setColours(id, resolveColour(look.fore), resolveColour(look.back));
    if (control.kind() == ControlKind::CheckBox)
        frontEnd_.setTicked(id, static_cast<const CheckBox&>(control).value() != 0);
    else
        frontEnd_.showText(id, shown_[static_cast<std::size_t>(id - 1)] = shownText(control), 0);
    frontEnd_.setVisible(id, control.visible());
}

void FormView::controlChanged(Control& control, Property property) {
    if (control.kind() == ControlKind::Line) return paintBands();
    if (auto* timer = dynamic_cast<Timer*>(&control)) {
        const auto clock = std::find(timers_.begin(), timers_.end(), timer) - timers_.begin();
        return frontEnd_.setClock(static_cast<int>(clock), timer->interval(), timer->enabled());
    }
    if (!widgetOf(control)) {
        if (!makesWidget(control, property)) return;
        make(control); // first shown now: made late, as if it had been there hidden
        return applyOrders();
    }
    apply(control, property);
}

void FormView::apply(Control& control, Property property) {
    const WidgetId id = widgetOf(control);
    const auto mirroring = policy_->mirroring();
    switch (property) {
    case Property::Caption:
    case Property::Text: showText(id, control); break;
    case Property::Value:
        frontEnd_.setTicked(id, static_cast<const CheckBox&>(control).value() != 0);
        break;
    case Property::ForeColour:
    case Property::BackColour: {
        const Look look = lookOf(control, BaseDpi);
        frontEnd_.setColours(id, resolveColour(look.fore), resolveColour(look.back));
        break;
    }
    case Property::Left: frontEnd_.place(id, geometry_->rect(control)); break;
    case Property::Visible: frontEnd_.setVisible(id, control.visible()); break;
    case Property::Enabled: break;
    }
}

void FormView::showText(WidgetId id, const Control& control) {
    Text& shown = shown_[static_cast<std::size_t>(id - 1)];
    const Text text = shownText(control);
    if (control.kind() != ControlKind::TextBox) {
        frontEnd_.showText(id, shown = text, 0);
        return;
    }
    const auto caret = mirrorText(shown, text, frontEnd_.caret(id));
    if (!caret) return; // the person's own edit, shown already
    frontEnd_.showText(id, shown = text, *caret);
}

void FormView::applyOrders() {
    std::vector<WidgetId> tab, bottomUp;
    for (const Control* control : form_->tabOrder())
        if (const WidgetId id = widgetOf(*control)) tab.push_back(id);
    for (const Control* control : stackingOrder(*form_))
        if (const WidgetId id = widgetOf(*control)) bottomUp.push_back(id);
    frontEnd_.setOrders(tab, bottomUp);
}

void FormView::paintBands() {
    std::vector<PaintedBand> bands;
    for (const Control* control : controls_)
        if (const auto* line = dynamic_cast<const Line*>(control); line && line->visible())
            bands.push_back({geometry_->band(*line), resolveColour(line->foreColour())});
    frontEnd_.paintBands(bands);
}

void FormView::edited(WidgetId id, TextView text) {
    auto* box = dynamic_cast<TextBox*>(controlOf(id));
    if (!box || policy_->isMirroring()) return;
    shown_[static_cast<std::size_t>(id - 1)] = Text(text);
    policy_->forward([box, &text] { box->setText(text); });
}

void FormView::clicked(WidgetId id) {
    // A widget that ticked itself before telling the view is set again by the change the
    // click makes in the model, so it ends showing what the model holds.
    if (Control* control = controlOf(id); control && !policy_->isMirroring())
        policy_->forward([control] { click(*control); });
}

void FormView::enter(WidgetId focus, KeyModifiers modifiers) {
    if (CommandButton* button = buttonForEnter(*form_, controlOf(focus), modifiers))
        policy_->forward([button] { button->click(); });
}

void FormView::tick(int clock) {
    if (clock >= 0 && clock < static_cast<int>(timers_.size()))
        policy_->tick(*timers_[static_cast<std::size_t>(clock)]);
}

void FormView::turnOver() {
    if (const Text text = pending_.take(); !text.empty()) frontEnd_.announce(text);
}

void FormView::fail(std::string_view what) { policy_->fail(what); }

void FormView::messageBox(const Text& prompt, int flags, const Text& title) {
    frontEnd_.messageBox(prompt, messageIcon(flags), title);
}

Text FormView::timeOfDayText() { return view::timeOfDayText(frontEnd_.localTime()); }

void FormView::announce(const Text& text) {
    if (pending_.hold(text)) frontEnd_.callAfterTurn();
}

} // namespace pelmora::view
