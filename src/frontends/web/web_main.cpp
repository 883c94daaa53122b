// The page's program: the window Main shown through FormView on HTML elements. Its loop
// waits (Asyncify) for the person's next action, a clock's tick or the end of a turn with
// something to announce, and hands each to the view, so the model and its view live on this
// stack for as long as the page is open. Where the load fails, the form index.html drew
// stays as it is, inert.
#include "app/main_window.h"
#include "frontends/web/web_front_end.h"
#include "view/form_view.h"

int main() {
    using pelmora::web::PageEvent;
    pelmora::WebFrontEnd page;
    pelmora::view::FormView view(page);
    pelmora::Main model(view);
    if (!view.load(model.form(), [&] { model.load(); })) return pelmora::view::FailureExitCode;
    view.show();
    pelmora::Text text; // an edit's text, its buffer kept from one edit to the next
    for (;;) {
        const auto kind = static_cast<PageEvent>(pelmora_next_event());
        const int element = pelmora_event_element(), held = pelmora_event_value();
        switch (kind) {
        case PageEvent::Edit:
            text.resize(pelmora_event_text(nullptr, 0));
            pelmora_event_text(text.data(), text.size());
            view.edited(element, text);
            break;
        case PageEvent::Click: view.clicked(element); break;
        case PageEvent::Tick: view.tick(element); break;
        case PageEvent::Enter:
            view.enter(element, {(held & 1) != 0, (held & 2) != 0, (held & 4) != 0});
            break;
        case PageEvent::TurnOver: view.turnOver(); break;
        }
    }
}
