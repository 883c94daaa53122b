#include "frontends/web/web_platform.h"

#include <algorithm>

#include "frontends/web/web_page.h"

namespace pelmora {

void WebPlatform::messageBox(const Text& prompt, int flags, const Text& title) {
    pelmora_message_box(prompt.data(), prompt.size(), flags, title.data(), title.size());
}

Text WebPlatform::timeOfDayText() {
    Text text(32, u'\0');
    text.resize(std::min(pelmora_time_of_day(text.data(), text.size()), text.size()));
    return text;
}

void WebPlatform::announce(const Text& text) {
    if (pending_.hold(text)) pelmora_after_turn();
}

void WebPlatform::sayPending() {
    const Text text = pending_.take();
    if (!text.empty()) pelmora_announce(text.data(), text.size());
}

} // namespace pelmora
