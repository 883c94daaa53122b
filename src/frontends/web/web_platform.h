#pragma once
// WebPlatform gives the core the page's modal message box (waited on until OK), the
// browser's time of day in the person's locale, and the page's live region, which speaks
// an action's result once the action's turn is over, as the view says. It draws none of
// the form.

#include "toolkit/platform.h"
#include "view/announcement.h"

namespace pelmora {

class WebPlatform final : public Platform {
public:
    void messageBox(const Text& prompt, int flags, const Text& title) override;
    Text timeOfDayText() override;
    void announce(const Text& text) override;
    // The turn that asked for an announcement is over: the live region says it now.
    void sayPending();

private:
    view::PendingAnnouncement pending_;
};

} // namespace pelmora
