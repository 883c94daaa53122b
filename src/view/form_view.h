#pragma once
// FormView shows a form through a FrontEnd and carries the person's actions back into the
// model: it watches the form, decides what every widget shows (widgets made when first
// visible, text and caret, ticks, resolved colours, fonts, rectangles, orders, the lines,
// the clocks, the first focus) and runs every action through ViewPolicy, so nothing it set
// comes back as the person's and no tick runs inside a handler. It is also the window's
// Platform: message boxes with the view's icon, the time text, announcements after the turn.
// It knows no toolkit.

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/platform.h"
#include "view/announcement.h"
#include "view/front_end.h"
#include "view/geometry.h"
#include "view/input.h"
#include "view/view_policy.h"

namespace pelmora::view {

// A design colour as painted: system colours take one fixed table (Windows' default
// scheme) on every front end, so no desktop or browser theme can merge two of the design's
// colours (a silver cell on a silver ground).
Rgb resolveColour(Colour colour);

class FormView final : public Platform, private FormObserver {
public:
    // The model takes the view as its Platform, so it is made after the view and gone before
    // it: the view never tells the form anything at its end.
    explicit FormView(FrontEnd& frontEnd);
    FormView(const FormView&) = delete;
    FormView& operator=(const FormView&) = delete;

    // Runs the form's load step before anything is shown; false once its error is reported.
    bool load(Form& form, const std::function<void()>& step);
    // Shows the loaded form: the window, the widgets visible now, the lines, the clocks, the
    // orders and the first focus. From then on every change of the form is mirrored.
    void show(std::unique_ptr<const Geometry> geometry = std::make_unique<PixelGeometry>());
    // Places and sizes everything again, in new units (a new DPI).
    void setGeometry(std::unique_ptr<const Geometry> geometry);

    // The person's actions, as the front end's widgets report them.
    void edited(WidgetId id, TextView text);            // a text box's new text
    void clicked(WidgetId id);                          // a click or Space on a box or button
    void enter(WidgetId focus, KeyModifiers modifiers); // Enter, where the focus is
    void tick(int clock);                               // a clock's interval is over
    void turnOver();                                    // after FrontEnd::callAfterTurn
    // Reports an error the front end caught itself, and ends the program.
    void fail(std::string_view what);

    // Platform: what the model asks of the machine.
    void messageBox(const Text& prompt, int flags, const Text& title) override;
    Text timeOfDayText() override;
    void announce(const Text& text) override;

    // Which widget shows a control (0: none yet), and the reverse.
    WidgetId widgetOf(const Control& control) const;
    Control* controlOf(WidgetId id) const;
    const Geometry& geometry() const { return *geometry_; }

private:
    void controlChanged(Control& control, Property property) override;
    void make(Control& control);
    void apply(Control& control, Property property);
    void showText(WidgetId id, const Control& control);
    void applyOrders();
    void paintBands();
    void layoutAll();

    FrontEnd& frontEnd_;
    Form* form_ = nullptr;
    std::optional<ViewPolicy> policy_;
    std::unique_ptr<const Geometry> geometry_;
    std::vector<Control*> controls_;                   // widget n shows controls_[n - 1]
    std::unordered_map<const Control*, WidgetId> ids_; // every change asks, so not a search
    std::vector<bool> made_;
    std::vector<Text> shown_; // what each text box shows, as the view set it or the person left it
    std::vector<Timer*> timers_;
    PendingAnnouncement pending_;
};

} // namespace pelmora::view
