#pragma once
// What the person's keys and clicks mean, decided once for every front end: what a click on
// a check box or a button does, the button Enter presses, and where the focus starts. It
// reads the model only; a front end finds the widget, runs the answer through
// ViewPolicy::forward and sends nothing itself.

#include <cstdint>

#include "toolkit/form.h"

namespace pelmora::view {

// A click (or Space) on a check box asks for the other state of what the model holds:
// unticked becomes ticked, anything else (ticked, or greyed) unticked. The model, not the widget,
// is asked, so a widget that toggled itself before telling the view can never put the two out of
// step; the widget then shows whatever the model ends with.
std::int16_t valueAfterClick(const CheckBox& box);

// A click (or Space) on `control`, as the model takes it: a check box gets
// valueAfterClick, a button runs its Click handler, anything else ignores it. FormView::clicked
// calls this for every click a front end reports, whatever kind of widget reported it.
void click(Control& control);

// The modifier keys held with a key.
struct KeyModifiers {
    bool shift = false, control = false, alt = false;
};

// The button Enter presses: the focused push button, as on Windows, else the form's
// default button; none when Shift, Ctrl or Alt is held, since those chords mean other
// things to other programs and a person holding one did not mean "Select". Keypad Enter
// is Enter. nullptr: Enter does nothing.
CommandButton* buttonForEnter(const Form& form, const Control* focus, KeyModifiers modifiers);

// Where the focus starts when the window opens: the first visible control in tab order
// (the data entry box). A hidden control cannot hold the focus on any toolkit, so one is
// passed over even where its widget exists. nullptr when nothing can take it.
Control* firstFocus(const Form& form);

} // namespace pelmora::view
