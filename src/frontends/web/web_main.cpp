// The page's program: the window Main drawn with HTML elements. It never returns: its
// loop waits (Asyncify) for the person's next action, a clock's tick or the end of a turn
// with something to announce, so the model, its view and the platform live on this stack
// for as long as the page is open.
#include "app/main_window.h"
#include "frontends/web/web_form_view.h"
#include "frontends/web/web_page.h"
#include "frontends/web/web_platform.h"

int main() {
    pelmora::WebPlatform platform;
    pelmora::Main model(platform);
    // A page cannot close itself: where the program would end, the page stops taking
    // actions and its clocks stop.
    pelmora::view::ViewPolicy policy(model.form(), platform, pelmora_end);
    if (!policy.runOrReport([&] { model.load(); })) pelmora_end(pelmora::view::FailureExitCode);
    pelmora::WebFormView view(model.form(), policy);
    for (;;) {
        const int kind = pelmora_next_event();
        if (kind == static_cast<int>(pelmora::web::PageEvent::Announce))
            platform.sayPending();
        else
            view.handleEvent(kind);
    }
}
