#pragma once
// The decisions every front end takes the same way, taken once here: which controls get a
// widget of their own and when, that a model change mirrored onto a widget never comes
// back as the person's action, that no timer tick runs while a handler is still running,
// where the caret goes after code sets a text, and how an error that escapes a handler is
// reported. It knows no toolkit: a front end asks it and translates the answer.

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/platform.h"
#include "toolkit/text.h"

namespace pelmora::view {

// Lines are painted by the client and timers drive a clock; every other control is drawn
// by a widget of its own.
bool hasWidget(const Control& control);

// A control's widget is made when the control is first visible: at start for those visible
// then, later for one shown later, never for one that is never shown (the hidden
// readouts), which keeps start-up short. These are the ones made at start, focusable ones
// first in tab order, so that a toolkit taking tab order from creation order gets it.
std::vector<Control*> widgetsAtStart(const Form& form);

// How widgets stack where they overlap (the data entry overlaps its caption, each bit
// number its cell, by a pixel), bottom first: labels in design order, a later one over an
// earlier one, as windowless labels lie; then the controls that take the focus, the first
// in tab order on top, since Windows walks the tab order down the stack.
std::vector<Control*> stackingOrder(const Form& form);

// The form's timers; a front end gives each a clock, running while the timer is enabled.
std::vector<Timer*> timersOf(const Form& form);

// After code sets a text box's text the caret keeps its offset from the start, or goes to
// the end when the text is now shorter, so it never points past the text. Where the new
// text shares its beginning with the old (a character removed at the end) typing goes on
// where it was; a box that code rebuilds from empty, as the composer does its two boxes,
// ends with the caret at the start.
std::size_t caretAfterMirror(std::size_t caret, std::size_t length);

// Mirroring the model's text onto a text box's widget that shows `shown`, with the caret
// at `caret`: nothing to do (nullopt) when the widget shows that text already, which is
// the person's own edit coming back, since setting it again would only move the caret and
// raise one more change; else the caret to put after setting it.
std::optional<std::size_t> mirrorText(TextView shown, TextView model, std::size_t caret);

// An error that escapes a handler is told in a stop-icon message box, titled with the
// form's caption; the program then ends with this exit code, as after an untrapped
// run-time error.
inline constexpr int FailureExitCode = 1;

class ViewPolicy {
public:
    // `quit` ends the front end's event loop with the given exit code.
    ViewPolicy(Form& form, Platform& platform, std::function<void(int)> quit);

    // While a Mirroring lives the view is setting widgets from the model; whatever those
    // widgets report meanwhile is its own doing and is not forwarded. A front end takes
    // it once per model change, around all it sets for that change.
    class Mirroring {
    public:
        explicit Mirroring(int& depth) : depth_(depth) { ++depth_; }
        ~Mirroring() { --depth_; }
        Mirroring(const Mirroring&) = delete;
        Mirroring& operator=(const Mirroring&) = delete;

    private:
        int& depth_;
    };
    [[nodiscard]] Mirroring mirroring() { return Mirroring(mirroring_); }
    bool isMirroring() const { return mirroring_ > 0; }

    // A person's action (an edit, a click, a key), run in the model unless it is the echo
    // of a mirrored change. An error that no handler traps is reported and ends the program.
    void forward(const std::function<void()>& action);

    // A tick of `timer`'s clock. Dropped while a handler runs (one may be waiting in a
    // message box); the next tick catches up.
    void tick(Timer& timer);

    // Runs `step` outside the event loop (the load event, before any window exists);
    // false when it failed, after the report.
    bool runOrReport(const std::function<void()>& step);

    // Reports an error the front end caught itself and ends the program.
    void fail(std::string_view what);

private:
    void report(std::string_view what);

    Form& form_;
    Platform& platform_;
    std::function<void(int)> quit_;
    int mirroring_ = 0;
};

} // namespace pelmora::view
