#pragma once
// What the window needs from the machine it runs on beyond its controls: a modal message
// box, the time of day as text, and a word to the person's screen reader. Front ends
// implement it with their toolkit; tests implement it with a recording stand-in.

#include "toolkit/text.h"

namespace pelmora {

namespace message_box {
inline constexpr int OkOnly = 0;
inline constexpr int Critical = 16; // stop icon
} // namespace message_box

class Platform {
public:
    virtual ~Platform() = default;
    // Shows a modal message box and returns when the person has closed it.
    virtual void messageBox(const Text& prompt, int flags, const Text& title) = 0;
    // The local time of day in the person's format, with no date.
    virtual Text timeOfDayText() = 0;
    // Has a screen reader, if one runs, say `text` without moving the focus and without
    // changing anything on the screen.
    virtual void announce(const Text& text) = 0;
};

} // namespace pelmora
