#pragma once
// WebFormView shows a loaded Form as HTML elements of the page and carries the person's
// actions back. It translates the view policy (src/view) into elements and CSS; it
// decides nothing itself.
//
// Implemented, per property change (the contract in toolkit/form.h): Caption, Text (caret
// kept by the policy's rule), Value, ForeColour, BackColour, Left, Visible (an element
// made on first show, put into the tab and stacking orders), a Timer's Enabled (its
// clock starts or stops). Lines are plain elements under the others.
// Person to model: the page's queued edits, clicks, Enter and ticks, through the policy,
// one at a time, so nothing the view set comes back and no tick interrupts a handler;
// what a click or Enter means is the view's answer.

#include <string>
#include <unordered_map>
#include <vector>

#include "frontends/web/web_css.h"
#include "frontends/web/web_markup.h"
#include "toolkit/form.h"
#include "view/view_policy.h"

namespace pelmora {

class WebFormView final : public FormObserver {
public:
    WebFormView(Form& form, view::ViewPolicy& policy);
    ~WebFormView() override;
    WebFormView(const WebFormView&) = delete;
    WebFormView& operator=(const WebFormView&) = delete;

    // Carries out the page's event of `kind` (pelmora::web::PageEvent) through the policy.
    void handleEvent(int kind);

    void controlChanged(Control& control, Property property) override;

private:
    int elementOf(const Control& control) const; // 0 when it has none
    int create(Control& control);                // its element's markup; the number it will have
    void applyTabOrder();                        // for a widget made late
    void showText(const TextBox& box);

    Form& form_;
    view::ViewPolicy& policy_;
    std::vector<Control*> controls_; // element n shows controls_[n - 1]
    std::unordered_map<const Control*, int> elements_;
    std::unordered_map<const Control*, int> layers_; // from the view's stacking order
    std::vector<Timer*> timers_;
    CssWriter css_;
    ElementMarkup markup_;
};

} // namespace pelmora
