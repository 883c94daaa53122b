#pragma once
// WebPlatform gives the core the page's modal message box (waited on until OK), the
// browser's time of day in the person's locale, and the page's live region. It holds no
// state and draws none of the form.

#include "toolkit/platform.h"

namespace pelmora {

class WebPlatform final : public Platform {
public:
    void messageBox(const Text& prompt, int flags, const Text& title) override;
    Text timeOfDayText() override;
    void announce(const Text& text) override;
};

} // namespace pelmora
