#pragma once
// A window's model: its own settings and the control arrays that hold its controls. It
// passes property changes on to one observer (the front end drawing it) and runs every
// event handler, counting how deeply handlers nest inside one another. It draws nothing.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/control_array.h"
#include "toolkit/errors.h"

namespace pelmora {

struct FormSettings {
    Text caption{};
    int clientWidth = 0, clientHeight = 0; // twips
    Font font{};
    Colour fore = colours::Black;
};

// What a front end must do when a property of a control changes. It is told after the
// model holds the new value and before any event the change raises, so the person sees
// the new state while the handler runs. Whatever it sets on a widget here is the model's
// doing, never the person's: it must not come back as an action (view::ViewPolicy).
//
//   Caption     a label's text (only labels change theirs; button captions are fixed).
//   Text        the text box's text; the caret follows view::caretAfterMirror.
//   Value       the check box's tick.
//   ForeColour, BackColour
//               the control's colours; for a Line, repaint the client under it.
//   Left        move the widget to view::controlRect; for a Line, repaint the client.
//   Visible     show or hide the widget, creating it when the control is shown for the
//               first time (view::hasWidget); for a Line, repaint the client.
//   Enabled     a Timer: start or stop its clock, ticking every interval() ms.
class FormObserver {
public:
    virtual ~FormObserver() = default;
    virtual void controlChanged(Control& control, Property property) = 0;
};

inline constexpr int TwipsPerPixel = 15; // at 96 dots per inch

class Form {
public:
    explicit Form(FormSettings settings) : settings_(std::move(settings)) {}
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const FormSettings& settings() const { return settings_; }

    // Creates a control from a design row, in the array of its name.
    Control& add(const ControlSpec& spec);

    // The array of `name` holding controls of type T; it must exist.
    template <class T> ControlArray<T>& array(const std::string& name) const {
        for (const auto& a : arrays_)
            if (a->name() == name)
                if (auto* typed = dynamic_cast<ControlArray<T>*>(a.get())) return *typed;
        throw RuntimeError(ErrorCode::SubscriptOutOfRange, "no control array " + name);
    }

    // Every control, in design order, members of an array by index.
    std::vector<Control*> controls() const;
    // The controls that take the focus, in tab order: by tab position, then members of
    // an array by index, so members created at run time follow their member 0.
    std::vector<Control*> tabOrder() const;
    CommandButton* defaultButton() const;

    void setObserver(FormObserver* observer) { observer_ = observer; }

    // Called once an action is over: after the outermost handler it raised has returned,
    // with every handler nested in it. `source` raised that outermost handler.
    void setActionEndHandler(std::function<void(const Control& source)> handler) {
        actionEnded_ = std::move(handler);
    }

    // How deeply handlers are nested right now, and the most seen so far.
    int eventDepth() const { return depth_; }
    int maxEventDepth() const { return maxDepth_; }

private:
    friend class Control;
    void notifyChanged(Control& control, Property property) {
        if (observer_) observer_->controlChanged(control, property);
    }
    void dispatch(const Control& source, const Handler& handler, std::int16_t index);

    FormSettings settings_;
    std::vector<std::unique_ptr<ControlArrayBase>> arrays_;
    FormObserver* observer_ = nullptr;
    std::function<void(const Control&)> actionEnded_;
    int depth_ = 0, maxDepth_ = 0;
};

} // namespace pelmora
